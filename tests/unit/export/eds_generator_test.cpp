#include "../../support/english.h"
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
        std::int32_t bytes;
        const char* text; // the Bytes field of a TPDO; null: the number only
        unsigned type;
    } cases[] = {{1, "1", 0x05},     {2, nullptr, 0x06}, {3, nullptr, 0x16}, {4, "4", 0x07},
                 {5, nullptr, 0x18}, {6, nullptr, 0x19}, {7, nullptr, 0x1a}, {8, "8", 0x1b},
                 {0, "0", 0x1c},     {0, "", 0x1c},      {9, nullptr, 0x1c}, {12, "12", 0x1c},
                 {-1, nullptr, 0x1c}};
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

// Sections of an EDS text in file order, with the problems found while splitting it.
struct Parsed {
    std::vector<std::string> order;
    std::map<std::string, std::map<std::string, std::string>> keys;
    std::vector<std::string> problems;
};

std::string upper(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

Parsed parse(const std::string& eds) {
    Parsed p;
    std::size_t pos = 0;
    std::string section;
    while (pos < eds.size()) {
        const std::size_t nl = eds.find('\n', pos);
        if (nl == std::string::npos || nl == pos || eds[nl - 1] != '\r') {
            p.problems.push_back("line without CR LF at byte " + std::to_string(pos));
            return p;
        }
        const std::string line = eds.substr(pos, nl - 1 - pos);
        if (line.find('\r') != std::string::npos) {
            p.problems.push_back("stray CR in " + line);
        }
        pos = nl + 1;
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            section = upper(line.substr(1, line.size() - 2));
            if (p.keys.count(section) != 0) {
                p.problems.push_back("duplicate section " + line);
            }
            p.order.push_back(section);
            p.keys[section];
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            p.problems.push_back("not a key line: " + line);
        } else if (!p.keys[section].emplace(line.substr(0, eq), line.substr(eq + 1)).second) {
            p.problems.push_back("duplicate key " + line + " in " + section);
        }
    }
    return p;
}

// A number as an EDS writes it ("7", "0x07", "0x0005"); -1 when there is none.
long number(const std::map<std::string, std::string>& keys, const char* key) {
    const auto it = keys.find(key);
    if (it == keys.end() || it->second.empty()) {
        return -1;
    }
    char* end = nullptr;
    const long v = std::strtol(it->second.c_str(), &end, 0);
    return *end == '\0' ? v : -1;
}

std::string indexOf(unsigned index) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", index & 0xFFFFU);
    return buf;
}

