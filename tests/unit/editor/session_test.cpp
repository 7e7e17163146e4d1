#include "../../support/english.h"
#include "../../support/session_access.h"
#include "editor/config_session.h"
#include "editor/document.h"
#include "model/config_file.h"
#include "model/strings.h"
#include "model/xml_file.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace torvane {
namespace {

namespace fs = std::filesystem;

// Answers every dialog from a script and records what was shown.
struct ScriptedUi : DocumentUi {
    std::deque<std::optional<int>> types;
    std::deque<std::optional<int>> formats;
    std::deque<SaveAnswer> answers;
    std::deque<std::optional<std::string>> files;
    std::deque<bool> dropAnswers;
    std::vector<std::string> log;

    template <typename T> T next(std::deque<T>& queue, const char* what) {
        log.emplace_back(what);
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return T{};
        }
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
    std::optional<int> askConfigType() override { return next(types, "type"); }
    std::optional<int> askConfigFormat() override { return next(formats, "format"); }
    SaveAnswer askSaveChanges(SaveReason) override {
        if (answers.empty()) {
            answers.push_back(SaveAnswer::Cancel);
        }
        return next(answers, "save?");
    }
    bool askSaveDropping(const std::vector<DroppedField>&) override {
        return next(dropAnswers, "drops?");
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& r) override {
        static const char* const names[] = {"file:Open", "file:Save", "file:SaveAs",
                                            "file:ExitSave"};
        return next(files, names[static_cast<int>(r.kind)]);
    }
    void tell(const std::string&, const Message& text) override {
        log.push_back("tell:" + text.english());
    }
};

std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

struct DocumentFixture : ::testing::Test {
    fs::path dir;
    GatewayConfiguration live;
    ScriptedUi ui;
    Document doc{live, ui};

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("torvane-doc-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const char* name) const { return (dir / name).string(); }
    void start(int type) {
        ui.types.push_back(type);
        ASSERT_EQ(doc.startUp(std::nullopt).status, DocStatus::Done);
        ui.log.clear();
    }
    void saveFile(const char* name, const GatewayConfiguration& cfg) {
        Message error;
        ASSERT_TRUE(saveConfigurationFile(path(name), cfg, error)) << error;
    }
};

TEST_F(DocumentFixture, CancellingTheTypeAtStartUpEndsTheProgram) {
    ui.types.push_back(std::nullopt);
    EXPECT_EQ(doc.startUp(std::nullopt).status, DocStatus::EndProgram);
}

TEST_F(DocumentFixture, XmlStaysXmlThroughSaveAndSaveAs) {
    start(kCanopenMaster);
    saveFile("a.xml", newConfiguration(kCanopenSlave));
    ui.files.push_back(path("a.xml"));
    EXPECT_EQ(doc.open(), (DocOutcome{DocStatus::Done, false, true}));
    EXPECT_EQ(doc.FileKind(), kFileKindXml);
    EXPECT_FALSE(live.isMaster());

    doc.setModified();
    EXPECT_EQ(doc.save().status, DocStatus::Done);
    EXPECT_FALSE(doc.ModifiedFlag()); // the file holds all of it

    // A value of the slave block, which XML cannot hold: asked first. No writes nothing, Yes
    // writes; the mark stays set either way.
    live.Config.SlaveNodeAddress = "9";
    doc.setModified();
    const std::string before = readBytes(path("a.xml"));
    ui.dropAnswers = {false, true};
    EXPECT_EQ(doc.save().status, DocStatus::Cancelled);
    EXPECT_EQ(readBytes(path("a.xml")), before);
    EXPECT_TRUE(doc.ModifiedFlag());
    EXPECT_EQ(doc.save().status, DocStatus::Done);
    EXPECT_TRUE(doc.ModifiedFlag());

    // Archive opened, then Save As to an XML name: the following Save writes XML there.
    saveFile("b.chg", newConfiguration(kCanopenMaster));
    ui.files = {path("b.chg"), path("c.xml")};
    ui.answers.push_back(SaveAnswer::No);
    ui.log.clear();
    doc.open();
    EXPECT_EQ(doc.saveAs().status, DocStatus::Done);
    live.Config.SlaveAddress = "42";
    EXPECT_EQ(doc.save().status, DocStatus::Done);
    EXPECT_NE(readBytes(path("c.xml")).find("\"42\""), std::string::npos);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"save?", "file:Open", "file:SaveAs"}));
}

