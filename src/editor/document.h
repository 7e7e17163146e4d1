#pragma once

// The document lifecycle without widgets: New, Open, Save, Save As, the exit question and the
// file state. Every dialog, question and message goes through DocumentUi; files are read and
// written through loadConfigurationFile and saveConfigurationFile.

#include "model/configuration.h"
#include "model/message.h"
#include "model/strings.h"
#include "model/xml_file.h"

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
    std::string defaultSuffix;                            // without the dot
    std::vector<std::pair<Message, std::string>> filters; // display text, pattern
};

// The file dialog of `kind`.
FileDialogRequest fileDialogRequest(FileDialogKind kind);

enum class SaveAnswer { Yes, No, Cancel };

// Why the save question is asked: the configuration is about to be left (Exit, New, Open, a
// recent file) or replaced by the one an upload reads from the gateway.
enum class SaveReason { Leave, Upload };

// Dialogs, questions and messages of the lifecycle; the GUI shows real ones, tests script them.
class DocumentUi {
public:
    virtual ~DocumentUi() = default;
    // "Protocol Type Selection": the chosen ConfigType (0 master, 1 slave); nullopt on Cancel.
    virtual std::optional<int> askConfigType() = 0;
    // "Select config type": 0 "Old-Config", 1 "New-Config"; nullopt on Cancel.
    virtual std::optional<int> askConfigFormat() = 0;
    // "Save Configuration": "Configuration has been changed, save it or not?"; before an upload
    // it also says that the gateway's configuration will replace the open one.
    virtual SaveAnswer askSaveChanges(SaveReason reason) = 0;
    // Before an XML file is written that leaves out the parameter values `fields`: true to save
    // anyway (Yes), false to write nothing (No).
    virtual bool askSaveDropping(const std::vector<DroppedField>& fields) = 0;
    // A file dialog; the chosen full path, nullopt on Cancel.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;
    // A message box with an OK button.
    virtual void tell(const std::string& title, const Message& text) = 0;
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
    // File Save: to the current file in its own format, or asks for a name when there is none.
    DocOutcome save();
    // File Save As.
    DocOutcome saveAs();
    // Exit question: true when closing may go on.
    bool queryClose();
    // The save question asked before the configuration is left or replaced: true when the
    // command may go on (no unsaved edits, saved, or "No"); false on Cancel or when the save
    // was given up. "Yes" saves to the current file as Save does, or asks for a name.
    bool saveChangesFirst(SaveReason reason = SaveReason::Leave);
    // The configuration was replaced by one that comes from no file (a complete upload): an
    // untitled, unsaved document, so Save asks for a name as after New.
    void becomeUntitled();
    // Called whenever another configuration is put in place (New, Open, a recent or
    // command-line file); the session forgets what belonged to the previous one.
    void onBegin(std::function<void()> handler) { onBegin_ = std::move(handler); }
    // Called with the path of every file opened or written (the recent-file list follows it).
    void onFileUsed(std::function<void(const std::string&)> handler) {
        onFileUsed_ = std::move(handler);
    }

    // Every committed edit sets it; Undo and Redo clear it at the state last opened or saved.
    void setModified(bool modified = true) { state_.ModifiedFlag = modified; }

    const DocumentState& state() const { return state_; }
    int FileKind() const { return state_.FileKind; }
    const std::string& CurrentFilePath() const { return state_.CurrentFilePath; }
    bool LoadedFromArchive() const { return state_.LoadedFromArchive; }
    bool OldEditionLoaded() const { return state_.OldEditionLoaded; }
    bool ModifiedFlag() const { return state_.ModifiedFlag; }
    // The main window caption: "<title> - Torvane", or the start-up caption until the first
    // file is opened or saved.
    std::string caption() const {
        return title_.empty() ? std::string(str::CaptionAtStartUp.source) : titledCaption(title_);
    }
    // What the caption names: the file Save writes (its full path), str::UntitledDocument when
    // Save asks for a name, empty while the start-up caption is shown.
    const std::string& title() const { return title_; }
    // The caption of a document titled `title`: "<title> - Torvane".
    static std::string titledCaption(const std::string& title) {
        return title + " - " + str::AppTitle;
    }
    // Completed view initialisations; 0 until the first configuration exists.
    int initialisations() const { return initialisations_; }

private:
    bool askToSaveChanges(SaveReason reason);
    DocOutcome initialiseView(bool askType);
    DocOutcome loadChosen(const std::string& path, bool platformOpen);
    // Writes the configuration to `path` in the format its name gives; it becomes the file
    // Save writes. Cancelled when a question was answered No or Cancel.
    DocStatus writeTo(const std::string& path);
    void setDocumentTitle(const std::string& title);
    void begun();
    void used(const std::string& path);

    GatewayConfiguration& live_;
    DocumentUi& ui_;
    DocumentState state_;
    std::string title_ = str::UntitledDocument.source;
    int initialisations_ = 0;
    std::function<void()> onBegin_;
    std::function<void(const std::string&)> onFileUsed_;
};

} // namespace torvane
