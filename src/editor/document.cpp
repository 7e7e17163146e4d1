#include "editor/document.h"

#include "model/archive.h"
#include "model/atomic_file.h"
#include "model/config_file.h"
#include "model/strings.h"

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
    caption_ = titledCaption(title);
}

void Document::begun() {
    if (onBegin_) {
        onBegin_();
    }
}

bool Document::askToSaveChanges() {
    // The question stays until the configuration is written or the user gives it up.
    for (;;) {
        switch (ui_.askSaveChanges()) {
        case SaveAnswer::No:
            return true;
        case SaveAnswer::Cancel:
            return false;
        case SaveAnswer::Yes:
            break;
        }
        const std::optional<std::string> path =
            ui_.chooseFile(fileDialogRequest(FileDialogKind::ExitSave));
        if (!path) {
            return false;
        }
        std::string error;
        if (writeFileAtomically(*path, writeArchive(live_), error)) {
            state_.ModifiedFlag = false;
            return true;
        }
        ui_.tell(str::AppTitle, error);
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
    state_.FileKind = kFileKindNone;
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
    setDocumentTitle(str::UntitledDocument);
    return initialiseView(true);
}

DocOutcome Document::loadChosen(const std::string& path, bool platformOpen) {
    // Load into a copy of the file state so a failed load leaves FileKind and
    // CurrentFilePath pointing at the file that is really open.
    DocumentState next = state_;
    std::string error;
    if (!loadConfigurationFile(path, live_, next, error)) {
        ui_.tell(str::AppTitle, error);
        return {DocStatus::Failed, false, false};
    }
    const bool xml = isXmlFileName(path);
    next.FileKind = xml ? kFileKindXml : kFileKindArchive;
    next.CurrentFilePath = path;
    next.ModifiedFlag = false;
    state_ = next;
    if (platformOpen || !xml) {
        setDocumentTitle(path);
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
    if (outcome.status != DocStatus::EndProgram && outcome.status != DocStatus::Failed) {
        caption_ = str::CaptionAtStartUp;
    }
    return outcome;
}

DocStatus Document::writeTo(const std::string& path) {
    if (!isXmlFileName(path) && state_.OldEditionLoaded && !ui_.askConfigFormat()) {
        return DocStatus::Cancelled;
    }
    std::string error;
    if (!saveConfigurationFile(path, live_, error)) {
        ui_.tell(str::AppTitle, error);
        return DocStatus::Failed;
    }
    // Only an archive save clears the flag; writing XML leaves it as it is.
    if (!isXmlFileName(path)) {
        state_.ModifiedFlag = false;
    }
    return DocStatus::Done;
}

DocOutcome Document::save() {
    std::string path = state_.CurrentFilePath;
    if (state_.FileKind == kFileKindNone) {
        const std::optional<std::string> chosen =
            ui_.chooseFile(fileDialogRequest(FileDialogKind::Save));
        if (!chosen) {
            return {DocStatus::Cancelled, false, false};
        }
        path = *chosen;
    }
    const DocStatus status = writeTo(path);
    if (status == DocStatus::Done) {
        state_.CurrentFilePath = path;
        state_.FileKind = isXmlFileName(path) ? kFileKindXml : kFileKindArchive;
        caption_ = path;
    }
    return {status, false, false};
}

DocOutcome Document::saveAs() {
    const std::optional<std::string> chosen =
        ui_.chooseFile(fileDialogRequest(FileDialogKind::SaveAs));
    if (!chosen) {
        return {DocStatus::Cancelled, false, false};
    }
    const DocStatus status = writeTo(*chosen);
    if (status == DocStatus::Done) {
        state_.CurrentFilePath = *chosen;
        state_.FileKind = isXmlFileName(*chosen) ? kFileKindXml : kFileKindArchive;
    }
    return {status, false, false};
}

bool Document::queryClose() {
    return saveChangesFirst();
}

bool Document::saveChangesFirst() {
    return !state_.ModifiedFlag || askToSaveChanges();
}

void Document::becomeUntitled() {
    state_.FileKind = kFileKindNone;
    state_.CurrentFilePath.clear();
    state_.ModifiedFlag = true;
    setDocumentTitle(str::UntitledDocument);
}

} // namespace torvane
