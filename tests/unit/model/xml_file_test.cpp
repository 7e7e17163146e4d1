#include "model/atomic_file.h"
#include "model/xml_file.h"

#include <functional>
#include <gtest/gtest.h>

namespace torvane {
namespace {

std::string dataFile(const std::string& name) {
    std::string bytes;
    Message error;
    EXPECT_TRUE(readWholeFile(std::string(TORVANE_TEST_DATA_DIR) + "/" + name, bytes, error))
        << error;
    return bytes;
}

// Every kind of command, markup characters and code-page bytes, as the writer lays them out.
TEST(XmlFile, ReadingAndWritingAgainGivesTheSameBytes) {
    const std::string xml = dataFile("model/master.xml");
    GatewayConfiguration read = newConfiguration(kCanopenSlave);
    Message error;
    ASSERT_TRUE(readXml(xml, read, error)) << error;
    EXPECT_EQ(writeXml(read), xml);
}

// What was open before reading: fields the XML file does not carry are marked.
GatewayConfiguration marked() {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    cfg.Config.RPDOCycle = "kept";
    cfg.Config.SDORetries = "kept";
    cfg.Config.SlaveNodeAddress = "kept";
    cfg.Config.ConfigEdition = 210;
    cfg.Fieldbus.AuxParam = "kept";
    cfg.Config.Instructions[0].SpareText = "kept";
    cfg.Config.Instructions[0].CobId = "kept";
    cfg.Config.Nodes[1].NodeName = "kept";
    return cfg;
}

constexpr const char* kHead = R"(<?xml version="1.0" encoding="gb2312"?>
<FiledBus Value="FiledBus"><InportNum Value="96"/></FiledBus>
)";
constexpr const char* kMaster = R"(<Master Value="Master"><a Value="500K"/><b Value="9"/>
<c Value="1"/><d Value="Enable"/><e Value="2"/><f Value="3"/><g Value="4"/><h Value="Enable"/>
<i Value="5"/><j Value="1"/><k Value="1"/></Master>
)";
constexpr const char* kNode = R"(<Node Value="Node"><x Value="Valve"/><y Value="12"/></Node>
)";
constexpr const char* kCommand = R"(<Instruction Value="Instruction"><n Value="Bogus"/>
<a Value="12"/><i Value="0x2000"/><s Value="3"/><b Value="4"/><m Value="6"/><d Value="d"/>
<x Value="1"/></Instruction>
)";

std::string file(const std::string& type, const std::string& canopenBody) {
    return std::string(kHead) + R"(<ConfigType Value=")" + type + R"("/>
<ConfigEdition Value="320"/>
<CANopen Value="CANopen">)" +
           canopenBody + "</CANopen>\n";
}

// Type, InportNum, baud rate, error control, node count, first node's name, first command's
// type and index.
std::string summary(const GatewayConfiguration& cfg) {
    const CONFIG& c = cfg.Config;
    return std::to_string(cfg.ConfigType) + " " + cfg.Fieldbus.InportNum + " " + c.BuadRate + " " +
           c.ErrorControl + " " + std::to_string(c.NodeCount) + " " + c.Nodes[0].NodeName + " [" +
           c.Instructions[0].InstructionType + "] " + c.Instructions[0].Index;
}

