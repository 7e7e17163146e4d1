#pragma once

#include "editor/config_session.h"

#include <QObject>
#include <QString>

namespace torvane::gui {

class CModbusConfigView;

// The document: the lifecycle rules (New, Open, Save, Save As, the exit question) wired to the
// view. The session holds the configuration and the file state; this forwards to it.
class CModbusConfigDoc : public QObject {
    Q_OBJECT
public:
    // `view` and `session` must outlive the document.
    CModbusConfigDoc(CModbusConfigView& view, ConfigSession& session, QObject* parent = nullptr);

    // Start-up: `path` (the command line) or New. EndProgram when the configuration type was
    // cancelled, Failed when `path` did not load (already reported); both end the program.
    DocStatus startUp(const QString& path);
    void fileNew();
    void fileOpen();
    void fileSave();
    void fileSaveAs();
    // Opens a recent-file entry. False when it failed to load.
    bool openRecent(const QString& path);
    // The exit question; true when closing may go on.
    bool canClose();
    // Before an upload: the save question New and Open ask; true when the upload may go on.
    bool saveChangesFirst();
    // A complete upload: the configuration becomes a new, untitled, modified document.
    void adoptUpload(const GatewayConfiguration& uploaded);

    const Document& document() const { return doc_; }
    QString caption() const;

signals:
    void captionChanged(const QString& caption);

private:
    DocOutcome apply(const DocOutcome& outcome);

    CModbusConfigView& view_;
    ConfigSession& session_;
    Document& doc_;
};

} // namespace torvane::gui