TEST_F(DocumentFixture, FailedOpenKeepsTheFileStateSoSaveCannotOverwriteIt) {
    start(kCanopenMaster);
    const std::string xmlBytes = writeXml(newConfiguration(kCanopenMaster));
    writeBytes(path("d.XML"), xmlBytes);
    ui.files.push_back(path("d.XML"));
    EXPECT_EQ(doc.open().status, DocStatus::Failed);
    ui.files.push_back(std::nullopt);
    EXPECT_EQ(doc.save().status, DocStatus::Cancelled);
    EXPECT_EQ(ui.log.back(), "file:Save");
    EXPECT_EQ(readBytes(path("d.XML")), xmlBytes);

    // With an archive open, a failed Open leaves the configuration and Save writing to that
    // archive.
    saveFile("e.chg", newConfiguration(kCanopenMaster));
    ui.files = {path("e.chg"), path("d.XML")};
    doc.open();
    const GatewayConfiguration before = live;
    EXPECT_EQ(doc.open().status, DocStatus::Failed);
    EXPECT_EQ(live, before);
    EXPECT_EQ(doc.save().status, DocStatus::Done); // no dialog: still the archive
    EXPECT_EQ(readBytes(path("d.XML")), xmlBytes);
}

TEST_F(DocumentFixture, OldEditionArchiveSaveAsksTheFormatEveryTime) {
    start(kCanopenMaster);
    // An edition-210 master archive: no cycle texts, no error control, no control status.
    const std::string old = readBytes(fs::path(TORVANE_TEST_DATA_DIR) / "edition210_master.chg");
    writeBytes(path("old.chg"), old);
    ui.files.push_back(path("old.chg"));
    ASSERT_EQ(doc.open().status, DocStatus::Done);
    EXPECT_TRUE(doc.OldEditionLoaded());
    EXPECT_EQ(live.Config.ConfigEdition, 210);

    doc.setModified();
    ui.formats = {std::nullopt, 1, 0};
    EXPECT_EQ(doc.save().status, DocStatus::Cancelled);
    EXPECT_EQ(readBytes(path("old.chg")), old);
    EXPECT_TRUE(doc.ModifiedFlag());
    EXPECT_EQ(doc.save().status, DocStatus::Done);
    EXPECT_NE(readBytes(path("old.chg")), old);
    EXPECT_FALSE(doc.ModifiedFlag());
    EXPECT_EQ(doc.save().status, DocStatus::Done);
    EXPECT_TRUE(ui.formats.empty());
}

// At exit, Yes writes the open file in its own format without a dialog, or asks for a name when
// there is none; a cancelled dialog or a refused XML question returns to the program with
// nothing written.
TEST_F(DocumentFixture, SaveQuestionAnswersDecideWhetherExitGoesOn) {
    const struct {
        const char* file; // the open file; null: untitled
        SaveAnswer answer;
        bool chosen; // untitled: a name is chosen
        bool drops;  // a value XML cannot hold; the XML question is refused
        bool goesOn;
        bool written;
    } cases[] = {
        {"known.chg", SaveAnswer::Yes, false, true, true, true},
        {"known.xml", SaveAnswer::Yes, false, true, false, false},
        // An uploaded configuration comes from no file: the file open before is not overwritten.
        {nullptr, SaveAnswer::Yes, true, false, true, true},
        {nullptr, SaveAnswer::Yes, false, false, false, false},
        {nullptr, SaveAnswer::No, false, false, true, false},
        {nullptr, SaveAnswer::Cancel, false, false, false, false},
    };
    start(kCanopenMaster);
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(n);
        const std::string target =
            path(c.file != nullptr ? c.file : ("exit" + std::to_string(n++) + ".xml").c_str());
        if (c.file != nullptr) {
            saveFile(c.file, newConfiguration(kCanopenMaster));
            ui.answers = {SaveAnswer::No};
            ASSERT_EQ(doc.openPath(target).status, DocStatus::Done);
        } else {
            doc.becomeUntitled();
        }
        live.Config.SYNC = "25";
        live.Config.RPDOCycle = c.drops ? "55" : "0";
        doc.setModified();
        ui.log.clear();
        ui.answers = {c.answer};
        const bool asksName = c.file == nullptr && c.answer == SaveAnswer::Yes;
        if (asksName) {
            ui.files.push_back(c.chosen ? std::optional(target) : std::nullopt);
        }
        ui.dropAnswers = {false};
        EXPECT_EQ(doc.queryClose(), c.goesOn);
        EXPECT_EQ(std::count(ui.log.begin(), ui.log.end(), "file:ExitSave"), asksName ? 1 : 0);
        GatewayConfiguration read;
        DocumentState state;
        Message error;
        EXPECT_EQ(loadConfigurationFile(target, read, state, error) && read.Config.SYNC == "25",
                  c.written);
    }
}

