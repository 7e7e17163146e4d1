#include "../../support/english.h"
#include "../../support/session_access.h"
#include "editor/config_session.h"
#include "model/config_file.h"
#include "model/strings.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

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
    session.adoptUpload(newConfiguration(kCanopenMaster));
    EXPECT_EQ(notified, 1);
    const TreeEditResult added = session.addNode(canopenSideItem(session.configuration()));
    EXPECT_TRUE(added.changed);
    EXPECT_EQ(session.configuration().Config.NodeCount, 1);
    EXPECT_EQ(notified, 2);

    liveConfiguration(session).Config.Nodes[0] = {"5", "Node-5"};
    session.copyNode({TreeItemKind::Node, 1, "Node-5"});
    ASSERT_TRUE(session.copyState().pastePossible);
    const int generation = session.documentGeneration();
    session.beginDocument();
    EXPECT_EQ(session.documentGeneration(), generation + 1);
    EXPECT_FALSE(session.copyState().pastePossible);
}

// The stored text the edits below change: SDO Response Timeout of a master, Clear Data Time
// for RPDO of a slave.
const std::string& edited(const ConfigSession& session) {
    const CONFIG& c = session.configuration().Config;
    return session.configuration().isMaster() ? c.SDOTimeout : c.RPDOTimeout;
}

// A committed cell of the CANopen page that sets edited() to `value`.
void edit(ConfigSession& session, const std::string& value) {
    const int row = session.configuration().isMaster() ? 3 : 2;
    const CommitResult r = session.commitCell(canopenSideItem(session.configuration()), row, value);
    ASSERT_TRUE(r.modified) << value;
    ASSERT_EQ(edited(session), value);
}

