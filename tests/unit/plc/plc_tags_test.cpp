#include "devices/device_reader.h"
#include "model/atomic_file.h"
#include "model/config_file.h"
#include "plc/io_map.h"
#include "plc/plc_tags.h"
#include "plc/tag_files.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace torvane {
namespace {

const std::string kData = TORVANE_TEST_DATA_DIR;

INSTRUCTION command(const char* code, int node, const char* cobOrIndex, const char* address,
                    const char* bytes, const char* description = "") {
    INSTRUCTION i{};
    i.InstructionType = code;
    i.NodeAddress = std::to_string(node);
    (isPdoCommand(code) ? i.CobId : i.Index) = cobOrIndex;
    i.SubIndex = isPdoCommand(code) ? "" : "0";
    i.MappingAddress = address;
    i.Bytes = bytes;
    i.Description = description;
    i.NodeIndex = node == 0 ? 0 : 1;
    return i;
}

GatewayConfiguration configurationOf(int type, const std::vector<INSTRUCTION>& commands) {
    GatewayConfiguration cfg = newConfiguration(type);
    if (type == kCanopenMaster) {
        appendNode(cfg.Config, {"5", "Node-5"});
    }
    for (const INSTRUCTION& c : commands) {
        appendCommand(cfg.Config, c);
    }
    return cfg;
}

TEST(PlcTags, NamesAcceptedByEachTarget) {
    struct Case {
        const char* text;
        TagFormat format;
        const char* name;
    } const cases[] = {
        {"  a--b..c  ", TagFormat::Csv, "a_b_c"},
        {"\xE6\xB8\xA9\xE5\xBA\xA6 set", TagFormat::Iec, "set"},
        {"\xE6\xB8\xA9\xE5\xBA\xA6 set", TagFormat::Tia, "\xE6\xB8\xA9\xE5\xBA\xA6_set"},
        {"(*)", TagFormat::Tia, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tagIdentifier(c.text, c.format), c.name) << c.text;
    }
}

// Direction follows the data flow: a slave configuration turns its PDOs round. Address is the
// start of that image plus the mapping address; the fallback names tell node, type and object.
TEST(PlcTags, DirectionsAddressesTypesAndNames) {
    struct Case {
        int type;
        INSTRUCTION cmd;
        TagFormat format;
        PlcDirection direction;
        int address;
        TagType tagType;
        const char* name;
    } const cases[] = {
        {kCanopenMaster, command(kUploadSdo, 5, "24641", "2", "2"), TagFormat::Iec,
         PlcDirection::Input, 102, TagType::Word, "N05_USDO_6041h_00"},
        {kCanopenMaster, command(kDownloadSdo, 5, "8192", "0", "4"), TagFormat::Iec,
         PlcDirection::Output, 200, TagType::DWord, "N05_DSDO_2000h_00"},
        {kCanopenMaster, command(kTransmitPdo, 5, "389", "3", "1"), TagFormat::Iec,
         PlcDirection::Input, 103, TagType::Byte, "N05_TPDO_185h"},
        {kCanopenMaster, command(kReceivePdo, 5, "517", "4", "3", "Set point"), TagFormat::Csv,
         PlcDirection::Output, 204, TagType::ByteArray, "Set_point"},
        {kCanopenSlave, command(kTransmitPdo, 0, "385", "6", "2"), TagFormat::Iec,
         PlcDirection::Output, 206, TagType::Word, "GW_TPDO_181h"},
        {kCanopenSlave, command(kReceivePdo, 0, "513", "8", "4"), TagFormat::Iec,
         PlcDirection::Input, 108, TagType::DWord, "GW_RPDO_201h"},
    };
    for (const Case& c : cases) {
        TagOptions options;
        options.format = c.format;
        options.inputStart = 100;
        options.outputStart = 200;
        const TagResult r = buildTagTable(configurationOf(c.type, {c.cmd}), options);
        ASSERT_EQ(r.outcome, TagOutcome::Ok);
        ASSERT_EQ(r.table.tags.size(), 1U) << c.name;
        const PlcTag& t = r.table.tags[0];
        EXPECT_EQ(std::tie(t.direction, t.address, t.type, t.name),
                  std::tie(c.direction, c.address, c.tagType, c.name));
    }
}

// Names stay unique ignoring case; a big-endian target gets bytes instead of arrays; a command
// without its mapping address or beyond the buffer stops the export, naming it.
TEST(PlcTags, UniqueNamesBytesAndRefusals) {
    GatewayConfiguration cfg =
        configurationOf(kCanopenMaster, {command(kUploadSdo, 5, "1", "0", "2", "Speed"),
                                         command(kUploadSdo, 5, "2", "2", "2", "SPEED"),
                                         command(kTransmitPdo, 5, "389", "4", "3", "speed")});
    TagOptions tia;
    tia.format = TagFormat::Tia;
    const TagResult r = buildTagTable(cfg, tia);
    std::vector<std::string> names;
    for (const PlcTag& t : r.table.tags) {
        names.push_back(t.name + "@" + std::to_string(t.address));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Speed@0", "SPEED_2@2", "speed_3_b0@4",
                                               "speed_3_b1@5", "speed_3_b2@6"}));
    EXPECT_NE(r.table.tags[0].comment.find("swap bytes"), std::string::npos);

    struct Refusal {
        const char* address;
        const char* bytes;
        const char* message;
    } const refusals[] = {
        {"", "2", "Calculate Mapping Address first (command 2: Transmit PDO)"},
        {"3", "", "Please fill in the number of data for each command!"},
        {"111", "2", "Mapping addresses beyond the maximum range,  please decrease some commands!"},
    };
    for (const Refusal& f : refusals) {
        GatewayConfiguration bad =
            configurationOf(kCanopenMaster, {command(kUploadSdo, 5, "1", "0", "2"),
                                             command(kTransmitPdo, 5, "389", f.address, f.bytes)});
        const TagResult refused = buildTagTable(bad, {});
        EXPECT_EQ(refused.outcome, TagOutcome::Refused);
        EXPECT_EQ(refused.message.english(), f.message);
        EXPECT_EQ(refused.command, 1);
        EXPECT_TRUE(refused.table.tags.empty());
    }

    // A double quote in a CSV field is doubled.
    const TagResult quoted = buildTagTable(
        configurationOf(kCanopenMaster, {command(kUploadSdo, 5, "1", "0", "2", "say \"hi\"")}), {});
    EXPECT_NE(tagsCsv(quoted.table).find("\"say \"\"hi\"\"; Node 5"), std::string::npos);
}

