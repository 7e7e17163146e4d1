#include "../../support/english.h"
#include "../../support/session_access.h"
#include "editor/config_session.h"
#include "model/config_file.h"
#include "model/strings.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace torvane {
namespace {

// Gives the same answers to every question: the type, the save question and the file dialog.
struct ScriptUi : DocumentUi {
    std::optional<int> type = kCanopenSlave;
    std::optional<std::string> file;
    SaveAnswer save = SaveAnswer::No;
    std::optional<int> askConfigType() override { return type; }
    std::optional<int> askConfigFormat() override { return std::nullopt; }
    SaveAnswer askSaveChanges(SaveReason) override { return save; }
    bool askSaveDropping(const std::vector<DroppedField>&) override { return true; }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override { return file; }
    void tell(const std::string&, const Message&) override {}
};

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

struct Session {
    ScriptUi ui;
    ConfigSession session{ui};
    Session() { EXPECT_EQ(session.document().newDocument().status, DocStatus::Done); }
};

TEST(ConfigSession, ChangeCountAndListenersFollowTheOneLiveConfiguration) {
    Session s;
    ConfigSession& session = s.session;
    // Listeners run after the flag is set or cleared, so they see the new state.
    std::optional<bool> seen;
    session.onModified([&] { seen = session.document().ModifiedFlag(); });
    // Step, undo, redo, nothing to redo, another document, nothing to undo, an upload, and a
    // tree edit of the uploaded configuration.
    const std::vector<std::pair<std::function<void()>, bool>> cases = {
        {[&] { edit(session, "30"); }, true},
        {[&] { session.undo(); }, true},
        {[&] { session.redo(); }, true},
        {[&] { session.redo(); }, false},
        {[&] { session.beginDocument(); }, true},
        {[&] { session.undo(); }, false},
        {[&] { session.adoptUpload(newConfiguration(kCanopenMaster)); }, true},
        {[&] { session.addNode(canopenSideItem(session.configuration())); }, true},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const int before = session.changeCount();
        seen.reset();
        cases[i].first();
        EXPECT_EQ(session.changeCount() != before, cases[i].second) << i;
        EXPECT_EQ(seen.value_or(session.document().ModifiedFlag()),
                  session.document().ModifiedFlag())
            << i;
    }
    EXPECT_EQ(seen, true);
    EXPECT_EQ(session.configuration().Config.NodeCount, 1);
}

TEST(ConfigSessionHistory, UndoAndRedoRestoreTheConfigurationAndTheItem) {
    ScriptUi ui;
    ConfigSession session(ui); // a master configuration until New
    EXPECT_FALSE(session.undo());
    const std::string original = edited(session);
    const TreeSelection side = canopenSideItem(session.configuration());
    liveConfiguration(session).FirmwareVersion = "2.0";
    session.page(side); // the grid takes the firmware index from the version
    ASSERT_EQ(session.editorState().firmwareIndex, 1);
    ASSERT_TRUE(session.addNode(side).changed);
    edit(session, "30");
    EXPECT_EQ(session.undoStep()->name, str::ParamSdoTimeout);

    ASSERT_TRUE(session.undo());
    EXPECT_EQ(edited(session), original);
    EXPECT_EQ(session.redoStep()->name, str::ParamSdoTimeout);
    EXPECT_EQ(session.undo(), side);
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
    // What happens after the first of two steps, then the marks seen while undoing twice and
    // redoing twice.
    enum class Event { None, ArchiveSave, Upload };
    const struct {
        const char* name;
        Event afterFirstStep;
        bool modified[4];
    } cases[] = {
        {"opened file", Event::None, {true, false, true, true}},
        {"archive save after the first step", Event::ArchiveSave, {false, true, false, true}},
        {"uploaded configuration is on no disk", Event::Upload, {true, true, true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        ConfigSession& session = s.session;
        if (c.afterFirstStep == Event::Upload) {
            session.adoptUpload(newConfiguration(kCanopenMaster));
        }
        edit(session, "30");
        if (c.afterFirstStep == Event::ArchiveSave) {
            session.document().setModified(false);
        }
        edit(session, "40");
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(i < 2 ? session.undo() : session.redo());
            EXPECT_EQ(session.document().ModifiedFlag(), c.modified[i]) << "after move " << i + 1;
        }
    }
}

TEST(ConfigSessionHistory, KeepsTheLastStepsOnlyAndNoStepForAnUnchangedCommit) {
    Session s;
    ConfigSession& session = s.session;
    edit(session, std::string(edited(session)));
    EXPECT_TRUE(session.document().ModifiedFlag());
    EXPECT_EQ(session.undoStep(), nullptr);

    for (std::size_t i = 1; i <= ConfigSession::kHistoryLimit + 5; ++i) {
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

// The open configuration is the gateway's after a successful download, an upload or an equal
// comparison, until it changes; taking the change back makes it the gateway's again.
TEST(ConfigSession, KnowsWhetherTheGatewayRunsTheOpenConfiguration) {
    enum class Event { Download, FailedDownload, Upload, Equal };
    const struct {
        Event event;
        bool matches; // after the event and after the undo of an edit
    } cases[] = {
        {Event::Download, true},
        {Event::FailedDownload, false},
        {Event::Upload, true},
        {Event::Equal, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.event));
        Session s;
        ConfigSession& session = s.session;
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
        EXPECT_EQ(session.matchesGateway(), c.matches);
        edit(session, "30");
        EXPECT_FALSE(session.matchesGateway());
        session.undo();
        EXPECT_EQ(session.matchesGateway(), c.matches);
    }
}

// Each operation records exactly one step for a change and none otherwise; Undo selects the item
// the user acted on, Redo the one the operation's result selects.
TEST(ConfigSessionOperations, RecordTheirStepAndSayWhatToSelect) {
    const TreeSelection network{TreeItemKind::CanopenNetwork, 0, "CANopen Network"};
    const TreeSelection node{TreeItemKind::Node, 1, "Node-5"};
    const TreeSelection pdo{TreeItemKind::Command, 1, "Transmit PDO"};
    const TreeSelection newNode{TreeItemKind::Node, 2, "New node"};
    const TreeSelection drive{TreeItemKind::Node, 2, "Drive"};
    // What the window is told to select, and the commands a refusal is about.
    struct Shown {
        TreeSelection select;
        std::vector<int> faults;
    };
    using S = ConfigSession;
    const auto download = [](S& s, bool started, int edition) {
        TransferOutcome outcome;
        outcome.started = started;
        outcome.configuration = s.configuration();
        outcome.configuration.Config.ConfigEdition = edition;
        outcome.checkCommands = started ? std::vector<int>{} : std::vector<int>{1};
        return Shown{{}, s.applyDownload(outcome, {}).faultCommands};
    };
    const auto mapping = [&](S& s) {
        return Shown{network, s.calculateMapping(network).faultCommands};
    };
    const struct {
        const char* name;
        std::function<Shown(S&)> op;
        Shown shown;
        const char* step; // in English; null: no step
        TreeSelection before;
        TreeSelection after;
    } cases[] = {
        // clang-format off
        {"node address", [&](S& s) { return Shown{s.commitCell(node, 0, "6").modified ? node : TreeSelection{}, {}}; },
         {node, {}}, str::CmdRowSlaveAddress.source, node, node},
        {"a row without an editor", [&](S& s) { return Shown{s.commitCell(pdo, 0, "6").modified ? pdo : TreeSelection{}, {}}; },
         {}, nullptr, {}, {}},
        {"add node", [&](S& s) { return Shown{s.addNode(network).select, {}}; },
         {newNode, {}}, str::StepAddNode.source, network, newNode},
        {"delete command", [&](S& s) { return Shown{s.deleteCommand(pdo).select, {}}; },
         {node, {}}, str::StepDeleteCommand.source, pdo, node},
        {"paste node", [&](S& s) {
             s.copyNode(node);
             return Shown{s.pasteNode(node).select, {}};
         }, {node, {}}, str::StepPasteNode.source, node, node},
        {"add command", [&](S& s) { return Shown{s.addCommand(node, 0, network).position == 3 ? node : TreeSelection{}, {}}; },
         {node, {}}, str::StepAddCommand.source, node, network},
        {"unknown command kind", [&](S& s) { return Shown{s.addCommand(node, 9, node).position == 0 ? node : TreeSelection{}, {}}; },
         {node, {}}, nullptr, {}, {}},
        {"node from a device: a node and two commands in one step", [&](S& s) {
             const NodeDrafts d{0, "6", "Drive", {{"", "3", "", "", "390", "", "2", "Statusword", "", 0},
                                                  {"", "1", "24641", "0", "", "", "2", "Statusword", "", 0}}};
             const DraftResult preview = s.previewDrafts(d);
             EXPECT_EQ(s.configuration().Config.NodeCount, 1) << "a preview changes nothing";
             const DraftResult r = s.addDrafts(network, d);
             EXPECT_EQ(preview.refusedCount(), r.refusedCount());
             return Shown{r.refusedCount() == 0 ? r.select : TreeSelection{}, {}};
         }, {drive, {}}, str::StepAddNodeFromDevice.source, network, drive},
        {"commands from a device, one kept out (node 5's TPDO)", [&](S& s) {
             const DraftResult r = s.addDrafts(node, {1, "", "", {{"", "4", "", "", "389", "", "1", "", "", 0},
                                                                  {"", "2", "24640", "0", "", "", "2", "Controlword", "", 0}}});
             return Shown{r.refusedCount() == 1 ? r.select : TreeSelection{}, {}};
         }, {node, {}}, str::StepAddCommandsFromDevice.source, node, node},
        {"node from a device at a taken address", [&](S& s) { return Shown{s.addDrafts(network, {0, "5", "Drive", {}}).select, {}}; },
         {}, nullptr, {}, {}},
        {"calculate mapping", mapping, {network, {}}, str::StepCalculateMapping.source, network, network},
        {"mapping refused for a missing byte count", [&](S& s) {
             liveConfiguration(s).Config.Instructions[1].Bytes.clear();
             return mapping(s);
         }, {network, {1}}, nullptr, {}, {}},
        {"mapping refused after cutting the commands beyond the table", [&](S& s) {
             CONFIG& c = liveConfiguration(s).Config;
             c.Instructions[kCommandCap] = c.Instructions[0];
             c.InstructionCount = kCommandCap + 1;
             c.Instructions[1].Bytes.clear();
             return mapping(s);
         }, {network, {1}}, str::StepCalculateMapping.source, network, network},
        {"download into the older layout", [&](S& s) { return download(s, true, 210); }, {}, "Download (configuration layout)", {}, {}},
        {"download that changed nothing", [&](S& s) { return download(s, true, 500); }, {}, nullptr, {}, {}},
        {"download stopped by a check", [&](S& s) { return download(s, false, 210); }, {{}, {1}}, nullptr, {}, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptUi ui;
        ConfigSession session(ui);
        // Node 5 with a Transmit PDO (command 1) and an Upload SDO (command 2).
        CONFIG& cfg = liveConfiguration(session).Config;
        cfg.NodeCount = 1;
        cfg.Nodes[0] = {"5", "Node-5"};
        cfg.InstructionCount = 2;
        cfg.Instructions[0] = {"5", "3", "", "", "389", "0", "4", "", "", 1};
        cfg.Instructions[1] = {"5", "1", "8192", "0", "", "4", "2", "", "", 1};
        session.beginDocument(); // the sample is the state Undo goes back to
        const GatewayConfiguration before = session.configuration();
        const Shown shown = c.op(session);
        EXPECT_EQ(shown.select, c.shown.select);
        EXPECT_EQ(shown.faults, c.shown.faults);
        EXPECT_EQ(session.document().ModifiedFlag(), c.step != nullptr);
        if (c.step == nullptr) {
            EXPECT_EQ(session.undoStep(), nullptr);
            continue;
        }
        ASSERT_NE(session.undoStep(), nullptr);
        EXPECT_EQ(session.undoStep()->name.english(), c.step);
        EXPECT_EQ(session.undo(), c.before);
        EXPECT_EQ(session.configuration(), before);
        EXPECT_EQ(session.redo(), c.after);
    }
}

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
        // clang-format off
        {"New", [](ConfigSession& s, ScriptUi&) { s.document().newDocument(); }, true},
        {"Open", [&](ConfigSession& s, ScriptUi& ui) {
             ui.file = file;
             s.document().open();
         }, true},
        {"recent XML file", [&](ConfigSession& s, ScriptUi&) { s.document().openPath(xml); }, true},
        {"upload", [](ConfigSession& s, ScriptUi&) { s.adoptUpload(newConfiguration(kCanopenMaster)); }, true},
        {"New, type cancelled", [](ConfigSession& s, ScriptUi& ui) {
             ui.type = std::nullopt;
             s.document().newDocument();
         }, false},
        {"Open, dialog cancelled", [](ConfigSession& s, ScriptUi&) { s.document().open(); }, false},
        {"Open, save question cancelled", [&](ConfigSession& s, ScriptUi& ui) {
             ui.save = SaveAnswer::Cancel;
             s.document().setModified();
             ui.file = file;
             s.document().open();
         }, false},
        {"missing file", [&](ConfigSession& s, ScriptUi&) { s.document().openPath(file + ".gone"); }, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        ScriptUi ui;
        ui.type = kCanopenMaster;
        ConfigSession session(ui);
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
