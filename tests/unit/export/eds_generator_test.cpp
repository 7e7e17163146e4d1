#include "../../support/english.h"
#include "../../support/scratch_dir.h"
#include "devices/default_pdos.h"
#include "devices/device_reader.h"
#include "export/eds_generator.h"
#include "model/atomic_file.h"
#include "model/strings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

namespace torvane {
namespace {

namespace fs = std::filesystem;

struct Cmd {
    const char* type;
    const char* cob;
    const char* bytes;
};

CONFIG slaveConfig(const char* node, const std::vector<Cmd>& cmds) {
    GatewayConfiguration cfg = newConfiguration(kCanopenSlave);
    cfg.Config.SlaveNodeAddress = node;
    for (const Cmd& c : cmds) {
        INSTRUCTION& ins =
            cfg.Config.Instructions[static_cast<std::size_t>(cfg.Config.InstructionCount++)];
        ins.InstructionType = c.type;
        ins.CobId = c.cob;
        ins.Bytes = c.bytes;
        ins.Index = "24576";
        ins.NodeAddress = node;
    }
    return cfg.Config;
}

std::string readFile(const fs::path& p) {
    std::string bytes;
    Message error;
    EXPECT_TRUE(readWholeFile(p.string(), bytes, error)) << error;
    return bytes;
}

const LocalTime kNoon{2024, 3, 27, 12, 30};

std::string edsOf(const CONFIG& c) {
    return buildEdsText(c, "out.eds", "T1", "T2", kNoon);
}

TEST(EdsFields, TwelveHourClock) {
    const struct {
        int h, m;
        const char* text;
    } cases[] = {{11, 59, "11:59AM"}, {12, 0, "12:00PM"}, {13, 5, "01:05PM"}};
    for (const auto& c : cases) {
        EXPECT_EQ(edsTimeText(c.h, c.m), c.text) << c.h << ":" << c.m;
    }
    EXPECT_EQ(edsDateText({2024, 3, 7, 0, 0}), "03-07-2024");
}

TEST(EdsFields, CobIdText) {
    const struct {
        std::int32_t cob, node;
        const char* text;
    } cases[] = {
        {0x500 + 127, 127, "$NODEID+0x500"},
        {0x380, 0, "$NODEID+0x380"},
        {0x180, 1, "0x0180"},
        {0x12345, 1, "0x12345"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(edsCobIdText(c.cob, c.node), c.text) << c.cob << " at node " << c.node;
    }
}

TEST(EdsFields, MappedObject) {
    EXPECT_EQ(edsMappedObjectText(true, 2, 4), "0x30020020");
    EXPECT_EQ(edsMappedObjectText(false, 15, 8), "0x200f0040");
    EXPECT_EQ(edsMappedObjectText(false, 0, 8192), "0x20000000"); // kept to 16 bits
}

// The data type of a data area follows its byte count, both from the number and in the text.
TEST(EdsText, AreaDataTypeFollowsByteCount) {
    const struct {
        const char* text; // the Bytes field of a TPDO; null: the number only
        std::int32_t bytes;
        unsigned type;
    } cases[] = {{"1", 1, 0x05},     {nullptr, 2, 0x06}, {nullptr, 3, 0x16}, {"4", 4, 0x07},
                 {nullptr, 5, 0x18}, {nullptr, 6, 0x19}, {nullptr, 7, 0x1a}, {"8", 8, 0x1b},
                 {"0", 0, 0x1c},     {"", 0, 0x1c},      {"9", 9, 0x1c},     {nullptr, -1, 0x1c}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(edsDataType(c.bytes), c.type);
        if (c.text != nullptr) {
            char type[8];
            std::snprintf(type, sizeof type, "0x%04x", c.type);
            const std::string area =
                "\r\n[2000]\r\nParameterName=In_Area\r\nObjectType=7\r\n"
                "DataType=" +
                std::string(type) +
                "\r\nAccessType=RO\r\nDefaultValue=0x00\r\nPDOMapping=1\r\n\r\n";
            EXPECT_NE(edsOf(slaveConfig("1", {{"3", "385", c.text}})).find(area),
                      std::string::npos);
        }
    }
}

// What the program's own device reader says about an EDS text: every note it made while
// reading (a repaired or odd part), and whether the default PDOs it finds are those written.
std::string readBackProblems(const std::string& eds, std::size_t pdoCount) {
    DeviceDescription device;
    if (readDevice(eds, "a.eds", device).result != DeviceReadResult::Ok) {
        return "not read";
    }
    std::string problems;
    for (const DeviceMessage& note : device.notes) {
        problems += englishText(note) + "\n";
    }
    if (defaultPdos(device, std::nullopt).size() != pdoCount) {
        problems += "default PDOs differ";
    }
    return problems;
}

// The EDS text of `c` with the templates as they ship.
std::string shippedEds(const CONFIG& c, const char* fileName, const LocalTime& time) {
    static const std::string t1 = readFile(fs::path(TORVANE_RES_DIR) / "EDSTemplate1.dat");
    static const std::string t2 = readFile(fs::path(TORVANE_RES_DIR) / "EDSTemplate2.dat");
    return buildEdsText(c, fileName, t1, t2, time);
}

// Byte counts a CAN frame holds; what other counts write is pinned by the tests above.
TEST(EdsText, WholeFilesAreWellFormed) {
    std::vector<Cmd> many;
    std::vector<std::string> cobs(64);
    std::vector<std::string> bytes(64);
    for (std::size_t k = 0; k < cobs.size(); ++k) {
        cobs[k] = std::to_string(0x181 + k);
        bytes[k] = std::to_string(k % 8 + 1);
        many.push_back({k % 3 == 0 ? "4" : "3", cobs[k].c_str(), bytes[k].c_str()});
    }
    const struct {
        const char* name;
        CONFIG config;
    } cases[] = {
        {"many", slaveConfig("64", many)},
    };
    for (const auto& c : cases) {
        const std::size_t pdos = static_cast<std::size_t>(
            std::count_if(c.config.Instructions.begin(), c.config.Instructions.end(),
                          [](const INSTRUCTION& i) { return isPdoCommand(i.InstructionType); }));
        EXPECT_EQ(readBackProblems(shippedEds(c.config, "a.eds", kNoon), pdos), "") << c.name;
    }
}

// PDOs of both kinds with an SDO between them, and no PDO at all.
TEST(EdsText, MatchesGoldenFiles) {
    const struct {
        CONFIG config;
        const char* golden;
    } cases[] = {
        {slaveConfig("1", {{"3", "385", "2"},
                           {"1", "", "4"},
                           {"4", "513", "3"},
                           {"3", "386", "8"},
                           {"4", "1000", "4"}}),
         "gateway.eds"},
        {slaveConfig("1", {{"1", "", "2"}, {"2", "", "4"}}), "no_pdos.eds"},
    };
    for (const auto& c : cases) {
        const std::string eds = shippedEds(c.config, "gateway.eds", {2024, 3, 27, 0, 5});
        const fs::path golden = fs::path(TORVANE_TEST_DATA_DIR) / "export" / c.golden;
        if (std::getenv("TORVANE_UPDATE_GOLDEN") != nullptr) {
            Message error;
            ASSERT_TRUE(writeFileAtomically(golden.string(), eds, error)) << error;
        }
        EXPECT_EQ(eds, readFile(golden)) << c.golden;
    }
}

// An unreadable template or an uncreatable file leaves no file behind and keeps what was there.
TEST(EdsFile, FailuresWriteNothing) {
    const test::ScratchDir scratch;
    const fs::path dir = scratch.path;
    GatewayConfiguration cfg = newConfiguration(kCanopenSlave);
    cfg.Config = slaveConfig("1", {{"3", "385", "2"}});
    std::ofstream(dir / "t1.dat", std::ios::binary) << "\r\n[DeviceInfo]\r\nVendorName=X";
    std::ofstream(dir / "t2.dat", std::ios::binary) << "\r\n[MandatoryObjects]\r\n";
    const std::string unreadable = "Cannot read the EDS template file ";
    const struct {
        const char* one;
        const char* two;
        const char* out;
        EdsResult result;
        std::string message; // empty: not checked
    } cases[] = {
        {"missing1.dat", "t2.dat", "a.eds", EdsResult::TemplateUnreadable,
         unreadable + (dir / "missing1.dat").string()},
        {"t1.dat", "missing2.dat", "a.eds", EdsResult::TemplateUnreadable,
         unreadable + (dir / "missing2.dat").string()},
        {".", "t2.dat", "a.eds", EdsResult::TemplateUnreadable, ""}, // a folder is no template
        {"t1.dat", "t2.dat", "no/such/a.eds", EdsResult::CreateFailed, "Create EDS File Error!!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.one + std::string(" ") + c.two);
        const EdsTemplatePaths templates{(dir / c.one).string(), (dir / c.two).string()};
        EdsOutcome r = createEdsFile(cfg, (dir / c.out).string(), templates, kNoon);
        EXPECT_EQ(r.result, c.result);
        if (!c.message.empty()) {
            EXPECT_EQ(r.message, c.message);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
        if (c.result == EdsResult::TemplateUnreadable) {
            std::ofstream(dir / "existing.eds") << "previous";
            r = createEdsFile(cfg, (dir / "existing.eds").string(), templates, kNoon);
            EXPECT_EQ(r.result, EdsResult::TemplateUnreadable);
            EXPECT_EQ(readFile(dir / "existing.eds"), "previous");
            fs::remove(dir / "existing.eds");
        } else {
            EXPECT_FALSE(r.detail.empty());
        }
    }
}

} // namespace
} // namespace torvane
