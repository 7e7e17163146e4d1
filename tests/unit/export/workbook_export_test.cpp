#include "../../support/english.h"
#include "../../support/scratch_dir.h"
#include "export/workbook_export.h"
#include "model/atomic_file.h"
#include "model/strings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <tinyxml2.h>
#include <tuple>
#include <zip.h>

namespace torvane {
namespace {

namespace fs = std::filesystem;

using Grid = std::map<std::pair<int, int>, std::string>;

Grid gridOf(const std::vector<SheetCells>& sheets, const std::string& name) {
    Grid g;
    for (const SheetCells& s : sheets) {
        if (s.sheetName == name) {
            for (const CellText& c : s.cells) {
                EXPECT_TRUE(g.emplace(std::make_pair(c.row, c.column), c.text).second)
                    << name << " cell written twice";
            }
        }
    }
    return g;
}

void add(GatewayConfiguration& cfg, const char* type, const char* node, const char* index,
         const char* cob, const char* description) {
    INSTRUCTION& ins =
        cfg.Config.Instructions[static_cast<std::size_t>(cfg.Config.InstructionCount++)];
    ins = {node, type, index, "1", cob, "7", "2", description, "", 1};
}

TEST(WorkbookCells, ValueAndHex) {
    const std::map<std::string, std::string> cases = {
        {"24576", "24576 (6000H)"}, {"", "0 (0H)"}, {"12ab", "12 (cH)"}, {"2046", "2046 (7feH)"}};
    for (const auto& [text, want] : cases) {
        EXPECT_EQ(valueAndHex(text), want) << text;
    }
}

// The SDO retries and poll delay are written only where SDOs do not run concurrently.
TEST(WorkbookCells, MasterSdoOptionsFollowConcurrency) {
    for (const bool concurrent : {true, false}) {
        GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
        cfg.Config.SDOConcurrent = concurrent ? str::Enable : str::Disable;
        cfg.Config.SDORetries = "3";
        const Grid canopen = gridOf(workbookCells(cfg), "CANopen");
        EXPECT_EQ(canopen.count({2, 15}), concurrent ? 0U : 1U) << concurrent;
    }
}

// Texts in the code page become UTF-8, a broken one included.
TEST(WorkbookCells, SlaveRowsCarryTheGatewayNodeAndNoSdos) {
    GatewayConfiguration cfg = newConfiguration(kCanopenSlave);
    cfg.Config.SlaveNodeAddress = "42";
    add(cfg, "1", "5", "24576", "", "sdo");
    add(cfg, "4", "9", "", "555", "cut \xb5");
    add(cfg, "3", "", "", "430", "\xb5\xe7");
    const std::vector<SheetCells> sheets = workbookCells(cfg);
    ASSERT_EQ(sheets.size(), 4U);
    EXPECT_EQ(gridOf(sheets, "CANopen"), (Grid{{{2, 1}, "250K"},
                                               {{2, 2}, "42"},
                                               {{2, 3}, "0"},
                                               {{2, 4}, "100"},
                                               {{2, 5}, "1"},
                                               {{2, 6}, "1"}}));
    const Grid rpdo = gridOf(sheets, "RPDO");
    const Grid tpdo = gridOf(sheets, "TPDO");
    EXPECT_EQ(std::tie(rpdo.at({2, 1}), rpdo.at({2, 5}), tpdo.at({2, 1}), tpdo.at({2, 2}),
                       tpdo.at({2, 5})),
              std::make_tuple("42", "cut \xef\xbf\xbd", "42", "430 (1aeH)", "\xe7\x94\xb5"));
}

TEST(XlsxPackage, ColumnLetters) {
    const std::map<int, std::string> cases = {{26, "Z"},      {27, "AA"}, {702, "ZZ"}, {703, "AAA"},
                                              {16384, "XFD"}, {0, ""},    {16385, ""}};
    for (const auto& [column, letters] : cases) {
        EXPECT_EQ(columnLetters(column), letters) << column;
    }
}

// Part `name` of a zip package held in memory; empty when it is missing.
std::string zipPart(const std::string& package, const std::string& name) {
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src = zip_source_buffer_create(package.data(), package.size(), 0, &err);
    zip_t* za = zip_open_from_source(src, ZIP_RDONLY, &err);
    zip_error_fini(&err);
    if (za == nullptr) {
        zip_source_free(src);
        return {};
    }
    std::string out;
    zip_stat_t st;
    if (zip_stat(za, name.c_str(), 0, &st) == 0) {
        zip_file_t* f = zip_fopen(za, name.c_str(), 0);
        out.resize(st.size);
        zip_fread(f, out.data(), st.size);
        zip_fclose(f);
    }
    zip_discard(za);
    return out;
}

std::string templatePath(const char* name) {
    return (fs::path(TORVANE_DATA_BUILD_DIR) / name).string();
}

std::string readFile(const std::string& path) {
    std::string bytes;
    Message error;
    EXPECT_TRUE(readWholeFile(path, bytes, error)) << error;
    return bytes;
}

// Cell texts of a sheet part: reference -> (style attribute, inline text).
std::map<std::string, std::pair<std::string, std::string>> cellsOf(const std::string& xml) {
    std::map<std::string, std::pair<std::string, std::string>> cells;
    tinyxml2::XMLDocument doc;
    EXPECT_EQ(doc.Parse(xml.data(), xml.size()), tinyxml2::XML_SUCCESS);
    auto* data = doc.RootElement()->FirstChildElement("sheetData");
    int lastRow = 0;
    for (auto* row = data->FirstChildElement("row"); row; row = row->NextSiblingElement("row")) {
        EXPECT_GT(row->IntAttribute("r"), lastRow) << "rows out of order";
        lastRow = row->IntAttribute("r");
        for (auto* c = row->FirstChildElement("c"); c; c = c->NextSiblingElement("c")) {
            const char* s = c->Attribute("s");
            auto* t = c->FirstChildElement("is");
            const char* text = t ? t->FirstChildElement("t")->GetText() : nullptr;
            cells[c->Attribute("r")] = {s ? s : "", text ? text : ""};
        }
    }
    return cells;
}

TEST(XlsxPackage, FillsCellsInOrderAndKeepsTheRest) {
    const std::string tpl = readFile(templatePath(kTemplateSlaveFile));
    const std::string sheetBefore = zipPart(tpl, "xl/worksheets/sheet2.xml");
    const std::vector<SheetCells> sheets = {{"TPDO",
                                             {{3, 2, "second row"},
                                              {2, 5, " padded "},
                                              {2, 1, "a\x01_x0041_b"},
                                              {2, 3, "bad \xff utf8 \xe4\xb8\xad"},
                                              {1, 1, "replaced header"}}}};
    std::string out;
    Message error;
    ASSERT_TRUE(fillWorkbookPackage(tpl, sheets, out, error)) << error;
    for (const char* part : {"xl/styles.xml", "xl/workbook.xml", "xl/sharedStrings.xml",
                             "xl/worksheets/sheet1.xml", "[Content_Types].xml"}) {
        EXPECT_EQ(zipPart(out, part), zipPart(tpl, part)) << part;
    }
    const auto before = cellsOf(sheetBefore);
    const auto after = cellsOf(zipPart(out, "xl/worksheets/sheet2.xml"));
    EXPECT_EQ(after.at("A1").first, before.at("A1").first) << "header style lost";
    EXPECT_EQ(after.at("B1"), before.at("B1"));
    EXPECT_EQ(after.at("A1").second + "|" + after.at("B3").second + "|" + after.at("E2").second +
                  "|" + after.at("A2").second + "|" + after.at("C2").second,
              "replaced header|second row| padded |a_x0001__x005F_x0041_b|bad \xef\xbf\xbd utf8 "
              "\xe4\xb8\xad");
    EXPECT_NE(zipPart(out, "xl/worksheets/sheet2.xml").find("<dimension ref=\"A1:E3\"/>"),
              std::string::npos);
}

TEST(XlsxPackage, RefusesWhatIsNoUsableWorkbook) {
    const std::string tpl = readFile(templatePath(kTemplateMasterFile));
    // Compressed bytes of the first sheet overwritten: the part no longer inflates.
    std::string damaged = tpl;
    const std::size_t sheet = damaged.find("xl/worksheets/sheet1.xml") + 40;
    damaged.replace(sheet, 16, 16, '\x5a');
    const struct {
        const char* name;
        std::string package;
        std::vector<SheetCells> sheets;
    } cases[] = {
        {"truncated", tpl.substr(0, tpl.size() / 2), {{"CANopen", {{2, 1, "x"}}}}},
        {"missing sheet", tpl, {{"CANopen", {}}, {"No Such Sheet", {{2, 1, "x"}}}}},
        {"slave sheet set on master",
         readFile(templatePath(kTemplateSlaveFile)),
         {{"Upload SDO", {}}}},
        {"cell outside", tpl, {{"CANopen", {{0, 1, "x"}}}}},
        {"damaged sheet data", damaged, {{"CANopen", {{2, 1, "x"}}}}},
    };
    for (const auto& c : cases) {
        std::string out = "stale";
        Message error;
        EXPECT_FALSE(fillWorkbookPackage(c.package, c.sheets, out, error)) << c.name;
        EXPECT_TRUE(out.empty()) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
}

// A bad template or an unwritable target writes nothing and keeps what was there.
TEST(WorkbookFile, FailuresWriteNothing) {
    const test::ScratchDir scratch;
    const fs::path dir = scratch.path;
    std::ofstream(dir / "broken.xlsx") << "not a workbook";
    std::ofstream(dir / "existing.xlsx") << "previous";
    const std::string slave = templatePath(kTemplateSlaveFile);
    const struct {
        std::string tpl;
        const char* target;
        WorkbookResult result;
        std::string message;
    } cases[] = {
        {(dir / "missing.xlsx").string(), "existing.xlsx", WorkbookResult::TemplateUnreadable,
         "Cannot read the workbook template " + (dir / "missing.xlsx").string()},
        {(dir / "broken.xlsx").string(), "fresh.xlsx", WorkbookResult::TemplateBroken,
         "The workbook template is damaged: " + (dir / "broken.xlsx").string()},
        {slave, "existing.xlsx", WorkbookResult::TemplateBroken,
         "The workbook template is damaged: " + slave},
        {slave, "no/folder/a.xlsx", WorkbookResult::SaveFailed,
         "Cannot save the workbook " + (dir / "no/folder/a.xlsx").string()},
    };
    for (const auto& c : cases) {
        const int type = c.result == WorkbookResult::SaveFailed ? kCanopenSlave : kCanopenMaster;
        const WorkbookOutcome r =
            exportWorkbook(newConfiguration(type), c.tpl, (dir / c.target).string());
        EXPECT_EQ(r.result, c.result) << c.tpl;
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(readFile((dir / "existing.xlsx").string()), "previous");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    }
}

} // namespace
} // namespace torvane