TEST(ConfigSession, ChangeCountMovesWithEveryChangeOfTheShownConfiguration) {
    SlaveUi ui;
    ConfigSession session(ui);
    ASSERT_EQ(session.document().newDocument().status, DocStatus::Done);
    // Step, undo, redo, nothing to redo, another document, nothing to undo, an upload.
    const std::vector<std::pair<std::function<void()>, bool>> cases = {
        {[&] { edit(session, "30"); }, true},
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
    ConfigSession session(ui); // a master configuration until New
    EXPECT_EQ(session.undoStep(), nullptr);
    EXPECT_FALSE(session.undo());

    const std::string original = edited(session);
    const TreeSelection side = canopenSideItem(session.configuration());
    liveConfiguration(session).FirmwareVersion = "2.0";
    session.page(side); // the grid takes the firmware index from the version
    ASSERT_EQ(session.editorState().firmwareIndex, 1);
    ASSERT_TRUE(session.addNode(side).changed);
    edit(session, "30");
    ASSERT_NE(session.undoStep(), nullptr);
    EXPECT_EQ(session.undoStep()->name, str::ParamSdoTimeout);

    ASSERT_TRUE(session.undo());
    EXPECT_EQ(edited(session), original);
    EXPECT_EQ(session.redoStep()->name, str::ParamSdoTimeout);
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
    edit(session, "40");
    EXPECT_EQ(session.redoStep(), nullptr);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(edited(session), original);

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
        edit(session, "30");
        if (c.afterFirstStep == Event::ArchiveSave) {
            session.document().setModified(false);
        }
        edit(session, "40");
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

// The open configuration is the gateway's after a successful download, an upload or an equal
// comparison, until it changes; taking the change back makes it the gateway's again.
TEST(ConfigSession, KnowsWhetherTheGatewayRunsTheOpenConfiguration) {
    enum class Event { Download, FailedDownload, Upload, Equal };
    const struct {
        const char* name;
        Event event;
        bool matches[3]; // after the event, an edit, its undo
    } cases[] = {
        {"download", Event::Download, {true, false, true}},
        {"failed download", Event::FailedDownload, {false, false, false}},
        {"upload", Event::Upload, {true, false, true}},
        {"equal comparison", Event::Equal, {true, false, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SlaveUi ui;
        ConfigSession session(ui);
        ASSERT_EQ(session.document().newDocument().status, DocStatus::Done);
        EXPECT_FALSE(session.matchesGateway());
        TransferOutcome outcome;
        outcome.started = true;
        outcome.resultCode = static_cast<int>(
            c.event == Event::Download ? TransferResult::Success : TransferResult::OpenFailed);
        outcome.configuration = session.configuration();
        // The gateway's firmware chose the layout edition; the contents are the same.
        outcome.configuration.Config.ConfigEdition += 1;
        if (c.event == Event::Download || c.event == Event::FailedDownload) {
            session.applyDownload(outcome, {});
        } else if (c.event == Event::Upload) {
            session.adoptUpload(newConfiguration(kCanopenMaster));
        } else {
            session.noteGatewayEqual();
        }
        EXPECT_EQ(session.matchesGateway(), c.matches[0]);
        edit(session, "30");
        EXPECT_EQ(session.matchesGateway(), c.matches[1]);
        session.undo();
        EXPECT_EQ(session.matchesGateway(), c.matches[2]);
    }
}

TEST(ConfigSessionHistory, AnUnchangedCommitMarksTheDocumentWithoutAStep) {
    SlaveUi ui;
    ConfigSession session(ui);
    ASSERT_EQ(session.document().newDocument().status, DocStatus::Done);
    edit(session, std::string(edited(session)));
    EXPECT_TRUE(session.document().ModifiedFlag());
    EXPECT_EQ(session.undoStep(), nullptr);
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
    EXPECT_EQ(edited(session), "5");
    // The opened state is gone from the history, so the mark stays.
    EXPECT_TRUE(session.document().ModifiedFlag());
}

// Node 5 with a Transmit PDO (command 1) and an Upload SDO (command 2); a master session.
void sample(ConfigSession& session) {
    CONFIG& c = liveConfiguration(session).Config;
    c.NodeCount = 1;
    c.Nodes[0] = {"5", "Node-5"};
    c.InstructionCount = 2;
    c.Instructions[0] = {"5", "3", "", "", "389", "0", "4", "", "", 1};
    c.Instructions[1] = {"5", "1", "8192", "0", "", "4", "2", "", "", 1};
}

// Each operation records exactly one step for a change and none otherwise; Undo selects the item
// the user acted on, Redo the one the operation's result selects.
TEST(ConfigSessionOperations, RecordTheirStepAndSayWhatToSelect) {
    const TreeSelection network{TreeItemKind::CanopenNetwork, 0, "CANopen Network"};
    const TreeSelection node{TreeItemKind::Node, 1, "Node-5"};
    const TreeSelection pdo{TreeItemKind::Command, 1, "Transmit PDO"};
    const TreeSelection newNode{TreeItemKind::Node, 2, "New node"};
    // What the window is told to select, and the commands a refusal is about.
    struct Shown {
        TreeSelection select;
        std::vector<int> faults;
    };
    using Op = std::function<Shown(ConfigSession&)>;
    const auto download = [](ConfigSession& s, bool started, int edition) {
        TransferOutcome outcome;
        outcome.started = started;
        outcome.configuration = s.configuration();
        outcome.configuration.Config.ConfigEdition = edition;
        outcome.checkCommands = started ? std::vector<int>{} : std::vector<int>{1};
        const DownloadApplied applied = s.applyDownload(outcome, {});
        return Shown{{}, applied.faultCommands};
    };
    const struct {
        const char* name;
        Op op;
        Shown shown;
        const char* step; // in English; null: no step
        TreeSelection before;
        TreeSelection after;
    } cases[] = {
        {"node address",
         [&](ConfigSession& s) {
             return Shown{s.commitCell(node, 0, "6").modified ? node : TreeSelection{}, {}};
         },
         {node, {}},
         str::CmdRowSlaveAddress.source,
         node,
         node},
        {"a row without an editor",
         [&](ConfigSession& s) {
             return Shown{s.commitCell(pdo, 0, "6").modified ? pdo : TreeSelection{}, {}};
         },
         {},
         nullptr,
         {},
         {}},
        {"add node",
         [&](ConfigSession& s) {
             return Shown{s.addNode(network).select, {}};
         },
         {newNode, {}},
         str::StepAddNode.source,
         network,
         newNode},
        {"delete command",
         [&](ConfigSession& s) {
             return Shown{s.deleteCommand(pdo).select, {}};
         },
         {node, {}},
         str::StepDeleteCommand.source,
         pdo,
         node},
        {"paste node",
         [&](ConfigSession& s) {
             s.copyNode(node);
             return Shown{s.pasteNode(node).select, {}};
         },
         {node, {}},
         str::StepPasteNode.source,
         node,
         node},
        {"add command",
         [&](ConfigSession& s) {
             return Shown{s.addCommand(node, 0, network).position == 3 ? node : TreeSelection{},
                          {}};
         },
         {node, {}},
         str::StepAddCommand.source,
         node,
         network},
        {"unknown command kind",
         [&](ConfigSession& s) {
             return Shown{s.addCommand(node, 9, node).position == 0 ? node : TreeSelection{}, {}};
         },
         {node, {}},
         nullptr,
         {},
         {}},
        {"calculate mapping",
         [&](ConfigSession& s) {
             return Shown{network, s.calculateMapping(network).faultCommands};
         },
         {network, {}},
         str::StepCalculateMapping.source,
         network,
         network},
        {"mapping refused for a missing byte count",
         [&](ConfigSession& s) {
             liveConfiguration(s).Config.Instructions[1].Bytes.clear();
             return Shown{network, s.calculateMapping(network).faultCommands};
         },
         {network, {1}},
         nullptr,
         {},
         {}},
        {"mapping refused after cutting the commands beyond the table",
         [&](ConfigSession& s) {
             CONFIG& c = liveConfiguration(s).Config;
             c.Instructions[kCommandCap] = c.Instructions[0];
             c.InstructionCount = kCommandCap + 1;
             c.Instructions[1].Bytes.clear();
             return Shown{network, s.calculateMapping(network).faultCommands};
         },
         {network, {1}},
         str::StepCalculateMapping.source,
         network,
         network},
        {"download into the older layout",
         [&](ConfigSession& s) { return download(s, true, 210); },
         {},
         "Download (configuration layout)",
         {},
         {}},
        {"download that changed nothing",
         [&](ConfigSession& s) { return download(s, true, 500); },
         {},
         nullptr,
         {},
         {}},
        {"download stopped by a check",
         [&](ConfigSession& s) { return download(s, false, 210); },
         {{}, {1}},
         nullptr,
         {},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SlaveUi ui;
        ConfigSession session(ui);
        sample(session);
        session.beginDocument(); // the sample is the state Undo goes back to
        const GatewayConfiguration before = session.configuration();
        const Shown shown = c.op(session);
        EXPECT_EQ(shown.select, c.shown.select);
        EXPECT_EQ(shown.faults, c.shown.faults);
        if (c.step == nullptr) {
            EXPECT_EQ(session.undoStep(), nullptr);
            EXPECT_FALSE(session.document().ModifiedFlag());
            continue;
        }
        ASSERT_NE(session.undoStep(), nullptr);
        EXPECT_EQ(session.undoStep()->name.english(), c.step);
        EXPECT_TRUE(session.document().ModifiedFlag());
        EXPECT_EQ(session.undo(), c.before);
        EXPECT_EQ(session.configuration(), before);
        EXPECT_EQ(session.redo(), c.after);
    }
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
        std::optional<std::string> f = files.empty() ? std::nullopt : files.front();
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
             s.document().setModified();
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
        session.addNode(canopenSideItem(session.configuration()));
        liveConfiguration(session).Config.Nodes[0] = {"5", "Node-5"};
        session.copyNode({TreeItemKind::Node, 1, "Node-5"});
        ASSERT_TRUE(session.copyState().pastePossible) << c.what;
        session.document().setModified(false);
        const int generation = session.documentGeneration();
        c.run(session, ui);
        EXPECT_EQ(session.documentGeneration() != generation, c.begins) << c.what;
        EXPECT_EQ(session.copyState().pastePossible, !c.begins) << c.what;
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace torvane
