#include "../../support/english.h"
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
#include <map>
#include <set>
#include <sstream>
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

// Text between the line `from` and the next line equal to `to` (exclusive).
std::string block(const std::string& eds, const std::string& from, const std::string& to) {
    const std::size_t a = eds.find(from + "\r\n");
    const std::size_t b = eds.find("\r\n" + to + "\r\n", a);
    if (a == std::string::npos || b == std::string::npos) {
        return "<missing " + from + ">";
    }
    return eds.substr(a, b + 2 - a);
}

TEST(EdsFields, TwelveHourClock) {
    const struct {
        int h, m;
        const char* text;
    } cases[] = {{0, 5, "12:05AM"},   {9, 7, "09:07AM"},  {11, 59, "11:59AM"}, {12, 0, "12:00PM"},
                 {12, 30, "12:30PM"}, {13, 5, "01:05PM"}, {23, 59, "11:59PM"}};
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
        {385, 1, "$NODEID+0x180"},
        {386, 1, "0x0182"},
        {0x500 + 127, 127, "$NODEID+0x500"},
        {0x480 + 5, 5, "$NODEID+0x480"},
        {0x200 + 64, 64, "$NODEID+0x200"},
        {0x380, 0, "$NODEID+0x380"},
        {0x580 + 1, 1, "0x0581"},
        {0x100 + 1, 1, "0x0101"},
        {1, 1, "0x0001"},
        {0x180, 1, "0x0180"},
        {0x12345, 1, "0x12345"},
        {0, 0, "0x0000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(edsCobIdText(c.cob, c.node), c.text) << c.cob << " at node " << c.node;
    }
}

TEST(EdsFields, MappedObject) {
    EXPECT_EQ(edsMappedObjectText(true, 2, 4), "0x30020020");
    EXPECT_EQ(edsMappedObjectText(true, 0, 3), "0x30000018");
    EXPECT_EQ(edsMappedObjectText(false, 0, 1), "0x20000008");
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
                 {"0", 0, 0x1c},     {"", 0, 0x1c},      {nullptr, 9, 0x1c}, {"12", 12, 0x1c},
                 {nullptr, -1, 0x1c}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(edsDataType(c.bytes), c.type);
        if (c.text != nullptr) {
            char type[8];
            std::snprintf(type, sizeof type, "0x%04x", c.type);
            EXPECT_EQ(block(edsOf(slaveConfig("1", {{"3", "385", c.text}})), "[2000]", ""),
                      std::string("[2000]\r\nParameterName=In_Area\r\nObjectType=7\r\nDataType=") +
                          type + "\r\nAccessType=RO\r\nDefaultValue=0x00\r\nPDOMapping=1\r\n");
        }
    }
}

TEST(EdsText, NoPdos) {
    const std::string eds = edsOf(slaveConfig("1", {{"1", "", "2"}, {"2", "", "4"}}));
    EXPECT_NE(eds.find("EDSVersion=4.0\r\nT1\r\nNrOfTXPDO=0\r\nNrOfRXPDO=0\r\nT2\r\n"
                       "[OptionalObjects]\r\nSupportedObjects=4\r\n1=0x100C\r\n2=0x100D\r\n"
                       "3=0x1016\r\n4=0x1017\r\n\r\n\r\n[100c]\r\n"),
              std::string::npos);
    EXPECT_NE(eds.find("[1017]"), std::string::npos);
    for (const char* absent : {"[14", "[16", "[18", "[1A", "[20", "[30"}) {
        EXPECT_EQ(eds.find(absent), std::string::npos) << absent;
    }
    EXPECT_NE(eds.find("PDOMapping=0\r\n\r\n[ManufacturerObjects]\r\nSupportedObjects=0\r\n\r\n"
                       "\r\n[DummyUsage]\r\n"),
              std::string::npos);
    const std::string tail = "Dummy0005=1\r\nDummy0006=0\r\nDummy0007=0\r\n";
    EXPECT_EQ(eds.substr(eds.size() - tail.size()), tail);
}

