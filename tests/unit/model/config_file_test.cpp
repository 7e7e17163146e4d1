#include "../../support/scratch_dir.h"
#include "model/atomic_file.h"
#include "model/config_file.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace torvane {
namespace {

namespace fs = std::filesystem;

TEST(ConfigFile, OnlyTheExactExtensionXmlMeansXml) {
    const std::pair<const char*, bool> cases[] = {
        {"/x/y/a.b.xml", true}, {"a.XML", false},     {"axml", false},
        {"a.xml.chg", false},   {"dir.xml/a", false}, {"a.xml ", false},
    };
    for (const auto& [name, xml] : cases) {
        EXPECT_EQ(isXmlFileName(name), xml) << name;
    }
}

class ConfigFileTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir_.file(name); }
    test::ScratchDir dir_;
};

TEST_F(ConfigFileTest, RefusedFilesNameTheFileAndChangeNothing) {
    const std::string bad = std::string(TORVANE_TEST_DATA_DIR) + "/bad/";
    Message error;
    ASSERT_TRUE(writeFileAtomically(path("holds.XML"), "<?xml version=\"1.0\"?><A/>", error));
    for (const std::string& file :
         {bad + "truncated.chg", bad + "no_element.xml", path("missing.chg"), path("holds.XML")}) {
        GatewayConfiguration live = newConfiguration(kCanopenSlave);
        live.Config.NodeCount = 1;
        DocumentState doc;
        doc.FileKind = kFileKindXml;
        doc.CurrentFilePath = "previous.xml";
        doc.ModifiedFlag = true;
        const GatewayConfiguration before = live;
        EXPECT_FALSE(loadConfigurationFile(file, live, doc, error)) << file;
        EXPECT_NE(error.english().find(file), std::string::npos) << error;
        EXPECT_EQ(live, before) << file;
        EXPECT_EQ(std::tie(doc.FileKind, doc.CurrentFilePath, doc.LoadedFromArchive),
                  std::make_tuple(kFileKindXml, "previous.xml", false));
    }
}

TEST_F(ConfigFileTest, SavesAndLoadsBothKindsWithTheFileState) {
    GatewayConfiguration cfg = newConfiguration(kCanopenSlave);
    cfg.Config.SYNC = "12";
    const struct {
        const char* name;
        int kind;
        bool fromArchive;
    } cases[] = {{"a.chg", kFileKindArchive, true}, {"a.xml", kFileKindXml, false}};
    for (const auto& c : cases) {
        Message error;
        ASSERT_TRUE(saveConfigurationFile(path(c.name), cfg, error)) << error;
        GatewayConfiguration live = newConfiguration(kCanopenMaster);
        DocumentState doc;
        doc.ModifiedFlag = true;
        ASSERT_TRUE(loadConfigurationFile(path(c.name), live, doc, error)) << error;
        EXPECT_EQ(std::tie(live.ConfigType, live.Config.SYNC, doc.FileKind, doc.CurrentFilePath,
                           doc.LoadedFromArchive, doc.ModifiedFlag),
                  std::make_tuple(kCanopenSlave, "12", c.kind, path(c.name), c.fromArchive, true));
    }
}

TEST_F(ConfigFileTest, AFailedSaveIsReportedForBothKinds) {
    for (const char* name : {"a.chg", "a.xml"}) {
        Message error;
        EXPECT_FALSE(saveConfigurationFile(path("missing/") + name,
                                           newConfiguration(kCanopenMaster), error));
        EXPECT_NE(error.english().find(path("missing/") + name), std::string::npos) << error;
    }
}

} // namespace
} // namespace torvane
