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

CModbusConfigDoc::CModbusConfigDoc(CModbusConfigView& view, ConfigSession& session, QObject* parent)
    : QObject(parent), view_(view), session_(session), doc_(session.document()) {}

QString CModbusConfigDoc::caption() const {
    // The caption names a path (as the file system gives it) or one of the program's own texts,
    // which are shown in the interface language.
    const std::string& title = doc_.title();
    const QString mark = QStringLiteral("[*]");
    if (title.empty()) {
        return core(str::CaptionAtStartUp) + mark;
    }
    QString shown = title == str::UntitledDocument
                        ? core(str::UntitledDocument)
                        : QFile::decodeName(QByteArray::fromStdString(title));
    // A literal "[*]" in a file name is shown as it is.
    shown.replace(mark, QStringLiteral("[*][*]"));
    return shown + mark + QStringLiteral(" - ") + QString::fromLatin1(str::AppTitle);
}

DocOutcome CModbusConfigDoc::apply(const DocOutcome& outcome) {
    if (outcome.viewInitialised) {
        view_.rebuildTree(true);
    } else if (outcome.rebuildTree) {
        view_.rebuildTree(false);
    }
    emit captionChanged(caption());
    return outcome;
}

DocStatus CModbusConfigDoc::startUp(const std::string& path) {
    std::optional<std::string> file;
    if (!path.empty()) {
        file = path;
    }
    return apply(doc_.startUp(file)).status;
}

void CModbusConfigDoc::fileNew() {
    view_.commitOpenEditor();
    apply(doc_.newDocument());
}

void CModbusConfigDoc::fileOpen() {
    view_.commitOpenEditor();
    apply(doc_.open());
}

void CModbusConfigDoc::fileSave() {
    view_.commitOpenEditor();
    apply(doc_.save());
}

void CModbusConfigDoc::fileSaveAs() {
    view_.commitOpenEditor();
    apply(doc_.saveAs());
}

bool CModbusConfigDoc::openRecent(const std::string& path) {
    view_.commitOpenEditor();
    return apply(doc_.openPath(path)).status == DocStatus::Done;
}

bool CModbusConfigDoc::openRecent(const QString& path) {
    return openRecent(localPath(path));
}

bool CModbusConfigDoc::canClose() {
    view_.commitOpenEditor();
    const bool goOn = doc_.queryClose();
    emit captionChanged(caption());
    return goOn;
}

bool CModbusConfigDoc::saveChangesFirst(SaveReason reason) {
    view_.commitOpenEditor();
    const bool goOn = doc_.saveChangesFirst(reason);
    emit captionChanged(caption()); // "Yes" may have saved under a new name
    return goOn;
}

void CModbusConfigDoc::adoptUpload(const GatewayConfiguration& uploaded) {
    view_.commitOpenEditor();
    session_.adoptUpload(uploaded);
    apply({DocStatus::Done, true, false});
}

} // namespace torvane::gui
