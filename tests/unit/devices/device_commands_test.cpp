#include "devices/device_commands.h"
#include "devices/device_reader.h"
#include "model/text_codec.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace torvane {
namespace {

// One PDO per communication object below: COB-ID entry and mapping entries as written.
struct PdoSpec {
    unsigned comm;
    const char* cobId;
    std::vector<const char*> mapped;
};

std::string device(const std::vector<PdoSpec>& pdos) {
    std::string t = "[DeviceInfo]\nVendorNumber=1\nProductName=Antrieb\n";
    char hex[8];
    for (const PdoSpec& p : pdos) {
        std::snprintf(hex, sizeof hex, "%04X", p.comm);
        t += std::string("[") + hex + "]\nParameterName=comm\nObjectType=0x9\n[" + hex +
             "sub1]\nParameterName=COB-ID\nDataType=7\nAccessType=rw\nDefaultValue=" + p.cobId +
             "\n";
        std::snprintf(hex, sizeof hex, "%04X", p.comm + 0x200);
        t += std::string("[") + hex + "]\nParameterName=map\nObjectType=0x9\n[" + hex +
             "sub0]\nParameterName=n\nDataType=5\nAccessType=rw\nDefaultValue=" +
             std::to_string(p.mapped.size()) + "\n";
        for (std::size_t i = 0; i < p.mapped.size(); ++i) {
            t += std::string("[") + hex + "sub" + std::to_string(i + 1) +
                 "]\nParameterName=e\nDataType=7\nAccessType=rw\nDefaultValue=" + p.mapped[i] +
                 "\n";
        }
    }
    // Objects of every size an SDO meets; the name is not ASCII.
    t += "[6041]\nParameterName=Statusword\nDataType=6\nAccessType=ro\nPDOMapping=1\n"
         "[6040]\nParameterName=Controlword\nDataType=6\nAccessType=rww\nPDOMapping=1\n"
         "[6064]\nParameterName=Position actual value\nDataType=4\nAccessType=ro\n"
         "[2001]\nParameterName=Drehzahl \xC3\xBC \xE9\x80\x9F\xE5\xBA\xA6\nDataType=1\n"
         "AccessType=rw\n"
         "[2003]\nParameterName=Zähler 24\nDataType=0x16\nAccessType=rw\n"
         "[2008]\nParameterName=Energy\nDataType=0x1B\nAccessType=ro\n"
         "[2009]\nParameterName=Text\nDataType=9\nAccessType=ro\n"
         "[200A]\nParameterName=Command\nDataType=5\nAccessType=wo\n";
    return t;
}

DeviceDescription read(const std::string& text) {
    DeviceDescription d;
    EXPECT_EQ(readDevice(text, "drive.eds", d).result, DeviceReadResult::Ok);
    return d;
}

TEST(DeviceCommands, DefaultPdosBecomeCommandsForTheNode) {
    const struct {
        const char* what;
        PdoSpec pdo;
        CommandKind kind;
        std::optional<std::uint32_t> cobId; // nullopt: refused
        int bytes;
        const char* description;
        bool enabled;
        std::optional<DeviceText> refusal;
    } cases[] = {
        {"TPDO with $NODEID",
         {0x1800, "$NODEID+0x180", {"0x60640020", "0x60410010"}},
         CommandKind::TransmitPdo,
         0x185,
         6,
         "Position actual value, Statusword",
         true,
         {}},
        {"RPDO with $NODEID written after",
         {0x1400, "0x200+$NODEID", {"0x60400010"}},
         CommandKind::ReceivePdo,
         0x205,
         2,
         "Controlword",
         true,
         {}},
        {"COB-ID without $NODEID",
         {0x1801, "0x301", {"0x60410010"}},
         CommandKind::TransmitPdo,
         0x301,
         2,
         "Statusword",
         true,
         {}},
        {"disabled: COB-ID without bit 31",
         {0x1802, "$NODEID+0x80000380", {"0x60410010"}},
         CommandKind::TransmitPdo,
         0x385,
         2,
         "Statusword",
         false,
         {}},
        {"dummy entries count as bytes, not names",
         {0x1803, "$NODEID+0x480", {"0x00050008", "0x60410010"}},
         CommandKind::TransmitPdo,
         0x485,
         3,
         "Statusword",
         true,
         {}},
        {"29-bit COB-ID",
         {0x1804, "0x20000185", {"0x60410010"}},
         CommandKind::TransmitPdo,
         {},
         2,
         "Statusword",
         true,
         DeviceText::CommandExtendedId},
        {"bits that do not end on a byte",
         {0x1805, "$NODEID+0x180", {"0x6041000C"}},
         CommandKind::TransmitPdo,
         {},
         0,
         "Statusword",
         true,
         DeviceText::CommandNotWholeBytes},
        {"more than 8 bytes",
         {0x1806, "$NODEID+0x180", {"0x60640020", "0x60640020", "0x60410010"}},
         CommandKind::TransmitPdo,
         {},
         10,
         "Position actual value, Position actual value, "
         "Statusword",
         true,
         DeviceText::CommandPdoTooLong},
        {"nothing mapped",
         {0x1807, "$NODEID+0x180", {}},
         CommandKind::TransmitPdo,
         {},
         0,
         "",
         true,
         DeviceText::CommandNoData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<DeviceCommand> commands = pdoCommands(read(device({c.pdo})), 5);
        ASSERT_EQ(commands.size(), 1U);
        const DeviceCommand& got = commands[0];
        EXPECT_EQ(got.kind, c.kind);
        EXPECT_EQ(got.cobId, c.cobId);
        EXPECT_EQ(got.bytes, c.bytes);
        EXPECT_EQ(got.description, c.description);
        EXPECT_EQ(got.enabled, c.enabled);
        EXPECT_EQ(got.notes.size(), c.enabled || c.refusal ? 0U : 1U);
        EXPECT_EQ(got.refusal ? std::optional(got.refusal->id) : std::nullopt, c.refusal);
        if (!c.refusal) {
            const INSTRUCTION d = got.draft();
            EXPECT_EQ(d.InstructionType, commandType(c.kind).code);
            EXPECT_EQ(d.CobId, std::to_string(*c.cobId));
            EXPECT_EQ(d.Bytes, std::to_string(c.bytes));
            EXPECT_TRUE(d.Index.empty() && d.MappingAddress.empty() && d.NodeAddress.empty());
        }
    }
}

TEST(DeviceCommands, ObjectsBecomeSdoCommandsOfOneTwoOrFourBytes) {
    const DeviceDescription d = read(device({}));
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
        {0x2008, CommandKind::UploadSdo, 8, DeviceText::CommandSdoSize},
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
        EXPECT_EQ(draft.Index, std::to_string(c.index));
        EXPECT_EQ(draft.SubIndex, "0");
        EXPECT_TRUE(draft.CobId.empty());
    }
    // The description is the object's name in the configuration's text encoding.
    const INSTRUCTION named = sdoCommand(d, 0x2001, 0, CommandKind::DownloadSdo).draft();
    EXPECT_EQ(named.Description, configTextFromUtf8("Drehzahl \xC3\xBC \xE9\x80\x9F\xE5\xBA\xA6"));
    EXPECT_NE(named.Description, "Drehzahl \xC3\xBC \xE9\x80\x9F\xE5\xBA\xA6");
    EXPECT_EQ(configTextToUtf8(named.Description), "Drehzahl \xC3\xBC \xE9\x80\x9F\xE5\xBA\xA6");
}

} // namespace
} // namespace torvane
