#pragma once

#include "editor/document.h"

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QDialogButtonBox;
class QMessageBox;
class QWidget;

namespace torvane::gui {

// Every message box, question and file dialog of the program goes through this one interface
// (the lifecycle's DocumentUi plus the view's own questions), so no window ever blocks on a
// dialog in a test: a test installs a scripted implementation.
class Prompts : public DocumentUi {
public:
    // A question with OK and Cancel; true for OK.
    virtual bool askOkCancel(const Message& text) = 0;
    // A question with Yes, No and Cancel.
    virtual SaveAnswer askYesNoCancel(const Message& text) = 0;

    // A message box titled with the program's name.
    void tell(const Message& text);
    // The same for a text of the window's own, already in the interface language.
    void tell(const QString& text);
    using DocumentUi::tell;
};

// The folder the last file dialog chose a file in, kept with the recent-file list in
// QSettings("Local AppWizard-Generated Applications", "Torvane"), key "Settings/Last Folder";
// empty when none was chosen yet or the folder is gone. Every file dialog starts there.
QString lastFileFolder();
// Keeps the folder of `filePath` as the one the next file dialog starts in.
void rememberFileFolder(const QString& filePath);

// "The XML file does not hold: <label> (<value>), .... Save anyway?" in the interface language.
QString xmlDropsQuestion(const std::vector<DroppedField>& fields);
// The box that asks it, with Yes and No ("No" the default: Enter writes nothing).
std::unique_ptr<QMessageBox> xmlDropsBox(const std::vector<DroppedField>& fields, QWidget* parent);

// "OK" (the default) and "Cancel" for `dialog`, accepting and rejecting it.
QDialogButtonBox* okCancelButtons(QDialog* dialog);

// The box that shows a message (a UTF-8 `title`) in the interface language; never null.
std::unique_ptr<QMessageBox> messageBox(const std::string& title, const Message& text,
                                        QWidget* parent);

// The real implementation: QMessageBox and the program's dialogs, parented to `parent`.
class WidgetPrompts final : public Prompts {
public:
    explicit WidgetPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<int> askConfigType() override;
    std::optional<int> askConfigFormat() override;
    SaveAnswer askSaveChanges(SaveReason reason) override;
    bool askSaveDropping(const std::vector<DroppedField>& fields) override;
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
    void tell(const std::string& title, const Message& text) override;
    bool askOkCancel(const Message& text) override;
    SaveAnswer askYesNoCancel(const Message& text) override;
    using Prompts::tell;

private:
    QWidget* parent_;
};

} // namespace torvane::gui