TEST(XmlFile, ForgivingReaderCases) {
    const std::string all = std::string(kMaster) + kNode + kCommand;
    const std::string truncated = file("TAVO20", all);
    const struct {
        const char* name;
        std::string xml;
        const char* summary;
    } cases[] = {
        {"type differs in case", file("tavo20", all), "1 96 500K 5 1 Valve [] 0x2000"},
        // Master after the nodes is still found; the nodes then come from what follows Master.
        {"Master found by Value", file("TAVO20", std::string(kNode) + kMaster + kCommand),
         "0 96 500K 5 1 Bogus [] 0x2000"},
        {"no Master", file("TAVO20S", kNode), "1 96 250K 0 0 New node [] "},
        {"Master cut short",
         file("TAVO20", R"(<Master Value="Master"><a Value="10K"/><b Value="9"/></Master>)"),
         "0 96 10K 0 0 New node [] "},
        {"file cut off inside a command", truncated.substr(0, truncated.find("<s Value")),
         "0 96 500K 5 1 Valve [] 0x2000"},
        {"mismatched closing tag", file("TAVO20", std::string(kMaster) + "<Node></Nod>" + kCommand),
         "0 96 500K 5 1 New node [] "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GatewayConfiguration cfg = marked();
        Message error;
        ASSERT_TRUE(readXml(c.xml, cfg, error)) << error;
        EXPECT_EQ(summary(cfg), c.summary);
        // Reading starts from a new configuration of the file's type: nothing of the one open
        // before survives, and every field the file does not carry has its new value.
        GatewayConfiguration expected = newConfiguration(cfg.ConfigType);
        expected.Fieldbus.InportNum = cfg.Fieldbus.InportNum;
        for (auto field : kMasterBlock) {
            if (field != &CONFIG::RPDOCycle && field != &CONFIG::OutputProcessing &&
                field != &CONFIG::SDOCycle && field != &CONFIG::SDOConcurrent &&
                field != &CONFIG::SDORetries && field != &CONFIG::SDOPollDelay) {
                expected.Config.*field = cfg.Config.*field;
            }
        }
        expected.Config.NodeCount = cfg.Config.NodeCount;
        expected.Config.InstructionCount = cfg.Config.InstructionCount;
        expected.Config.Nodes = cfg.Config.Nodes;
        expected.Config.Instructions = cfg.Config.Instructions;
        EXPECT_EQ(cfg, expected);
        EXPECT_EQ(cfg.Config.Nodes[1].NodeName, "New node");
        EXPECT_EQ(cfg.Config.Instructions[0].SpareText, "");
    }
}

// Only the rows of the configuration's own type that XML cannot hold and that differ from a new
// configuration are named.
TEST(XmlFile, FieldsAWriteDropsAreNamedWithTheirValues) {
    using Edit = std::function<void(GatewayConfiguration&)>;
    const struct {
        const char* name;
        int type;
        Edit edit;
        std::string named;
    } cases[] = {
        {"new master", kCanopenMaster, [](GatewayConfiguration&) {}, ""},
        {"master SDO rows", kCanopenMaster,
         [](GatewayConfiguration& c) {
             c.Config.SDOCycle = "5";
             c.Config.SDOConcurrent = "Disable";
             c.Config.SDORetries = "2";
             c.Config.SDOPollDelay = "10";
         },
         "The Cycle for SDO Transmission (5), SDO Send Concurrently (Disable), Retries of SDO "
         "(2), SDO Poll Delay Time (10)"},
    };
    for (const auto& c : cases) {
        GatewayConfiguration cfg = newConfiguration(c.type);
        c.edit(cfg);
        EXPECT_EQ(droppedFieldsText(fieldsXmlDrops(cfg)).english(), c.named) << c.name;
    }
}

TEST(XmlFile, CountsAndCommandsStopAtTheTableEnds) {
    std::string body = R"(<Master Value="Master"><a/><b/><c/><d/><e/><f/><g/><h/><i/>
<j Value="100000"/><k Value="99999"/></Master>)";
    for (int i = 0; i < 130; ++i) {
        body += kNode;
    }
    for (int i = 0; i < 300; ++i) {
        body += kCommand;
    }
    GatewayConfiguration cfg = marked();
    Message error;
    ASSERT_TRUE(readXml(file("TAVO20", body), cfg, error)) << error;
    EXPECT_EQ(cfg.Config.NodeCount, 128);
    EXPECT_EQ(cfg.Config.InstructionCount, 256);
    EXPECT_EQ(cfg.Config.Nodes[127].NodeName, "Valve");
    EXPECT_EQ(cfg.Config.Instructions[255].Description, "d");
}

TEST(XmlFile, DamageIsToldInWordsAndARefusedFileChangesNothing) {
    const struct {
        const char* name;
        std::string xml;
        int damagedLine; // -1: refused
        const char* error;
    } cases[] = {
        {"well-formed", file("TAVO20", kMaster), 0, ""},
        {"mismatched tag on line 3", "<A/><ConfigType/>\n<B>\n</C>\n", 3, ""},
        // A file holds a configuration when its second top-level element names the type.
        {"a single root", "<html><head/><body/></html>", -1, "holds no configuration"},
        {"empty", "", -1, "the file holds no readable XML element (no element found)"},
        {"only a comment", "<!-- none -->", -1, "the file holds no XML element"},
        {"NUL before the element", std::string("\0<A/>", 5), -1,
         "the file holds no readable XML element (no element found)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GatewayConfiguration cfg = marked();
        Message error;
        int line = -7;
        EXPECT_EQ(readXml(c.xml, cfg, error, &line), c.damagedLine >= 0);
        EXPECT_EQ(error.english(), c.error);
        if (c.damagedLine >= 0) {
            EXPECT_EQ(line, c.damagedLine);
        } else {
            EXPECT_EQ(cfg, marked());
        }
    }
}

} // namespace
} // namespace torvane
