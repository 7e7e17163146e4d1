#include "gui/editor/config_document.h"

#include "gui/app/translation.h"
#include "gui/editor/config_view.h"
#include "model/strings.h"

#include <QFile>

namespace torvane::gui {

namespace {
std::string localPath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}
} // namespace

ConfigDocument::ConfigDocument(ConfigView& view, ConfigSession& session, QObject* parent)
    : QObject(parent), view_(view), session_(session), doc_(session.document()) {}

QString ConfigDocument::caption() const {
    // The caption names a path (as the file system gives it) or one of the program's own texts,
    // which are shown in the interface language.
    const std::string& title = doc_.title();
    const QString mark = QStringLiteral("[*]");
    if (title.empty()) {
        return core(str::CaptionAtStartUp) + mark;
    }
    QString shown = title == str::UntitledDocument.source
                        ? core(str::UntitledDocument)
                        : QFile::decodeName(QByteArray::fromStdString(title));
    // A literal "[*]" in a file name is shown as it is.
    shown.replace(mark, QStringLiteral("[*][*]"));
    return shown + mark + QStringLiteral(" - ") + QString::fromLatin1(str::AppTitle);
}

DocOutcome ConfigDocument::apply(const DocOutcome& outcome) {
    if (outcome.viewInitialised) {
        view_.rebuildTree(true);
    } else if (outcome.rebuildTree) {
        view_.rebuildTree(false);
    }
    emit captionChanged(caption());
    return outcome;
}

DocStatus ConfigDocument::startUp(const std::string& path) {
    std::optional<std::string> file;
    if (!path.empty()) {
        file = path;
    }
    return apply(doc_.startUp(file)).status;
}

void ConfigDocument::fileNew() {
    view_.commitOpenEditor();
    apply(doc_.newDocument());
}

void ConfigDocument::fileOpen() {
    view_.commitOpenEditor();
    apply(doc_.open());
}

void ConfigDocument::fileSave() {
    view_.commitOpenEditor();
    apply(doc_.save());
}

void ConfigDocument::fileSaveAs() {
    view_.commitOpenEditor();
    apply(doc_.saveAs());
}

bool ConfigDocument::openRecent(const std::string& path) {
    view_.commitOpenEditor();
    return apply(doc_.openPath(path)).status == DocStatus::Done;
}

bool ConfigDocument::openRecent(const QString& path) {
    return openRecent(localPath(path));
}

bool ConfigDocument::canClose() {
    view_.commitOpenEditor();
    const bool goOn = doc_.queryClose();
    emit captionChanged(caption());
    return goOn;
}

bool ConfigDocument::saveChangesFirst(SaveReason reason) {
    view_.commitOpenEditor();
    const bool goOn = doc_.saveChangesFirst(reason);
    emit captionChanged(caption()); // "Yes" may have saved under a new name
    return goOn;
}

void ConfigDocument::adoptUpload(const GatewayConfiguration& uploaded) {
    view_.commitOpenEditor();
    session_.adoptUpload(uploaded);
    apply({DocStatus::Done, true, false});
}

} // namespace torvane::gui
