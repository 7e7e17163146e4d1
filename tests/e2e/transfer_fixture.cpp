// Writes the configurations the transfer end-to-end tests download: every parameter the
// protocol carries set away from its default, commands of each kind interleaved over two nodes,
// and mapping addresses from the product's own calculation so the pre-download checks pass.

#include "../support/fixed_cycle_answer.h"
#include "mapping/mapping_calculation.h"
#include "mapping/predownload_checks.h"
#include "model/archive.h"
#include "model/atomic_file.h"
#include "model/config_file.h"
#include "model/configuration.h"

#include <cstdio>
#include <string>

namespace {

using namespace torvane;

struct Command {
    const char* type;
    const char* node;
    const char* index; // SDO
    const char* sub;   // SDO
    const char* cobId; // PDO
    const char* bytes;
};

void addCommands(GatewayConfiguration& cfg, std::initializer_list<Command> commands) {
    CONFIG& c = cfg.Config;
    for (const Command& k : commands) {
        INSTRUCTION& ins = c.Instructions[static_cast<std::size_t>(c.InstructionCount++)];
        ins.InstructionType = k.type;
        ins.NodeAddress = k.node;
        ins.Index = k.index;
        ins.SubIndex = k.sub;
        ins.CobId = k.cobId;
        ins.Bytes = k.bytes;
        ins.Description = "e2e";
        for (int n = 0; n < c.NodeCount; ++n) {
            if (c.Nodes[static_cast<std::size_t>(n)].NodeAddress == k.node) {
                ins.NodeIndex = cfg.isMaster() ? n + 1 : 0;
            }
        }
    }
}

GatewayConfiguration master(bool newFormat) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    CONFIG& c = cfg.Config;
    c.NMT = "Enable";
    if (newFormat) {
        cfg.Fieldbus.InportNum = "96";
        c.SlaveAddress = "3";
        c.BuadRate = "125K";
        c.SDOTimeout = "1000";
        c.TPDOTimeout = "300";
        c.DelayStart = "500";
        c.SYNC = "20";
        c.ControlStatus = "Enable";
        c.ErrorControl = "100";
        c.RPDOCycle = "50";
        c.OutputProcessing = "Clear";
        c.SDOCycle = "20";
        c.SDOConcurrent = "Disable";
        c.SDORetries = "3";
        c.SDOPollDelay = "250";
    } else {
        // The compatible format carries these in one byte each.
        cfg.Fieldbus.InportNum = "112";
        c.SlaveAddress = "100";
        c.BuadRate = "500K";
        c.SDOTimeout = "150";
        c.TPDOTimeout = "20";
        c.DelayStart = "50";
        c.SYNC = "10";
    }
    c.NodeCount = 2;
    c.Nodes[0] = {"5", "Pump"};
    c.Nodes[1] = {"9", "Valve"};
    addCommands(cfg, {
                         {"1", "5", "24576", "1", "", "2"},
                         {"3", "5", "", "", "389", "8"},
                         {"2", "9", "8193", "3", "", "4"},
                         {"4", "9", "", "", "521", "8"},
                         {"1", "9", "4096", "0", "", "4"},
                         {"3", "9", "", "", "649", "3"},
                         {"4", "5", "", "", "517", "2"},
                         {"2", "5", "25088", "255", "", "1"},
                     });
    return cfg;
}

GatewayConfiguration slave() {
    GatewayConfiguration cfg = newConfiguration(kCanopenSlave);
    CONFIG& c = cfg.Config;
    cfg.Fieldbus.InportNum = "48";
    c.SlaveBaudRate = "1M";
    c.SlaveNodeAddress = "12";
    c.RPDOTimeout = "30";
    c.SlaveDelayStart = "200";
    addCommands(cfg, {
                         {"3", "12", "", "", "396", "8"},
                         {"4", "12", "", "", "524", "8"},
                         {"3", "12", "", "", "652", "4"},
                         {"4", "12", "", "", "780", "2"},
                     });
    return cfg;
}

