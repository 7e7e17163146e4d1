#include "editor/document.h"

#include "model/config_file.h"
#include "model/strings.h"
#include "model/xml_file.h"

namespace torvane {

FileDialogRequest fileDialogRequest(FileDialogKind kind) {
    FileDialogRequest r;
    r.kind = kind;
    r.save = kind != FileDialogKind::Open;
    r.defaultSuffix = "chg";
    r.filters.emplace_back(str::FilterArchive, "*.chg");
    if (kind != FileDialogKind::ExitSave) {
        r.filters.emplace_back(str::FilterXml, "*.xml");
    }
    return r;
}

void Document::setDocumentTitle(const std::string& title) {
    title_ = title;
}

void Document::used(const std::string& path) {
    if (onFileUsed_) {
        onFileUsed_(path);
    }
}

void Document::begun() {
    if (onBegin_) {
        onBegin_();
    }
}

bool Document::askToSaveChanges(SaveReason reason) {
    // The question stays until the configuration is written or the user gives it up.
    for (;;) {
        switch (ui_.askSaveChanges(reason)) {
        case SaveAnswer::No:
            return true;
        case SaveAnswer::Cancel:
            return false;
        case SaveAnswer::Yes:
            break;
        }
        std::string path = state_.CurrentFilePath;
        if (state_.FileKind == kFileKindNone || path.empty()) {
            const std::optional<std::string> chosen =
                ui_.chooseFile(fileDialogRequest(FileDialogKind::ExitSave));
            if (!chosen) {
                return false;
            }
            path = *chosen;
        }
        switch (writeTo(path)) {
        case DocStatus::Done:
            return true;
        case DocStatus::Failed:
            continue; // reported; asked again
        default:
            return false;
        }
    }
}

DocOutcome Document::initialiseView(bool askType) {
    if (askType) {
        const std::optional<int> type = ui_.askConfigType();
        if (!type) {
            if (initialisations_ == 0) {
                return {DocStatus::EndProgram, false, false};
            }
            // The previous configuration stays; the grid shows its edition afresh.
            return {DocStatus::Cancelled, false, true};
        }
        resetToNew(live_, *type == kCanopenSlave ? kCanopenSlave : kCanopenMaster);
    }
    ++initialisations_;
    begun();
    return {DocStatus::Done, true, false};
}

DocOutcome Document::newDocument() {
    if (!saveChangesFirst()) {
        return {DocStatus::Cancelled, false, false};
    }
    state_.ModifiedFlag = false;
    state_.LoadedFromArchive = false;
    state_.OldEditionLoaded = false;
    live_.Config.ConfigEdition = kEditionCurrent;
    const DocumentState before = state_;
    const std::string title = title_;
    state_.FileKind = kFileKindNone;
    state_.CurrentFilePath.clear();
    setDocumentTitle(str::UntitledDocument.source);
    const DocOutcome outcome = initialiseView(true);
    if (outcome.status == DocStatus::Cancelled) {
        // The previous configuration stays, and with it the file Save writes.
        state_.FileKind = before.FileKind;
        state_.CurrentFilePath = before.CurrentFilePath;
        title_ = title;
    }
    return outcome;
}

DocOutcome Document::loadChosen(const std::string& path, bool platformOpen) {
    // Load into a copy of the file state so a failed load leaves FileKind and
    // CurrentFilePath pointing at the file that is really open.
    DocumentState next = state_;
    Message error;
    int damagedLine = 0;
    if (!loadConfigurationFile(path, live_, next, error, &damagedLine)) {
        ui_.tell(str::AppTitle, error);
        return {DocStatus::Failed, false, false};
    }
    next.FileKind = isXmlFileName(path) ? kFileKindXml : kFileKindArchive;
    next.CurrentFilePath = path;
    next.ModifiedFlag = false;
    state_ = next;
    // Whatever the route, the caption names the file and Save writes it back.
    setDocumentTitle(path);
    used(path);
    if (damagedLine > 0) {
        ui_.tell(str::AppTitle, damagedXmlMessage(path, damagedLine));
    }
    if (platformOpen) {
        // initialiseView tells the session.
        return initialiseView(false);
    }
    begun();
    return {DocStatus::Done, false, true};
}

DocOutcome Document::open() {
    if (!saveChangesFirst()) {
        return {DocStatus::Cancelled, false, false};
    }
    const std::optional<std::string> path = ui_.chooseFile(fileDialogRequest(FileDialogKind::Open));
    if (!path) {
        return {DocStatus::Cancelled, false, false};
    }
    return loadChosen(*path, false);
}

DocOutcome Document::openPath(const std::string& path) {
    if (!saveChangesFirst()) {
        return {DocStatus::Cancelled, false, false};
    }
    return loadChosen(path, true);
}

DocOutcome Document::startUp(const std::optional<std::string>& path) {
    const DocOutcome outcome = path ? openPath(*path) : newDocument();
    if (!path && outcome.status == DocStatus::Done) {
        title_.clear(); // the start-up caption, until a file is opened or saved
    }
    return outcome;
}

DocStatus Document::writeTo(const std::string& path) {
    const bool xml = isXmlFileName(path);
    const std::vector<DroppedField> dropped = fieldsLeftOut(path, live_);
    if (!dropped.empty() && !ui_.askSaveDropping(dropped)) {
        return DocStatus::Cancelled;
    }
    if (!xml && state_.OldEditionLoaded && !ui_.askConfigFormat()) {
        return DocStatus::Cancelled;
    }
    Message error;
    if (!saveConfigurationFile(path, live_, error)) {
        ui_.tell(str::AppTitle, error);
        return DocStatus::Failed;
    }
    // The work is on disk only when the file holds all of it.
    state_.ModifiedFlag = !dropped.empty();
    state_.CurrentFilePath = path;
    state_.FileKind = xml ? kFileKindXml : kFileKindArchive;
    setDocumentTitle(path);
    used(path);
    return DocStatus::Done;
}

DocOutcome Document::save() {
    std::string path = state_.CurrentFilePath;
    if (state_.FileKind == kFileKindNone || path.empty()) {
        const std::optional<std::string> chosen =
            ui_.chooseFile(fileDialogRequest(FileDialogKind::Save));
        if (!chosen) {
            return {DocStatus::Cancelled, false, false};
        }
        path = *chosen;
    }
    return {writeTo(path), false, false};
}

DocOutcome Document::saveAs() {
    const std::optional<std::string> chosen =
        ui_.chooseFile(fileDialogRequest(FileDialogKind::SaveAs));
    if (!chosen) {
        return {DocStatus::Cancelled, false, false};
    }
    return {writeTo(*chosen), false, false};
}

bool Document::queryClose() {
    return saveChangesFirst();
}

bool Document::saveChangesFirst(SaveReason reason) {
    return !state_.ModifiedFlag || askToSaveChanges(reason);
}

void Document::becomeUntitled() {
    state_.FileKind = kFileKindNone;
    state_.CurrentFilePath.clear();
    state_.ModifiedFlag = true;
    setDocumentTitle(str::UntitledDocument.source);
}

} // namespace torvane
