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
    // The caption is a path (as the file system gives it) or one of the program's own texts,
    // which are shown in the interface language.
    const std::string& caption = doc_.caption();
    if (caption == str::CaptionAtStartUp) {
        return core(caption);
    }
    if (caption == Document::titledCaption(str::UntitledDocument)) {
        return QString::fromStdString(
            Document::titledCaption(core(str::UntitledDocument).toStdString()));
    }
    return QFile::decodeName(QByteArray::fromStdString(caption));
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

DocStatus CModbusConfigDoc::startUp(const QString& path) {
    std::optional<std::string> file;
    if (!path.isEmpty()) {
        file = localPath(path);
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

bool CModbusConfigDoc::openRecent(const QString& path) {
    view_.commitOpenEditor();
    return apply(doc_.openPath(localPath(path))).status == DocStatus::Done;
}

bool CModbusConfigDoc::canClose() {
    view_.commitOpenEditor();
    return doc_.queryClose();
}

bool CModbusConfigDoc::saveChangesFirst() {
    view_.commitOpenEditor();
    return doc_.saveChangesFirst();
}

void CModbusConfigDoc::adoptUpload(const GatewayConfiguration& uploaded) {
    view_.commitOpenEditor();
    session_.adoptUpload(uploaded);
    apply({DocStatus::Done, true, false});
}

} // namespace torvane::gui
