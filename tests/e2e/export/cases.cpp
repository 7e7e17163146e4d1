// Writes the configurations the export tests run the command line on, one archive per case,
// and a JSON file per slave case listing its PDOs for the EDS reader check.
#include "model/config_file.h"
#include "model/configuration.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace torvane;

struct Command {
    const char* type;
    const char* node;
    const char* index;
    const char* sub;
    const char* cob;
    const char* mapping;
    const char* bytes;
    const char* description;
};

GatewayConfiguration make(int type, const std::vector<Command>& commands,
                          const std::function<void(GatewayConfiguration&)>& tweak = {}) {
    GatewayConfiguration cfg = newConfiguration(type);
    int i = 0;
    for (const Command& c : commands) {
        INSTRUCTION& ins = cfg.Config.Instructions[static_cast<std::size_t>(i++)];
        ins = {c.node, c.type, c.index, c.sub, c.cob, c.mapping, c.bytes, c.description, "", 1};
    }
    cfg.Config.InstructionCount = i;
    if (type == kCanopenMaster && i > 0) {
        cfg.Config.NodeCount = 2;
        cfg.Config.Nodes[0] = {"5", "Drive"};
        cfg.Config.Nodes[1] = {"6", "Valve"};
    }
    if (tweak) {
        tweak(cfg);
    }
    return cfg;
}

std::vector<Command> manyPdos(int tx, int rx) {
    std::vector<Command> out;
    static std::vector<std::string> texts; // keeps the generated texts alive
    texts.reserve(4096);
    for (int k = 0; k < tx + rx; ++k) {
        const bool t = k < tx;
        texts.push_back(std::to_string((t ? 0x280 : 0x300) + k + 2));
        const char* cob = texts.back().c_str();
        texts.push_back(std::to_string(k % 8 + 1));
        const char* bytes = texts.back().c_str();
        out.push_back({t ? "3" : "4", "1", "", "", cob, "0", bytes, "pdo"});
    }
    return out;
}

void writePdoList(const std::filesystem::path& path, const GatewayConfiguration& cfg) {
    std::ofstream f(path);
    f << "{\"node\":" << cfg.Config.SlaveNodeAddress << ",\"tx\":[";
    for (int pass = 0; pass < 2; ++pass) {
        const char* type = pass == 0 ? kTransmitPdo : kReceivePdo;
        bool first = true;
        for (int i = 0; i < cfg.Config.InstructionCount; ++i) {
            const INSTRUCTION& ins = cfg.Config.Instructions[static_cast<std::size_t>(i)];
            if (ins.InstructionType == type) {
                f << (first ? "" : ",") << "{\"cob\":" << ins.CobId << ",\"bytes\":" << ins.Bytes
                  << "}";
                first = false;
            }
        }
        f << (pass == 0 ? "],\"rx\":[" : "]}\n");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: export_cases OUTPUT_FOLDER\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);

    const std::vector<std::pair<std::string, GatewayConfiguration>> cases = {
        {"slave_empty", make(kCanopenSlave, {})},
        {"slave_node1", make(kCanopenSlave,
                             {{"1", "1", "24576", "1", "", "0", "2", "sdo, never in an EDS"},
                              {"3", "1", "", "", "385", "0", "2", "status"},
                              {"3", "1", "", "", "386", "2", "4", "counts"},
                              {"4", "1", "", "", "513", "0", "3", "set point"},
                              {"2", "1", "24577", "0", "", "3", "1", "sdo"},
                              {"4", "1", "", "", "770", "3", "8", "outputs"}},
                             [](GatewayConfiguration& c) { c.Config.SlaveNodeAddress = "1"; })},
        {"slave_node127", make(kCanopenSlave,
                               {{"3", "9", "", "", "1407", "0", "1", "a"},
                                {"3", "9", "", "", "1151", "1", "5", "b"},
                                {"4", "9", "", "", "1535", "0", "6", "c"},
                                {"4", "9", "", "", "1792", "6", "7", "d"}},
                               [](GatewayConfiguration& c) { c.Config.SlaveNodeAddress = "127"; })},
        {"slave_many", make(kCanopenSlave, manyPdos(20, 24),
                            [](GatewayConfiguration& c) { c.Config.SlaveNodeAddress = "64"; })},
        {"master_empty", make(kCanopenMaster, {})},
        {"master_mixed",
         make(kCanopenMaster,
              {{"3", "5", "", "", "389", "0", "2", "speed"},
               {"1", "5", "24576", "0", "", "2", "2", "first upload"},
               {"2", "6", "8193", "1", "", "0", "1", "valve"},
               {"1", "6", "24577", "1", "", "4", "4", "second upload"},
               {"4", "6", "", "", "518", "1", "2", "command"},
               {"5", "6", "24578", "0", "391", "3", "2", "unknown type, on no sheet"},
               {"1", "5", "", "", "", "8", "1", ""},
               {"3", "6", "", "", "390", "9", "1", "trailing blank "}},
              [](GatewayConfiguration& c) {
                  c.Config.SDOConcurrent = "Disable";
                  c.Config.SDORetries = "3";
                  c.Config.SDOPollDelay = "250";
              })},
        {"slave_pdos", make(kCanopenSlave,
                            {{"3", "5", "", "", "389", "0", "2", "speed"},
                             {"4", "99", "", "", "517", "0", "4", "set"},
                             {"4", "", "", "", "518", "4", "1", "mode"}},
                            [](GatewayConfiguration& c) { c.Config.SlaveNodeAddress = "5"; })},
    };
    for (const auto& [name, cfg] : cases) {
        Message error;
        if (!saveConfigurationFile((dir / (name + ".chg")).string(), cfg, error)) {
            std::cerr << error << '\n';
            return 1;
        }
        if (cfg.ConfigType == kCanopenSlave) {
            writePdoList(dir / (name + ".pdos.json"), cfg);
        }
    }
    return 0;
}