TEST(EdsText, PdoNumberingSkipsSdos) {
    // Two RPDOs and one TPDO with SDOs between them: SDOs take no number.
    const std::string eds = edsOf(slaveConfig(
        "1",
        {{"1", "", "2"}, {"4", "513", "3"}, {"2", "", "1"}, {"3", "385", "2"}, {"4", "770", "8"}}));
    EXPECT_EQ(block(eds, "[OptionalObjects]", "[100c]"),
              "[OptionalObjects]\r\nSupportedObjects=10\r\n1=0x100C\r\n2=0x100D\r\n3=0x1016\r\n"
              "4=0x1017\r\n5=0x1400\r\n6=0x1401\r\n7=0x1600\r\n8=0x1601\r\n9=0x1800\r\n\r\n"
              "10=0x1A00\r\n\r\n");
    EXPECT_EQ(block(eds, "[1400sub1]", "[1400sub2]"),
              "[1400sub1]\r\nParameterName=COBID\r\nObjectType=7\r\nDataType=0x0007\r\n"
              "AccessType=RW\r\nPDOMapping=0\r\nDefaultValue=$NODEID+0x200\r\n\r\n");
    EXPECT_NE(block(eds, "[1401sub1]", "[1401sub2]").find("DefaultValue=0x0302\r\n"),
              std::string::npos);
    EXPECT_NE(block(eds, "[1800sub1]", "[1800sub2]").find("DefaultValue=$NODEID+0x180\r\n"),
              std::string::npos);
    // The 3-byte RPDO: UNSIGNED24 data area, 24-bit mapping entry.
    EXPECT_NE(block(eds, "[1600sub1]", "[1601]").find("DefaultValue=0x30000018\r\n"),
              std::string::npos);
    // Each data area is one VAR, addressed as sub-index 0 by its mapping entry.
    EXPECT_EQ(block(eds, "[3000]", "[3001]"),
              "[3000]\r\nParameterName=Out_Area\r\nObjectType=7\r\nDataType=0x0016\r\n"
              "AccessType=RWW\r\nDefaultValue=0x00\r\nPDOMapping=1\r\n\r\n");
    EXPECT_EQ(block(eds, "[2000]", "[3000]"),
              "[2000]\r\nParameterName=In_Area\r\nObjectType=7\r\nDataType=0x0006\r\n"
              "AccessType=RO\r\nDefaultValue=0x00\r\nPDOMapping=1\r\n\r\n");
    EXPECT_NE(eds.find("PDOMapping=1\r\n\r\n\r\n[DummyUsage]\r\n"), std::string::npos);
    for (const char* absent : {"[2000sub", "[3000sub", "[3001sub"}) {
        EXPECT_EQ(eds.find(absent), std::string::npos) << absent;
    }
    EXPECT_EQ(block(eds, "[ManufacturerObjects]", "[2000]"),
              "[ManufacturerObjects]\r\nSupportedObjects=3\r\n1=0x2000\r\n2=0x3000\r\n"
              "3=0x3001\r\n\r\n");
    EXPECT_NE(eds.find("NrOfTXPDO=1\r\nNrOfRXPDO=2\r\n"), std::string::npos);
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
        {"empty", slaveConfig("1", {})},
        {"sdo only", slaveConfig("1", {{"1", "", "2"}})},
        {"one tpdo", slaveConfig("1", {{"3", "385", "2"}})},
        {"one rpdo", slaveConfig("127", {{"4", "639", "8"}})},
        {"mixed", slaveConfig("5", {{"3", "389", "1"},
                                    {"4", "517", "3"},
                                    {"2", "", "4"},
                                    {"3", "1000", "7"},
                                    {"4", "", "5"}})},
        {"many", slaveConfig("64", many)},
    };
    for (const auto& c : cases) {
        const std::size_t pdos = static_cast<std::size_t>(
            std::count_if(c.config.Instructions.begin(), c.config.Instructions.end(),
                          [](const INSTRUCTION& i) { return isPdoCommand(i.InstructionType); }));
        EXPECT_EQ(readBackProblems(shippedEds(c.config, "a.eds", kNoon), pdos), "") << c.name;
    }
}

TEST(EdsText, MatchesGoldenFile) {
    const CONFIG c = slaveConfig("1", {{"3", "385", "2"},
                                       {"1", "", "4"},
                                       {"4", "513", "3"},
                                       {"3", "386", "8"},
                                       {"4", "1000", "4"}});
    const std::string eds = shippedEds(c, "gateway.eds", {2024, 3, 27, 0, 5});
    const fs::path golden = fs::path(TORVANE_TEST_DATA_DIR) / "export" / "gateway.eds";
    if (std::getenv("TORVANE_UPDATE_GOLDEN") != nullptr) {
        Message error;
        ASSERT_TRUE(writeFileAtomically(golden.string(), eds, error)) << error;
    }
    EXPECT_EQ(eds, readFile(golden));
}

class EdsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("torvane-eds-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        cfg_ = newConfiguration(kCanopenSlave);
        cfg_.Config = slaveConfig("1", {{"3", "385", "2"}});
        std::ofstream(dir_ / "t1.dat", std::ios::binary) << "\r\n[DeviceInfo]\r\nVendorName=X";
        std::ofstream(dir_ / "t2.dat", std::ios::binary) << "\r\n[MandatoryObjects]\r\n";
    }
    void TearDown() override { fs::remove_all(dir_); }

    EdsTemplatePaths templates(const char* one, const char* two) const {
        return {(dir_ / one).string(), (dir_ / two).string()};
    }
    std::size_t fileCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
    fs::path dir_;
    GatewayConfiguration cfg_;
};

TEST_F(EdsFileTest, UnreadableTemplateLeavesNoFileAndKeepsThePreviousOne) {
    const struct {
        const char* one;
        const char* two;
        const char* named;
    } cases[] = {{"missing1.dat", "t2.dat", "missing1.dat"},
                 {"t1.dat", "missing2.dat", "missing2.dat"},
                 {".", "t2.dat", nullptr}}; // a folder is no template either
    for (const auto& c : cases) {
        const fs::path fresh = dir_ / "fresh.eds";
        const std::size_t before = fileCount();
        EdsOutcome r = createEdsFile(cfg_, fresh.string(), templates(c.one, c.two), kNoon);
        EXPECT_EQ(r.result, EdsResult::TemplateUnreadable) << c.one;
        if (c.named != nullptr) {
            EXPECT_EQ(r.message, "Cannot read the EDS template file " + (dir_ / c.named).string());
        }
        EXPECT_EQ(fileCount(), before) << "a file was left behind";

        const fs::path existing = dir_ / "existing.eds";
        std::ofstream(existing) << "previous";
        r = createEdsFile(cfg_, existing.string(), templates(c.one, c.two), kNoon);
        EXPECT_EQ(r.result, EdsResult::TemplateUnreadable);
        EXPECT_EQ(readFile(existing), "previous");
    }
}

TEST_F(EdsFileTest, UncreatableFileGivesTheCreateMessage) {
    const fs::path out = dir_ / "no" / "such" / "folder" / "a.eds";
    const EdsOutcome r = createEdsFile(cfg_, out.string(), templates("t1.dat", "t2.dat"), kNoon);
    EXPECT_EQ(r.result, EdsResult::CreateFailed);
    EXPECT_EQ(r.message, "Create EDS File Error!!");
    EXPECT_FALSE(r.detail.empty());
}

} // namespace
} // namespace torvane
