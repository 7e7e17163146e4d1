#pragma once

#include "devices/device_commands.h"
#include "devices/device_description.h"
#include "devices/device_library.h"
#include "editor/config_session.h"

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace torvane::gui {

class Prompts;

// "Add Node from Device" (a new node) and "Add Commands from Device" (an existing node): the
// device (from the library or a file), the node's address (free addresses only) and name, the
// device's default PDOs and objects with check boxes in the column of their buffer, a preview of
// the commands the editor's rules would create and refuse, and the file's notes. Add makes them
// one step of the session.
class DeviceCommandsDialog : public QDialog {
    Q_OBJECT
public:
    // `node`: the 1-based node that receives the commands; 0 adds a node. `at` is the item
    // selected in the tree; `library` the devices of the library.
    DeviceCommandsDialog(ConfigSession& session, Prompts& prompts, int node,
                         const TreeSelection& at, std::vector<LibraryDevice> library,
                         QWidget* parent = nullptr);

    // What Add did; empty until it added something.
    const DraftResult& result() const { return result_; }

    QComboBox* deviceChoice() const { return device_; }
    QComboBox* addressChoice() const { return address_; }
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* filterEdit() const { return filter_; }
    QTreeWidget* tree() const { return tree_; }
    QListWidget* preview() const { return preview_; }
    QListWidget* notes() const { return notes_; }
    void chooseFile();

protected:
    void accept() override;

private:
    struct Source {
        QString label;
        DeviceDescription device;
    };
    unsigned nodeAddress() const;
    void showDevice();
    void fillTree();
    void applyFilter();
    // The checked commands, the ones the device rules out included.
    std::vector<DeviceCommand> chosen() const;
    NodeDrafts drafts(const std::vector<DeviceCommand>& chosen) const;
    void updatePreview();

    ConfigSession& session_;
    Prompts& prompts_;
    int node_;
    TreeSelection at_;
    std::vector<Source> sources_;
    std::vector<DeviceCommand> pdos_;
    DraftResult result_;
    bool filling_ = false;

    QComboBox* device_;
    QComboBox* address_;
    QLineEdit* name_;
    QLineEdit* filter_;
    QTreeWidget* tree_;
    QListWidget* preview_;
    QListWidget* notes_;
};

} // namespace torvane::gui
