#pragma once

// The document lifecycle without widgets: New, Open, Save, Save As, the exit question and the
// file state. Every dialog, question and message goes through DocumentUi; files are read and
// written through loadConfigurationFile and saveConfigurationFile.

#include "model/configuration.h"
#include "model/strings.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace torvane {

enum class FileDialogKind {
    Open,     // open; both filters
    Save,     // save when no file was chosen yet; both filters
    SaveAs,   // save; both filters
    ExitSave, // save from the "Yes(&Y)" of the save question; archives only
};

// How a file dialog looks. It hides the read-only check box and asks before overwriting.
struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    bool save = false;
    std::string defaultSuffix;                                // without the dot
    std::vector<std::pair<std::string, std::string>> filters; // display text, pattern
};

// The file dialog of `kind`.
FileDialogRequest fileDialogRequest(FileDialogKind kind);

enum class SaveAnswer { Yes, No, Cancel };

// Dialogs, questions and messages of the lifecycle; the GUI shows real ones, tests script them.
class DocumentUi {
public:
    virtual ~DocumentUi() = default;
    // "Protocol Type Selection": the chosen ConfigType (0 master, 1 slave); nullopt on Cancel.
    virtual std::optional<int> askConfigType() = 0;
    // "Select config type": 0 "Old-Config", 1 "New-Config"; nullopt on Cancel.
    virtual std::optional<int> askConfigFormat() = 0;
    // "Save Configuration": "Configuration has been changed, save it or not?".
    virtual SaveAnswer askSaveChanges() = 0;
    // A file dialog; the chosen full path, nullopt on Cancel.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;
    // A message box with an OK button.
    virtual void tell(const std::string& title, const std::string& text) = 0;
};

enum class DocStatus {
    Done,       // the command ran
    Cancelled,  // the user abandoned it
    Failed,     // a load or save failed and was reported; nothing changed
    EndProgram, // the configuration type was cancelled at start-up: the program ends
};

// What the view must do after a command.
struct DocOutcome {
    DocStatus status = DocStatus::Done;
    bool viewInitialised = false; // reset copy state, rebuild tree, select "Profibus Network"
    bool rebuildTree = false;     // rebuild tree, select the CANopen side item

    bool operator==(const DocOutcome&) const = default;
};

class Document {
public:
    Document(GatewayConfiguration& live, DocumentUi& ui) : live_(live), ui_(ui) {}

    // Start-up: opens `path` when given, else runs New; then sets the start-up caption.
    // Failed when `path` does not load (the error has been reported; the program is to end
    // with a failure status), EndProgram when the configuration type is cancelled.
    DocOutcome startUp(const std::optional<std::string>& path);
    // File New; asks to save unsaved edits first.
    DocOutcome newDocument();
    // File Open with the file dialog; asks to save unsaved edits first.
    DocOutcome open();
    // Opens a file named on the command line or picked from the recent-file list.
    DocOutcome openPath(const std::string& path);
    // File Save: to the current file, or asks for a name when there is none.
    DocOutcome save();
    // File Save As.
    DocOutcome saveAs();
    // Exit question: true when closing may go on.
    bool queryClose();
    // The save question New and Open ask, for a command that replaces the configuration (an
    // upload): true when it may go on (no unsaved edits, saved, or "No"); false on Cancel.
    bool saveChangesFirst();
    // The configuration was replaced by one that comes from no file (a complete upload): an
    // untitled, unsaved document, so Save asks for a name as after New.
    void becomeUntitled();
    // Called whenever another configuration is put in place (New, Open, a recent or
    // command-line file); the session forgets what belonged to the previous one.
    void onBegin(std::function<void()> handler) { onBegin_ = std::move(handler); }

    // Every committed edit sets it; Undo and Redo clear it at the state last opened or saved.
    void setModified(bool modified = true) { state_.ModifiedFlag = modified; }

    const DocumentState& state() const { return state_; }
    int FileKind() const { return state_.FileKind; }
    const std::string& CurrentFilePath() const { return state_.CurrentFilePath; }
    bool LoadedFromArchive() const { return state_.LoadedFromArchive; }
    bool OldEditionLoaded() const { return state_.OldEditionLoaded; }
    bool ModifiedFlag() const { return state_.ModifiedFlag; }
    // The main window caption.
    const std::string& caption() const { return caption_; }
    // The caption of a document titled `title`: "<title> - Torvane".
    static std::string titledCaption(const std::string& title) {
        return title + " - " + str::AppTitle;
    }
    // Completed view initialisations; 0 until the first configuration exists.
    int initialisations() const { return initialisations_; }

private:
    bool askToSaveChanges();
    DocOutcome initialiseView(bool askType);
    DocOutcome loadChosen(const std::string& path, bool platformOpen);
    DocStatus writeTo(const std::string& path);
    void setDocumentTitle(const std::string& title);
    void begun();

    GatewayConfiguration& live_;
    DocumentUi& ui_;
    DocumentState state_;
    std::string caption_ = titledCaption(str::UntitledDocument);
    int initialisations_ = 0;
    std::function<void()> onBegin_;
};

} // namespace torvane