// A mapped object of a device's default PDO gets the tag type of its data type.
TEST(PlcTags, MappedRealObjects) {
    DeviceDescription device;
    ASSERT_EQ(readDeviceFile(kData + "/plc/real_tpdo.eds", device).result, DeviceReadResult::Ok);
    TagOptions options;
    options.devices = {{1, &device}};
    const TagResult r = buildTagTable(
        configurationOf(kCanopenMaster, {command(kTransmitPdo, 5, "389", "0", "4")}), options);
    ASSERT_EQ(r.table.tags.size(), 1U);
    EXPECT_EQ(r.table.tags[0].type, TagType::Real);
}

// The test configuration in each format, with the devices of both nodes: golden files.
TEST(PlcTags, GoldenFiles) {
    GatewayConfiguration cfg;
    DocumentState doc;
    Message error;
    ASSERT_TRUE(loadConfigurationFile(kData + "/plc/master.xml", cfg, doc, error)) << error;
    DeviceDescription e35;
    DeviceDescription demo;
    ASSERT_EQ(readDeviceFile(kData + "/devices/e35.eds", e35).result, DeviceReadResult::Ok);
    ASSERT_EQ(readDeviceFile(kData + "/devices/demoDevice.eds", demo).result, DeviceReadResult::Ok);
    struct Case {
        TagFormat format;
        bool words;
        const char* golden;
    } const cases[] = {
        {TagFormat::Csv, false, "master.csv"},
        {TagFormat::Iec, false, "master.iec"},
        {TagFormat::Iec, true, "master_words.iec"},
        {TagFormat::Tia, false, "master_tia.tsv"},
    };
    for (const Case& c : cases) {
        TagOptions options;
        options.format = c.format;
        options.inputStart = 64;
        options.devices = {{1, &e35}, {2, &demo}};
        const TagResult r = buildTagTable(cfg, options);
        ASSERT_EQ(r.outcome, TagOutcome::Ok) << r.message;
        std::string text;
        if (c.format == TagFormat::Tia) {
            for (const SheetCells& sheet : tiaCells(r.table)) {
                for (const CellText& cell : sheet.cells) {
                    if (cell.text.empty()) {
                        continue;
                    }
                    text += sheet.sheetName + "\t" + std::to_string(cell.row) + "\t" +
                            std::to_string(cell.column) + "\t" + cell.text + "\n";
                }
            }
        } else {
            ASSERT_TRUE(tagFileBytes(r.table, c.words, text, error));
        }
        std::string golden;
        ASSERT_TRUE(readWholeFile(kData + "/plc/" + c.golden, golden, error)) << error;
        EXPECT_EQ(text, golden) << c.golden;
    }
}

// The map lists both buffers in address order with their free bytes and the checks' verdict.
TEST(IoMap, BuffersFreeBytesAndChecks) {
    GatewayConfiguration cfg =
        configurationOf(kCanopenMaster, {command(kTransmitPdo, 5, "389", "4", "2", "b<&>"),
                                         command(kUploadSdo, 5, "24641", "0", "2")});
    cfg.Fieldbus.InportNum = "16";
    const std::string html = ioMapHtml(cfg, {"a.xml", "today", 10, 20});
    EXPECT_LT(html.find("%IB10..%IB11"), html.find("%IB14..%IB15"));
    EXPECT_NE(html.find("Free bytes: 2..3, 6..15 (12 bytes)"), std::string::npos);
    EXPECT_NE(html.find("Free bytes: 0..15 (16 bytes)"), std::string::npos);
    EXPECT_NE(html.find("b&lt;&amp;&gt;"), std::string::npos);
    EXPECT_NE(html.find("All checks passed."), std::string::npos);
    appendCommand(cfg.Config, command(kUploadSdo, 5, "1", "1", "2"));
    EXPECT_NE(ioMapHtml(cfg, {}).find("Mapping address conflict !"), std::string::npos);
}

} // namespace
} // namespace torvane
