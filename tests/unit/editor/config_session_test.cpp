#include "editor/config_session.h"
#include "model/config_file.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace torvane {
namespace {

// Answers "slave" to the configuration-type question; nothing else is expected.
struct SlaveUi : DocumentUi {
    std::optional<int> askConfigType() override { return kCanopenSlave; }
    std::optional<int> askConfigFormat() override { return std::nullopt; }
    SaveAnswer askSaveChanges() override { return SaveAnswer::No; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    void tell(const std::string&, const std::string&) override {}
};

TEST(ConfigSession, DocumentTreeEditorAndListenersWorkOnTheOneLiveConfiguration) {
    SlaveUi ui;
    ConfigSession session(ui);
    int notified = 0;
    session.onModified([&] {
        // Listeners run after the flag is set, so they see the new state.
        EXPECT_TRUE(session.document().ModifiedFlag());
        ++notified;
    });

    ASSERT_EQ(session.document().newDocument().status, DocStatus::Done);
    EXPECT_EQ(session.configuration().ConfigType, kCanopenSlave);

    // A replaced configuration (a finished upload) stays the one the rules edit.
    session.configuration() = newConfiguration(kCanopenMaster);
    const TreeEditResult added =
        session.treeEditor().addNode(canopenSideItem(session.configuration()));
    EXPECT_TRUE(added.changed);
    EXPECT_EQ(session.configuration().Config.NodeCount, 1);

    session.markModified();
    EXPECT_EQ(notified, 1);

    session.configuration().Config.Nodes[0] = {"5", "Node-5"};
    const TreeSelection node{TreeItemKind::Node, 1,
                             session.configuration().Config.Nodes[0].NodeName};
    session.treeEditor().copyNode(node);
    ASSERT_TRUE(session.treeEditor().copyState().pastePossible);
    const int generation = session.documentGeneration();
    session.beginDocument();
    EXPECT_EQ(session.documentGeneration(), generation + 1);
    EXPECT_FALSE(session.treeEditor().copyState().pastePossible);
}

// Answers from a script: the type question, the save question and the file dialog.
struct ScriptUi : DocumentUi {
    std::deque<std::optional<int>> types;
    std::deque<std::optional<std::string>> files;
    SaveAnswer save = SaveAnswer::No;
    std::optional<int> askConfigType() override {
        const std::optional<int> t = types.empty() ? std::nullopt : types.front();
        if (!types.empty()) {
            types.pop_front();
        }
        return t;
    }
    std::optional<int> askConfigFormat() override { return std::nullopt; }
    SaveAnswer askSaveChanges() override { return save; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override {
        const std::optional<std::string> f = files.empty() ? std::nullopt : files.front();
        if (!files.empty()) {
            files.pop_front();
        }
        return f;
    }
    void tell(const std::string&, const std::string&) override {}
};

// Every way another configuration arrives forgets the copied node and counts as another
// document; a command that was cancelled or failed keeps both.
TEST(ConfigSession, EveryLoadBeginsADocumentAndForgetsTheCopiedNode) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "torvane-session-loads";
    fs::create_directories(dir);
    const std::string file = (dir / "two.chg").string();
    const std::string xml = (dir / "two.xml").string();
    std::string error;
    ASSERT_TRUE(saveConfigurationFile(file, newConfiguration(kCanopenMaster), error)) << error;
    ASSERT_TRUE(saveConfigurationFile(xml, newConfiguration(kCanopenMaster), error)) << error;

    using Run = std::function<void(ConfigSession&, ScriptUi&)>;
    const struct {
        const char* what;
        Run run;
        bool begins;
    } cases[] = {
        {"New",
         [](ConfigSession& s, ScriptUi& ui) {
             ui.types = {kCanopenMaster};
             s.document().newDocument();
         },
         true},
        {"Open",
         [&](ConfigSession& s, ScriptUi& ui) {
             ui.files = {file};
             s.document().open();
         },
         true},
        {"Open XML",
         [&](ConfigSession& s, ScriptUi& ui) {
             ui.files = {xml};
             s.document().open();
         },
         true},
        {"recent file", [&](ConfigSession& s, ScriptUi&) { s.document().openPath(file); }, true},
        {"upload",
         [](ConfigSession& s, ScriptUi&) { s.adoptUpload(newConfiguration(kCanopenMaster)); },
         true},
        {"New, type cancelled", [](ConfigSession& s, ScriptUi&) { s.document().newDocument(); },
         false},
        {"Open, dialog cancelled", [](ConfigSession& s, ScriptUi&) { s.document().open(); }, false},
        {"Open, save question cancelled",
         [&](ConfigSession& s, ScriptUi& ui) {
             ui.save = SaveAnswer::Cancel;
             s.markModified();
             ui.files = {file};
             s.document().open();
         },
         false},
        {"missing file",
         [&](ConfigSession& s, ScriptUi&) { s.document().openPath(file + ".gone"); }, false},
    };
    for (const auto& c : cases) {
        ScriptUi ui;
        ConfigSession session(ui);
        ui.types = {kCanopenMaster};
        ASSERT_EQ(session.document().startUp(std::nullopt).status, DocStatus::Done);
        session.treeEditor().addNode(canopenSideItem(session.configuration()));
        session.configuration().Config.Nodes[0] = {"5", "Node-5"};
        session.treeEditor().copyNode({TreeItemKind::Node, 1, "Node-5"});
        ASSERT_TRUE(session.treeEditor().copyState().pastePossible) << c.what;
        const int generation = session.documentGeneration();
        c.run(session, ui);
        EXPECT_EQ(session.documentGeneration() != generation, c.begins) << c.what;
        EXPECT_EQ(session.treeEditor().copyState().pastePossible, !c.begins) << c.what;
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace torvane