bool isObjectSection(const std::string& name) {
    return name.size() == 4 && std::all_of(name.begin(), name.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

// Bits of the unsigned CiA 301 data types a data area uses; 0 for any other type.
long typeBits(long type) {
    static const std::map<long, long> bits = {{0x05, 8},  {0x06, 16}, {0x16, 24}, {0x07, 32},
                                              {0x18, 40}, {0x19, 48}, {0x1a, 56}, {0x1b, 64}};
    const auto it = bits.find(type);
    return it == bits.end() ? 0 : it->second;
}

// What an independent CiA 306 reader would refuse or misread, one text per problem.
std::vector<std::string> structureProblems(const std::string& eds) {
    Parsed p = parse(eds);
    std::vector<std::string>& problems = p.problems;
    const auto has = [&p](const std::string& s) { return p.keys.count(s) != 0; };
    for (unsigned char c : eds) {
        if (c >= 0x80 || c == 0) {
            problems.emplace_back("not plain ASCII");
            break;
        }
    }
    for (const char* list : {"MANDATORYOBJECTS", "OPTIONALOBJECTS", "MANUFACTUREROBJECTS"}) {
        if (!has(list)) {
            problems.push_back(std::string("no ") + list);
            continue;
        }
        const auto& entries = p.keys.at(list);
        const long n = number(entries, "SupportedObjects");
        if (n < 0 || static_cast<long>(entries.size()) != n + 1) {
            problems.push_back(std::string(list) + ": SupportedObjects does not count the list");
        }
        for (long i = 1; i <= n; ++i) {
            const auto it = entries.find(std::to_string(i));
            if (it == entries.end()) {
                problems.push_back(std::string(list) + ": no entry " + std::to_string(i));
            } else if (!has(upper(it->second.substr(2)))) {
                problems.push_back("no section for " + it->second);
            }
        }
    }
    for (const auto& [name, keys] : p.keys) {
        if (!isObjectSection(name)) {
            continue;
        }
        int subs = 0;
        for (const auto& [other, unused] : p.keys) {
            subs += other.rfind(name + "SUB", 0) == 0 ? 1 : 0;
        }
        const long type = number(keys, "ObjectType");
        if (type == 7) {
            if (subs != 0 || keys.count("SubNumber") != 0) {
                problems.push_back(name + ": a VAR has no sub-indexes");
            }
            if (number(keys, "DataType") < 0 || keys.count("AccessType") == 0) {
                problems.push_back(name + ": VAR without DataType or AccessType");
            }
        } else if (type == 8 || type == 9) {
            if (number(keys, "SubNumber") != subs) {
                problems.push_back(name + ": SubNumber does not count the sub-indexes");
            }
            // Sub-index 0 of an ARRAY or RECORD is by definition its UNSIGNED8 entry count.
            if (!has(name + "SUB0") || number(p.keys.at(name + "SUB0"), "DataType") != 0x05) {
                problems.push_back(name + ": sub-index 0 is not UNSIGNED8");
            }
        } else {
            problems.push_back(name + ": unknown ObjectType");
        }
    }
    // Every mapping entry points at a mappable object of exactly the mapped length.
    for (const std::string& name : p.order) {
        if (!isObjectSection(name) || (name.rfind("16", 0) != 0 && name.rfind("1A", 0) != 0) ||
            !has(name + "SUB1")) {
            continue;
        }
        const long entry = number(p.keys.at(name + "SUB1"), "DefaultValue");
        const long bits = entry & 0xFF;
        const long sub = (entry >> 8) & 0xFF;
        const std::string index = indexOf(static_cast<unsigned>(entry >> 16));
        const std::string target =
            sub == 0 && has(index) && number(p.keys.at(index), "ObjectType") == 7
                ? index
                : index + "SUB" + std::to_string(sub);
        if (!has(target)) {
            problems.push_back(name + ": mapped object " + target + " missing");
            continue;
        }
        const auto& keys = p.keys.at(target);
        const long size = typeBits(number(keys, "DataType"));
        if (number(keys, "PDOMapping") != 1 || (size != 0 && size != bits)) {
            problems.push_back(name + ": " + target + " is not mappable with " +
                               std::to_string(bits) + " bits");
        }
    }
    for (const char* required : {"FILEINFO", "DEVICEINFO", "DUMMYUSAGE", "1000", "1001", "1018"}) {
        if (!has(required)) {
            problems.push_back(std::string("no ") + required);
        }
    }
    if (has("DEVICEINFO") && has("1018SUB3")) {
        const auto& device = p.keys.at("DEVICEINFO");
        for (const auto& [key, sub] :
             {std::pair{"VendorNumber", "1018SUB1"}, std::pair{"ProductNumber", "1018SUB2"},
              std::pair{"RevisionNumber", "1018SUB3"}}) {
            if (device.count(key) == 0 || device.at(key) != p.keys.at(sub).at("DefaultValue")) {
                problems.push_back(std::string(key) + " differs from " + sub);
            }
        }
    }
    if (has("MANDATORYOBJECTS") && p.keys.at("MANDATORYOBJECTS").size() != 4) {
        problems.emplace_back("MandatoryObjects does not list three objects");
    }
    return problems;
}

std::string joined(const std::vector<std::string>& problems) {
    std::string s;
    for (const std::string& p : problems) {
        s += p + "\n";
    }
    return s;
}

// The EDS text of `c` with the templates as they ship.
std::string shippedEds(const CONFIG& c, const char* fileName, const LocalTime& time) {
    static const std::string t1 = readFile(fs::path(TORVANE_RES_DIR) / "EDSTemplate1.dat");
    static const std::string t2 = readFile(fs::path(TORVANE_RES_DIR) / "EDSTemplate2.dat");
    return buildEdsText(c, fileName, t1, t2, time);
}

TEST(EdsText, WholeFilesAreWellFormed) {
    std::vector<Cmd> many;
    std::vector<std::string> cobs(64);
    std::vector<std::string> bytes(64);
    for (std::size_t k = 0; k < cobs.size(); ++k) {
        cobs[k] = std::to_string(0x181 + k);
        bytes[k] = std::to_string(k % 10);
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
                                    {"3", "1000", "12"},
                                    {"4", "", ""}})},
        {"many", slaveConfig("64", many)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(joined(structureProblems(shippedEds(c.config, "a.eds", kNoon))), "") << c.name;
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