// 85 one-byte SDO commands on node 5: a download sends the first 84.
GatewayConfiguration eightyFive() {
    GatewayConfiguration cfg = master(true);
    CONFIG& c = cfg.Config;
    c.InstructionCount = 0;
    c.NodeCount = 1;
    for (int i = 0; i < 85; ++i) {
        addCommands(cfg, {{i < 43 ? "1" : "2", "5", "8192", "1", "", "1"}});
        c.Instructions[static_cast<std::size_t>(i)].SubIndex = std::to_string(i + 1);
    }
    return cfg;
}

// The archive of an earlier program version (edition 220): the edition-500 archive without the
// three texts edition 410 added and the three edition 500 added behind the first nine.
bool writeEdition220(const GatewayConfiguration& cfg, const std::string& path, Message& error) {
    std::string b = writeArchive(cfg);
    std::size_t p = b.find("CONFIG");
    if (p == std::string::npos) {
        error = Message::plain("no CONFIG header");
        return false;
    }
    p += 6;
    const std::uint32_t edition = 220;
    for (int i = 0; i < 4; ++i) {
        b[p + static_cast<std::size_t>(i)] = static_cast<char>((edition >> (8 * i)) & 0xFF);
    }
    p += 4;
    // Every text here is shorter than 255 bytes: one length byte, then the text.
    auto textEnd = [&](std::size_t at) { return at + 1 + static_cast<unsigned char>(b[at]); };
    for (int i = 0; i < 9; ++i) {
        p = textEnd(p);
    }
    std::size_t q = p;
    for (int i = 0; i < 3; ++i) {
        q = textEnd(q);
    }
    b.erase(p, q - p); // RPDOCycle, OutputProcessing, SDOCycle
    p = textEnd(p);    // ErrorControl stays
    q = p;
    for (int i = 0; i < 3; ++i) {
        q = textEnd(q);
    }
    b.erase(p, q - p); // SDOConcurrent, SDORetries, SDOPollDelay
    return writeFileAtomically(path, b, error);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: transfer_fixture compatible|new|slave|edition220|nmt-yes|"
                             "slave-unmapped|master85 OUT\n");
        return 2;
    }
    const std::string variant = argv[1];
    GatewayConfiguration cfg;
    if (variant == "compatible" || variant == "edition220") {
        cfg = master(false);
    } else if (variant == "new") {
        cfg = master(true);
    } else if (variant == "slave" || variant == "slave-unmapped") {
        cfg = slave();
    } else if (variant == "nmt-yes") {
        cfg = master(true);
        cfg.Config.NMT = "Yes";
    } else if (variant == "master85") {
        cfg = eightyFive();
    } else {
        std::fprintf(stderr, "transfer_fixture: unknown variant %s\n", argv[1]);
        return 2;
    }
    if (!calculateMapping(cfg).fits) {
        std::fprintf(stderr, "transfer_fixture: %s does not fit its buffers\n", argv[1]);
        return 1;
    }
    FixedCycleAnswer ok(true);
    if (cfg.isMaster()) {
        const CheckResult check = runPreDownloadChecks(cfg, ok);
        if (!check.passed()) {
            std::fprintf(stderr, "transfer_fixture: %s fails the checks: %s\n", argv[1],
                         check.message.english().c_str());
            return 1;
        }
    }
    if (variant == "slave-unmapped") {
        // The slave download calculates them itself.
        for (INSTRUCTION& ins : usedCommands(cfg.Config)) {
            ins.MappingAddress = "-1";
        }
    }
    Message error;
    const bool saved = variant == "edition220" ? writeEdition220(cfg, argv[2], error)
                                               : saveConfigurationFile(argv[2], cfg, error);
    if (!saved) {
        std::fprintf(stderr, "transfer_fixture: %s\n", error.english().c_str());
        return 1;
    }
    return 0;
}
