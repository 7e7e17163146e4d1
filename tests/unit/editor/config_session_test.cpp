#include "editor/config_session.h"

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

// A step that sets SDO Timeout to `value`, as a committed cell would.
void edit(ConfigSession& session, const std::string& value) {
    session.configuration().Config.SDOTimeout = value;
    const TreeSelection at{TreeItemKind::CanopenSlave, 0, ""};
    session.markModified({"SDO Timeout", at, at});
}

TEST(ConfigSessionHistory, UndoAndRedoRestoreTheConfigurationAndTheItem) {
    SlaveUi ui;
    ConfigSession session(ui);
    ASSERT_EQ(session.document().newDocument().status, DocStatus::Done);
    session.beginDocument();
    EXPECT_EQ(session.undoStep(), nullptr);
    EXPECT_FALSE(session.undo());

    const std::string original = session.configuration().Config.SDOTimeout;
    const TreeSelection side = canopenSideItem(session.configuration());
    session.configuration().FirmwareVersion = "2.0";
    session.editorState().firmwareIndex = 1;
    session.configuration().Config.NodeCount = 1;
    session.markModified({"Add Node", side, {TreeItemKind::Node, 1, ""}});
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
        session.beginDocument();
        if (c.afterFirstStep == Event::Upload) {
            session.markModified();
            session.beginDocument();
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
    session.beginDocument();
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

} // namespace
} // namespace torvane