TEST_F(DocumentFixture, FailedSavesAreReportedAndKeepTheFlag) {
    start(kCanopenMaster);
    doc.setModified();
    const std::string unwritable = path("missing/dir/f.chg");
    ui.files.push_back(unwritable);
    EXPECT_EQ(doc.save().status, DocStatus::Failed);
    EXPECT_EQ(ui.log.back().rfind("tell:", 0), 0U);
    EXPECT_TRUE(doc.ModifiedFlag());
    EXPECT_EQ(doc.FileKind(), kFileKindNone);

    // At exit a failed write keeps the question open.
    ui.log.clear();
    ui.answers = {SaveAnswer::Yes, SaveAnswer::Cancel};
    ui.files.push_back(unwritable);
    EXPECT_FALSE(doc.queryClose());
    ASSERT_EQ(ui.log.size(), 4U);
    EXPECT_EQ(ui.log[3], "save?");
}

// A file named on the command line that does not load is reported and ends the program: no
// question, no New.
TEST_F(DocumentFixture, CommandLineFileThatDoesNotLoadEndsTheStart) {
    EXPECT_EQ(doc.startUp(path("nothing.chg")), (DocOutcome{DocStatus::Failed, false, false}));
    ASSERT_EQ(ui.log.size(), 1U);
    EXPECT_EQ(ui.log[0].rfind("tell:", 0), 0U);
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

struct Session {
    ScriptedUi ui;
    ConfigSession session{ui};
    Session() {
        ui.types = {kCanopenSlave};
        EXPECT_EQ(session.document().newDocument().status, DocStatus::Done);
    }
};

TEST(ConfigSessionHistory, UndoAndRedoRestoreTheConfigurationAndTheItem) {
    ScriptedUi ui;
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

// The open configuration is the gateway's after a successful download, until it changes;
// taking the change back makes it the gateway's again. A failed download never makes it so.
TEST(ConfigSession, KnowsWhetherTheGatewayRunsTheOpenConfiguration) {
    for (const bool succeeds : {true, false}) {
        SCOPED_TRACE(succeeds);
        Session s;
        ConfigSession& session = s.session;
        EXPECT_FALSE(session.matchesGateway());
        TransferOutcome outcome;
        outcome.started = true;
        outcome.resultCode =
            static_cast<int>(succeeds ? TransferResult::Success : TransferResult::OpenFailed);
        outcome.configuration = session.configuration();
        // The gateway's firmware chose the layout edition; the contents are the same.
        outcome.configuration.Config.ConfigEdition += 1;
        session.applyDownload(outcome, {});
        EXPECT_EQ(session.matchesGateway(), succeeds);
        edit(session, "30");
        EXPECT_FALSE(session.matchesGateway());
        session.undo();
        EXPECT_EQ(session.matchesGateway(), succeeds);
    }
}

// Each operation records exactly one step for a change and none otherwise; Undo and Redo move
// between the configurations before and after it.
TEST(ConfigSessionOperations, RecordOneStepForAChangeAndNoneOtherwise) {
    const TreeSelection network{TreeItemKind::CanopenNetwork, 0, "CANopen Network"};
    const TreeSelection node{TreeItemKind::Node, 1, "Node-5"};
    using S = ConfigSession;
    using Faults = std::vector<int>; // the commands a refusal is about
    const auto download = [](S& s, bool started, int edition) {
        TransferOutcome outcome;
        outcome.started = started;
        outcome.configuration = s.configuration();
        outcome.configuration.Config.ConfigEdition = edition;
        outcome.checkCommands = started ? Faults{} : Faults{1};
        return s.applyDownload(outcome, {}).faultCommands;
    };
    const auto mapping = [&](S& s) { return s.calculateMapping(network).faultCommands; };
    const struct {
        const char* name;
        std::function<Faults(S&)> op;
        Faults faults;
        const char* step; // in English; null: no step
    } cases[] = {
        // clang-format off
        {"add command", [&](S& s) { return s.addCommand(node, 0, network).position == 3 ? Faults{} : Faults{0}; },
         {}, str::StepAddCommand.source},
        {"node from a device: a node and two commands in one step", [&](S& s) {
             const NodeDrafts d{0, "6", "Drive", {{"", "3", "", "", "390", "", "2", "Statusword", "", 0},
                                                  {"", "1", "24641", "0", "", "", "2", "Statusword", "", 0}}};
             s.previewDrafts(d);
             EXPECT_EQ(s.configuration().Config.NodeCount, 1) << "a preview changes nothing";
             return s.addDrafts(network, d).refusedCount() == 0 ? Faults{} : Faults{0};
         }, {}, str::StepAddNodeFromDevice.source},
        {"mapping refused after cutting the commands beyond the table", [&](S& s) {
             CONFIG& c = liveConfiguration(s).Config;
             c.Instructions[kCommandCap] = c.Instructions[0];
             c.InstructionCount = kCommandCap + 1;
             c.Instructions[1].Bytes.clear();
             return mapping(s);
         }, {1}, str::StepCalculateMapping.source},
        {"download into the older layout", [&](S& s) { return download(s, true, 210); }, {}, "Download (configuration layout)"},
        {"download stopped by a check", [&](S& s) { return download(s, false, 210); }, {1}, nullptr},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedUi ui;
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
        EXPECT_EQ(c.op(session), c.faults);
        EXPECT_EQ(session.document().ModifiedFlag(), c.step != nullptr);
        if (c.step == nullptr) {
            EXPECT_EQ(session.undoStep(), nullptr);
            continue;
        }
        ASSERT_NE(session.undoStep(), nullptr);
        EXPECT_EQ(session.undoStep()->name.english(), c.step);
        const GatewayConfiguration after = session.configuration();
        EXPECT_TRUE(session.undo());
        EXPECT_EQ(session.configuration(), before);
        EXPECT_TRUE(session.redo());
        EXPECT_EQ(session.configuration(), after);
    }
}

// Another configuration forgets the copied node and counts as another document; an Open that
// failed keeps both.
TEST_F(DocumentFixture, OpeningAnotherFileBeginsADocumentAndForgetsTheCopiedNode) {
    saveFile("two.chg", newConfiguration(kCanopenMaster));
    ui.types = {kCanopenMaster};
    ConfigSession session(ui);
    ASSERT_EQ(session.document().startUp(std::nullopt).status, DocStatus::Done);
    session.addNode(canopenSideItem(session.configuration()));
    liveConfiguration(session).Config.Nodes[0] = {"5", "Node-5"};
    session.copyNode({TreeItemKind::Node, 1, "Node-5"});
    session.document().setModified(false);
    const int generation = session.documentGeneration();
    session.document().openPath(path("gone.chg"));
    EXPECT_EQ(session.documentGeneration(), generation);
    EXPECT_TRUE(session.copyState().pastePossible);
    ui.files = {path("two.chg")};
    session.document().open();
    EXPECT_NE(session.documentGeneration(), generation);
    EXPECT_FALSE(session.copyState().pastePossible);
}

} // namespace
} // namespace torvane
