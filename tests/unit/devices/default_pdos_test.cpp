#include "devices/default_pdos.h"
#include "devices/device_reader.h"
#include "devices/pdo_objects.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace torvane {
namespace {

std::string hex4(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v);
    return buf;
}

// A device with one PDO: communication object `comm` whose COB-ID entry carries `cobIdKeys`,
// its mapping object with `entries` (sub-index 0 saying `count`, or their number), and the
// objects a drive maps.
std::string pdoDevice(unsigned comm, const std::string& cobIdKeys,
                      const std::vector<std::string>& entries, int count = -1) {
    std::string t = "[DeviceInfo]\nVendorNumber=1\n";
    t += "[" + hex4(comm) + "]\nParameterName=comm\nObjectType=0x9\n";
    t += "[" + hex4(comm) + "sub1]\nParameterName=COB-ID\nDataType=0x0007\nAccessType=rw\n" +
         cobIdKeys + "\n";
    const std::string map = hex4(comm + 0x200);
    t += "[" + map + "]\nParameterName=mapping\nObjectType=0x9\n";
    t += "[" + map + "sub0]\nParameterName=count\nDataType=5\nAccessType=rw\nDefaultValue=" +
         std::to_string(count < 0 ? static_cast<int>(entries.size()) : count) + "\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        t += "[" + map + "sub" + std::to_string(i + 1) +
             "]\nParameterName=entry\nDataType=7\nAccessType=rw\nDefaultValue=" + entries[i] + "\n";
    }
    t += "[6041]\nParameterName=Statusword\nDataType=0x0006\nAccessType=ro\nPDOMapping=1\n"
         "[6064]\nParameterName=Position actual value\nDataType=0x0004\nAccessType=ro\n"
         "PDOMapping=1\n"
         "[2000]\nParameterName=Flags\nObjectType=0x8\n"
         "[2000sub1]\nParameterName=Flag 1\nDataType=0x0001\nAccessType=rw\nPDOMapping=1\n";
    return t;
}

std::vector<DeviceText> pdoNotes(const DeviceDescription& d) {
    std::vector<DeviceText> out;
    for (const DeviceMessage& n : d.notes) {
        if (n.id >= DeviceText::PdoNoCobId || n.id == DeviceText::ParameterValueInEds) {
            out.push_back(n.id);
        }
    }
    return out;
}

