#pragma once

#include "editor/document.h"

#include <QObject>
#include <QString>

namespace torvane::gui {

class CModbusConfigView;
class Prompts;

// The document: the lifecycle rules (New, Open, Save, Save As, the exit question) wired to the
// view. It owns only the file state; the view owns the configuration.
class CModbusConfigDoc : public QObject {
    Q_OBJECT
public:
    CModbusConfigDoc(CModbusConfigView& view, Prompts& prompts, QObject* parent = nullptr);

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

    const Document& document() const { return doc_; }
    QString caption() const;

signals:
    void captionChanged(const QString& caption);

private:
    DocOutcome apply(const DocOutcome& outcome);

    CModbusConfigView& view_;
    Document doc_;
};

} // namespace torvane::gui
