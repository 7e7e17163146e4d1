#pragma once

#include "editor/config_session.h"

#include <QObject>
#include <QString>

namespace torvane::gui {

class ConfigView;

// The document: the lifecycle rules (New, Open, Save, Save As, the exit question) wired to the
// view. The session holds the configuration and the file state; this forwards to it.
class ConfigDocument : public QObject {
    Q_OBJECT
public:
    // `view` and `session` must outlive the document.
    ConfigDocument(ConfigView& view, ConfigSession& session, QObject* parent = nullptr);

    // Start-up: `path` (the command line, as the file system names it) or New when it is empty.
    // EndProgram when the configuration type was cancelled, Failed when `path` did not load
    // (already reported); both end the program.
    DocStatus startUp(const std::string& path);
    void fileNew();
    void fileOpen();
    void fileSave();
    void fileSaveAs();
    // Opens a recent-file entry (a path as the file system names it). False when it failed to
    // load.
    bool openRecent(const std::string& path);
    bool openRecent(const QString& path);
    // The exit question; true when closing may go on.
    bool canClose();
    // The save question before the configuration is replaced; true when the command may go on.
    bool saveChangesFirst(SaveReason reason);
    // A complete upload: the configuration becomes a new, untitled, modified document.
    void adoptUpload(const GatewayConfiguration& uploaded);

    const Document& document() const { return doc_; }
    // The caption with Qt's modified mark: "<file Save writes>[*] - Torvane", "Untitled[*] -
    // Torvane", or the start-up caption.
    QString caption() const;

signals:
    void captionChanged(const QString& caption);

private:
    DocOutcome apply(const DocOutcome& outcome);

    ConfigView& view_;
    ConfigSession& session_;
    Document& doc_;
};

} // namespace torvane::gui