TEST(DefaultPdos, CobIdForTheNodeAddress) {
    struct Case {
        const char* what;
        std::string keys;
        const char* file;
        std::optional<unsigned> node;
        std::optional<std::uint32_t> cobId; // the CAN identifier
        unsigned comm;
        bool valid;
        bool extended;
        std::vector<DeviceText> notes;
    };
    const std::optional<unsigned> none;
    // clang-format off
    const Case cases[] = {
        {"$NODEID first", "DefaultValue=$NODEID+0x180", "d.eds", 5, 0x185, 0x1800, true, false, {}},
        {"$NODEID last, top address", "DefaultValue=0x180+$NODEID", "d.eds", 127, 0x1FF, 0x1800, true, false, {}},
        {"lower case, blanks, decimal", "DefaultValue=$nodeid + 512", "d.eds", 1, 0x201, 0x1400, true, false, {}},
        {"no node address: as written", "DefaultValue=$NODEID+0x180", "d.eds", none, none, 0x1800, true, false, {}},
        {"bit 31: not valid", "DefaultValue=$NODEID+0x80000280", "d.eds", 5, 0x285, 0x1800, false, false, {}},
        {"bit 30 (no RTR) is no part of the identifier", "DefaultValue=0x40000190", "d.eds", 5, 0x190, 0x1800, true, false, {}},
        {"bit 29: a 29-bit identifier", "DefaultValue=0x20000123", "d.eds", 5, 0x123, 0x1800, true, true,
         {DeviceText::PdoExtendedId}},
        {"a DCF's ParameterValue before DefaultValue", "DefaultValue=$NODEID+0x180\nParameterValue=0x1A5", "d.dcf",
         5, 0x1A5, 0x1800, true, false, {}},
        {"an EDS keeps DefaultValue", "DefaultValue=$NODEID+0x180\nParameterValue=0x1A5", "d.eds",
         5, 0x185, 0x1800, true, false, {DeviceText::ParameterValueInEds}},
        {"no value", "DefaultValue=", "d.eds", 5, none, 0x1800, false, false, {DeviceText::PdoNoCobId}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceDescription d;
        ASSERT_EQ(readDevice(pdoDevice(c.comm, c.keys, {"0x60410010"}), c.file, d).result,
                  DeviceReadResult::Ok);
        const std::vector<DefaultPdo> pdos = defaultPdos(d, c.node);
        ASSERT_EQ(pdos.size(), 1U);
        const DefaultPdo& p = pdos[0];
        EXPECT_EQ(p.label(), c.comm == 0x1400 ? "RPDO 1" : "TPDO 1");
        EXPECT_EQ(p.mappingIndex, c.comm + 0x200);
        EXPECT_EQ(p.canId(), c.cobId);
        EXPECT_EQ(p.valid, c.valid);
        EXPECT_EQ(p.extended, c.extended);
        EXPECT_EQ(pdoNotes(d), c.notes);
    }
}

TEST(DefaultPdos, MappingEntriesAndTheirBytes) {
    struct Case {
        const char* what;
        std::vector<std::string> entries;
        int count; // sub-index 0; -1: the number of entries
        std::optional<int> bytes;
        std::vector<std::string> names;
        std::vector<DeviceText> notes;
    };
    const std::vector<std::string> nine(9, "0x60640020");
    const std::vector<std::string> nineNames(9, "Position actual value");
    // clang-format off
    const Case cases[] = {
        {"one object", {"0x60410010"}, -1, 2, {"Statusword"}, {}},
        {"two objects", {"0x60410010", "0x60640020"}, -1, 6, {"Statusword", "Position actual value"}, {}},
        {"a dummy entry by its type", {"0x00050008", "0x60410010"}, -1, 3, {"UNSIGNED8", "Statusword"}, {}},
        {"single bits: no whole bytes", {"0x20000101"}, -1, std::nullopt, {"Flag 1"}, {}},
        {"length disagrees with the type", {"0x60410008"}, -1, 1, {"Statusword"}, {DeviceText::PdoEntrySize}},
        {"an object the file does not describe", {"0x60990010"}, -1, 2, {""}, {DeviceText::PdoUnknownObject}},
        {"count beyond the entries", {"0x60410010"}, 2, 2, {"Statusword"}, {DeviceText::PdoEntryMissing}},
        {"entries beyond the count are unmapped", {"0x60410010", "0x60640020"}, 1, 2, {"Statusword"}, {}},
        {"an empty entry", {"0"}, -1, 0, {}, {DeviceText::PdoBadEntry}},
        {"more than a CAN frame", nine, -1, 36, nineNames, {DeviceText::PdoTooLong}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceDescription d;
        ASSERT_EQ(readDevice(pdoDevice(0x1800, "DefaultValue=$NODEID+0x180", c.entries, c.count),
                             "d.eds", d)
                      .result,
                  DeviceReadResult::Ok);
        const DefaultPdo p = defaultPdos(d, 1).at(0);
        EXPECT_TRUE(p.hasMapping);
        EXPECT_EQ(p.bytes(), c.bytes);
        std::vector<std::string> names;
        for (const PdoMappingEntry& e : p.entries) {
            names.push_back(e.name);
        }
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(pdoNotes(d), c.notes);
    }
}

TEST(DefaultPdos, PublicDriveFile) {
    DeviceDescription d;
    ASSERT_EQ(readDeviceFile(std::string(TORVANE_TEST_DATA_DIR) + "/devices/e35.eds", d).result,
              DeviceReadResult::Ok);
    const std::vector<DefaultPdo> pdos = defaultPdos(d, 5);
    ASSERT_EQ(pdos.size(), 8U);
    const DefaultPdo& tpdo1 = pdos[4];
    EXPECT_EQ(tpdo1.label(), "TPDO 1");
    EXPECT_EQ(tpdo1.canId(), 0x185U);
    EXPECT_EQ(tpdo1.bytes(), 6);
    ASSERT_EQ(tpdo1.entries.size(), 2U);
    EXPECT_EQ(tpdo1.entries[1].name, "Statusword");
    EXPECT_EQ(tpdo1.entries[1].index, 0x6041);
    EXPECT_EQ(tpdo1.entries[1].bits, 16);
}

// A PDO command carries a default PDO only with that PDO's direction, COB-ID and whole bytes; its
// objects follow one another bit by bit.
TEST(DefaultPdos, CommandMatchingAndItsObjects) {
    DeviceDescription d;
    ASSERT_EQ(
        readDevice(pdoDevice(0x1800, "DefaultValue=$NODEID+0x180", {"0x60410010", "0x60640020"}),
                   "tpdo.eds", d)
            .result,
        DeviceReadResult::Ok);
    struct Case {
        const char* code;
        const char* cobId;
        const char* bytes;
        bool matches;
    } const cases[] = {
        {kTransmitPdo, "389", "6", true},  {kTransmitPdo, "389", "4", false},
        {kTransmitPdo, "390", "6", false}, {kReceivePdo, "389", "6", false},
        {kUploadSdo, "389", "6", false},   {kTransmitPdo, "", "6", false},
    };
    for (const Case& c : cases) {
        INSTRUCTION record{};
        record.InstructionType = c.code;
        record.CobId = c.cobId;
        record.Bytes = c.bytes;
        CONFIG config{};
        ASSERT_TRUE(appendCommand(config, record));
        SCOPED_TRACE(std::string(c.code) + "/" + c.cobId + "/" + c.bytes);
        const auto pdo = matchingDefaultPdo(d, RecordView(config).commands()[0], 5);
        ASSERT_EQ(pdo.has_value(), c.matches);
        if (pdo) {
            const auto objects = pdoObjects(*pdo);
            ASSERT_EQ(objects.size(), 2U);
            EXPECT_EQ(objects[1].bitOffset, 16);
            EXPECT_EQ(objects[1].bits, 32);
            EXPECT_EQ(objects[1].index, 0x6064);
            EXPECT_EQ(objects[1].name, "Position actual value");
        }
    }
}

} // namespace
} // namespace torvane
