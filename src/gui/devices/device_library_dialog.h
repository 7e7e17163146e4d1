#pragma once

#include "devices/device_library.h"

#include <QDialog>
#include <QString>
#include <vector>

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace torvane::gui {

class Prompts;

// A message of the device layer in the interface language.
QString deviceMessageText(const DeviceMessage& message);
// Why the library refused an import or a removal, naming the file.
QString libraryFailure(const LibraryOutcome& outcome);

// "Device Library": the imported devices (vendor, product, revision, file, number of notes),
// Import of several files, Remove, and the notes of the selected device. The library itself is
// the core's; the window shows it and forwards the two commands.
class DeviceLibraryDialog : public QDialog {
    Q_OBJECT
public:
    // `folder` is the library's; empty when the system names none (Import then says so).
    DeviceLibraryDialog(std::string folder, Prompts& prompts, QWidget* parent = nullptr);

    QTreeWidget* devices() const { return devices_; }
    QPlainTextEdit* notes() const { return notes_; }
    void importFiles();
    void removeSelected();

private:
    void reload(const std::string& selectKey);
    void showNotes();

    std::string folder_;
    Prompts& prompts_;
    std::vector<LibraryDevice> library_;
    QTreeWidget* devices_;
    QPlainTextEdit* notes_;
    QPushButton* remove_;
};

} // namespace torvane::gui
