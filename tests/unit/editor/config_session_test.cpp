#include "../../support/english.h"
#include "editor/config_session.h"
#include "model/config_file.h"
#include "model/strings.h"

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
    SaveAnswer askSaveChanges(SaveReason) override { return SaveAnswer::No; }
    bool askSaveDropping(const std::vector<DroppedField>&) override { return false; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    void tell(const std::string&, const Message&) override {}
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

// A step that sets SDO Timeout to `value`, as a committed cell would.
void edit(ConfigSession& session, const std::string& value) {
    session.configuration().Config.SDOTimeout = value;
    const TreeSelection at{TreeItemKind::CanopenSlave, 0, ""};
    session.markModified({Message::plain("SDO Timeout"), at, at});
}

TEST(ConfigSession, ChangeCountMovesWithEveryChangeOfTheShownConfiguration) {
    SlaveUi ui;
    ConfigSession session(ui);
    // Step, undo, redo, nothing to redo, another document, nothing to undo, an upload.
    const std::vector<std::pair<std::function<void()>, bool>> cases = {
        {[&] { edit(session, "300"); }, true},
        {[&] { session.undo(); }, true},
        {[&] { session.redo(); }, true},
        {[&] { session.redo(); }, false},
        {[&] { session.beginDocument(); }, true},
        {[&] { session.undo(); }, false},
        {[&] { session.adoptUpload(newConfiguration(kCanopenSlave)); }, true},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const int before = session.changeCount();
        cases[i].first();
        EXPECT_EQ(session.changeCount() != before, cases[i].second) << i;
    }
}

TEST(ConfigSessionHistory, UndoAndRedoRestoreTheConfigurationAndTheItem) {
    SlaveUi ui;
    ConfigSession session(ui);
    ASSERT_EQ(session.document().newDocument().status, DocStatus::Done);
    EXPECT_EQ(session.undoStep(), nullptr);
    EXPECT_FALSE(session.undo());

    const std::string original = session.configuration().Config.SDOTimeout;
    const TreeSelection side = canopenSideItem(session.configuration());
    session.configuration().FirmwareVersion = "2.0";
    session.editorState().firmwareIndex = 1;
    session.configuration().Config.NodeCount = 1;
    session.markModified({str::StepAddNode, side, {TreeItemKind::Node, 1, ""}});
    edit(session, "300");
    ASSERT_NE(session.undoStep(), nullptr);
    EXPECT_EQ(session.undoStep()->name, "SDO Timeout");

    ASSERT_TRUE(session.undo());
    EXPECT_EQ(session.configuration().Config.SDOTimeout, original);
    EXPECT_EQ(session.redoStep()->name, "SDO Timeout");
    const std::optional<TreeSelection> before = session.undo();
    ASSERT_TRUE(before);
    EXPECT_EQ(*before, side);
    EXPECT_EQ(session.configuration().Config.NodeCount, 0);
    EXPECT_EQ(session.configuration().FirmwareVersion, "3.0");
    EXPECT_EQ(session.editorState().firmwareIndex, 0);

    const std::optional<TreeSelection> after = session.redo();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->kind, TreeItemKind::Node);
    EXPECT_EQ(session.configuration().Config.NodeCount, 1);
    EXPECT_EQ(session.editorState().firmwareIndex, 1);

    // A new step forgets what could be redone.
    edit(session, "400");
    EXPECT_EQ(session.redoStep(), nullptr);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(session.configuration().Config.SDOTimeout, original);

    // Another document starts an empty history.
    session.beginDocument();
    EXPECT_EQ(session.undoStep(), nullptr);
    EXPECT_EQ(session.redoStep(), nullptr);
}

TEST(ConfigSessionHistory, ModifiedMarkIsClearedExactlyAtTheStateLastOpenedOrSaved) {
    // Each case: what happens after two steps, then the marks seen while undoing twice and
    // redoing twice.
    enum class Event { None, ArchiveSave, XmlSave, Upload };
    const struct {
        const char* name;
        Event afterFirstStep;
        bool modified[4]; // after undo, undo, redo, redo
    } cases[] = {
        {"opened file", Event::None, {true, false, true, true}},
        {"archive save after the first step", Event::ArchiveSave, {false, true, false, true}},
        {"xml save keeps the mark", Event::XmlSave, {true, false, true, true}},
        {"uploaded configuration is on no disk", Event::Upload, {true, true, true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SlaveUi ui;
        ConfigSession session(ui);
        ASSERT_EQ(session.document().newDocument().status, DocStatus::Done);
        if (c.afterFirstStep == Event::Upload) {
            session.adoptUpload(newConfiguration(kCanopenMaster));
        }
        edit(session, "300");
        if (c.afterFirstStep == Event::ArchiveSave) {
            session.document().setModified(false);
        }
        edit(session, "400");
        const bool seen[4] = {
            (session.undo(), session.document().ModifiedFlag()),
            (session.undo(), session.document().ModifiedFlag()),
            (session.redo(), session.document().ModifiedFlag()),
            (session.redo(), session.document().ModifiedFlag()),
        };
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(seen[i], c.modified[i]) << "after move " << i + 1;
        }
    }
}

TEST(ConfigSessionHistory, KeepsTheLastStepsOnly) {
    SlaveUi ui;
    ConfigSession session(ui);
    ASSERT_EQ(session.document().newDocument().status, DocStatus::Done);
    const std::size_t steps = ConfigSession::kHistoryLimit + 5;
    for (std::size_t i = 1; i <= steps; ++i) {
        edit(session, std::to_string(i));
    }
    std::size_t undone = 0;
    while (session.undo()) {
        ++undone;
    }
    EXPECT_EQ(undone, ConfigSession::kHistoryLimit);
    EXPECT_EQ(session.configuration().Config.SDOTimeout, "5");
    // The opened state is gone from the history, so the mark stays.
    EXPECT_TRUE(session.document().ModifiedFlag());
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
    SaveAnswer askSaveChanges(SaveReason) override { return save; }
    bool askSaveDropping(const std::vector<DroppedField>&) override { return true; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override {
        const std::optional<std::string> f = files.empty() ? std::nullopt : files.front();
        if (!files.empty()) {
            files.pop_front();
        }
        return f;
    }
    void tell(const std::string&, const Message&) override {}
};

// Every way another configuration arrives forgets the copied node and counts as another
// document; a command that was cancelled or failed keeps both.
TEST(ConfigSession, EveryLoadBeginsADocumentAndForgetsTheCopiedNode) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "torvane-session-loads";
    fs::create_directories(dir);
    const std::string file = (dir / "two.chg").string();
    const std::string xml = (dir / "two.xml").string();
    Message error;
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
