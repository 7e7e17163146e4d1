#include "devices/default_pdos.h"
#include "devices/device_commands.h"
#include "devices/device_reader.h"
#include "devices/pdo_objects.h"
#include "model/atomic_file.h"
#include "model/text_codec.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace torvane {
namespace {

// One PDO per entry: its communication object's COB-ID entry (`cobId` and what follows it), and
// its mapping object with `mapped` (sub-index 0 saying `count`, or their number).
struct PdoSpec {
    unsigned comm;
    std::string cobId;
    std::vector<std::string> mapped;
    int count = -1;
};

// Those PDOs and objects of every size a command meets; one name is not ASCII.
std::string pdoDevice(const std::vector<PdoSpec>& pdos) {
    std::string t = "[DeviceInfo]\nVendorNumber=1\n";
    char hex[8];
    for (const PdoSpec& p : pdos) {
        std::snprintf(hex, sizeof hex, "%04X", p.comm);
        t += std::string("[") + hex + "]\nParameterName=comm\nObjectType=0x9\n[" + hex +
             "sub1]\nParameterName=COB-ID\nDataType=7\nAccessType=rw\nDefaultValue=" + p.cobId +
             "\n";
        std::snprintf(hex, sizeof hex, "%04X", p.comm + 0x200);
        t += std::string("[") + hex + "]\nParameterName=map\nObjectType=0x9\n[" + hex +
             "sub0]\nParameterName=n\nDataType=5\nAccessType=rw\nDefaultValue=" +
             std::to_string(p.count < 0 ? static_cast<int>(p.mapped.size()) : p.count) + "\n";
        for (std::size_t i = 0; i < p.mapped.size(); ++i) {
            t += std::string("[") + hex + "sub" + std::to_string(i + 1) +
                 "]\nParameterName=e\nDataType=7\nAccessType=rw\nDefaultValue=" + p.mapped[i] +
                 "\n";
        }
    }
    std::string objects;
    Message error;
    EXPECT_TRUE(readWholeFile(std::string(TORVANE_TEST_DATA_DIR) + "/devices/pdo_objects.eds",
                              objects, error));
    return t + objects;
}

DeviceDescription read(const std::string& text, const char* file = "drive.eds") {
    DeviceDescription d;
    EXPECT_EQ(readDevice(text, file, d).result, DeviceReadResult::Ok);
    return d;
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
        std::string cobId;
        const char* file;
        std::optional<unsigned> node;
        std::optional<std::uint32_t> canId;
        unsigned comm;
        bool valid;
        bool extended;
        std::vector<DeviceText> notes;
    };
    const std::optional<unsigned> none;
    // clang-format off
    const Case cases[] = {
        {"$NODEID first", "$NODEID+0x180", "d.eds", 5, 0x185, 0x1800, true, false, {}},
        {"$NODEID last, top address", "0x180+$NODEID", "d.eds", 127, 0x1FF, 0x1800, true, false, {}},
        {"the last TPDO", "0x2FF", "d.eds", 1, 0x2FF, 0x19FF, true, false, {}},
        {"no node address: as written", "$NODEID+0x180", "d.eds", none, none, 0x1800, true, false, {}},
        {"bit 31: not valid", "$NODEID+0x80000280", "d.eds", 5, 0x285, 0x1800, false, false, {}},
        {"bit 30 (no RTR) is no part of the identifier", "0x40000190", "d.eds", 5, 0x190, 0x1800, true, false, {}},
        {"bit 29: a 29-bit identifier", "0x20000123", "d.eds", 5, 0x123, 0x1800, true, true,
         {DeviceText::PdoExtendedId}},
        {"a DCF's ParameterValue before DefaultValue", "$NODEID+0x180\nParameterValue=0x1A5", "d.dcf",
         5, 0x1A5, 0x1800, true, false, {}},
        {"an EDS keeps DefaultValue", "$NODEID+0x180\nParameterValue=0x1A5", "d.eds",
         5, 0x185, 0x1800, true, false, {DeviceText::ParameterValueInEds}},
        {"no value", "", "d.eds", 5, none, 0x1800, false, false, {DeviceText::PdoNoCobId}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DeviceDescription d = read(pdoDevice({{c.comm, c.cobId, {"0x60410010"}}}), c.file);
        const std::vector<DefaultPdo> pdos = defaultPdos(d, c.node);
        ASSERT_EQ(pdos.size(), 1U);
        const DefaultPdo& p = pdos[0];
        EXPECT_EQ(p.label(),
                  (c.comm < 0x1800 ? "RPDO " : "TPDO ") + std::to_string((c.comm & 0x1FF) + 1));
        EXPECT_EQ(std::make_tuple(p.mappingIndex, p.canId(), p.valid, p.extended),
                  std::make_tuple(c.comm + 0x200, c.canId, c.valid, c.extended));
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
        const DeviceDescription d =
            read(pdoDevice({{0x1800, "$NODEID+0x180", c.entries, c.count}}));
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

// A PDO command carries a default PDO only with that PDO's direction, COB-ID and whole bytes; its
// objects follow one another bit by bit.
TEST(DefaultPdos, CommandMatchingAndItsObjects) {
    const DeviceDescription d =
        read(pdoDevice({{0x1800, "$NODEID+0x180", {"0x60410010", "0x60640020"}}}));
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
        SCOPED_TRACE(std::string(c.code) + "/" + c.cobId + "/" + c.bytes);
        CONFIG config{};
        ASSERT_TRUE(appendCommand(config, {"", c.code, "", "", c.cobId, "", c.bytes, "", "", 0}));
        const auto pdo = matchingDefaultPdo(d, RecordView(config).commands()[0], 5);
        ASSERT_EQ(pdo.has_value(), c.matches);
        if (pdo) {
            const auto objects = pdoObjects(*pdo);
            ASSERT_EQ(objects.size(), 2U);
            EXPECT_EQ(
                std::tie(objects[1].bitOffset, objects[1].bits, objects[1].index, objects[1].name),
                std::make_tuple(16, 32, 0x6064, "Position actual value"));
        }
    }
}

TEST(DeviceCommands, DefaultPdosBecomeCommandsForTheNode) {
    const struct {
        const char* what;
        PdoSpec pdo;
        std::optional<std::uint32_t> cobId; // nullopt: refused
        int bytes;
        std::optional<DeviceText> refusal;
        const char* description;
    } cases[] = {
        // clang-format off
        {"TPDO", {0x1800, "$NODEID+0x180", {"0x60640020", "0x60410010"}}, 0x185, 6, {},
         "Position actual value, Statusword"},
        {"RPDO", {0x1400, "0x200+$NODEID", {"0x60400010"}}, 0x205, 2, {}, "Controlword"},
        {"disabled: COB-ID with bit 31", {0x1802, "$NODEID+0x80000380", {"0x60410010"}}, 0x385, 2,
         {}, "Statusword"},
        {"dummy entries count as bytes, not names",
         {0x1803, "$NODEID+0x480", {"0x00050008", "0x60410010"}}, 0x485, 3, {}, "Statusword"},
        {"29-bit COB-ID", {0x1804, "0x20000185", {"0x60410010"}}, {}, 2,
         DeviceText::CommandExtendedId, "Statusword"},
        {"bits that do not end on a byte", {0x1805, "$NODEID+0x180", {"0x6041000C"}}, {}, 0,
         DeviceText::CommandNotWholeBytes, "Statusword"},
        {"one byte more than a frame",
         {0x1806, "$NODEID+0x180", {"0x60640020", "0x60640020", "0x00050008"}}, {}, 9,
         DeviceText::CommandPdoTooLong, "Position actual value, Position actual value"},
        {"nothing mapped", {0x1807, "$NODEID+0x180", {}}, {}, 0, DeviceText::CommandNoData, ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<DeviceCommand> commands = pdoCommands(read(pdoDevice({c.pdo})), 5);
        ASSERT_EQ(commands.size(), 1U);
        const DeviceCommand& got = commands[0];
        const CommandKind kind =
            c.pdo.comm < 0x1800 ? CommandKind::ReceivePdo : CommandKind::TransmitPdo;
        const bool enabled = c.pdo.comm != 0x1802;
        EXPECT_EQ(std::tie(got.kind, got.cobId, got.bytes, got.description, got.enabled),
                  std::tie(kind, c.cobId, c.bytes, c.description, enabled));
        EXPECT_EQ(got.notes.size(), enabled || c.refusal ? 0U : 1U);
        EXPECT_EQ(got.refusal ? std::optional(got.refusal->id) : std::nullopt, c.refusal);
        if (!c.refusal) {
            const INSTRUCTION d = got.draft();
            EXPECT_EQ(d.InstructionType + "|" + d.CobId + "|" + d.Bytes + "|" + d.Index + "|" +
                          d.MappingAddress + "|" + d.NodeAddress,
                      std::string(commandType(kind).code) + "|" + std::to_string(*c.cobId) + "|" +
                          std::to_string(c.bytes) + "|||");
        }
    }
}

TEST(DeviceCommands, ObjectsBecomeSdoCommandsOfOneTwoOrFourBytes) {
    const DeviceDescription d = read(pdoDevice({}));
    const struct {
        unsigned index;
        CommandKind kind;
        int bytes;
        std::optional<DeviceText> refusal;
    } cases[] = {
        {0x2001, CommandKind::DownloadSdo, 1, {}},
        {0x6041, CommandKind::UploadSdo, 2, {}},
        {0x2003, CommandKind::UploadSdo, 3, DeviceText::CommandSdoSize},
        {0x6064, CommandKind::UploadSdo, 4, {}},
        {0x2009, CommandKind::UploadSdo, 0, DeviceText::CommandSdoNoSize},
        {0x6041, CommandKind::DownloadSdo, 2, DeviceText::CommandNotWritable},
        {0x200A, CommandKind::UploadSdo, 1, DeviceText::CommandNotReadable},
        {0x6040, CommandKind::DownloadSdo, 2, {}},
        {0x7000, CommandKind::UploadSdo, 0, DeviceText::CommandNoObject},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(entryLabel(static_cast<std::uint16_t>(c.index), 0));
        const DeviceCommand got = sdoCommand(d, static_cast<std::uint16_t>(c.index), 0, c.kind);
        EXPECT_EQ(got.bytes, c.bytes);
        EXPECT_EQ(got.refusal ? std::optional(got.refusal->id) : std::nullopt, c.refusal);
        const INSTRUCTION draft = got.draft();
        EXPECT_EQ(draft.Index + "|" + draft.SubIndex + "|" + draft.CobId,
                  std::to_string(c.index) + "|0|");
    }
    // The description is the object's name in the configuration's text encoding.
    const std::string name = "Drehzahl \xC3\xBC \xE9\x80\x9F\xE5\xBA\xA6";
    const INSTRUCTION named = sdoCommand(d, 0x2001, 0, CommandKind::DownloadSdo).draft();
    EXPECT_EQ(named.Description, configTextFromUtf8(name));
    EXPECT_NE(named.Description, name);
}

} // namespace
} // namespace torvane
