#pragma once

// Tools > Export PLC Tags… and File > Print I/O Map…: the dialog that sets up the tag export
// and the two jobs, which ask for the file through the program's Prompts.

#include "devices/device_library.h"
#include "plc/plc_tags.h"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace torvane {
class ConfigSession;
}

namespace torvane::gui {

class Prompts;

// Format, start addresses, the device of each node (pre-filled from the library by the node's
// name) and a preview of the first tags. Starts from the choices last accepted (the program's
// settings, keys "PlcTags/..."), and keeps them when accepted.
class PlcTagsDialog final : public QDialog {
    Q_OBJECT
public:
    PlcTagsDialog(const GatewayConfiguration& cfg, std::vector<LibraryDevice> library,
                  QWidget* parent = nullptr);

    TagOptions options() const;
    bool wordAddressing() const;
    // The tags the choices give (the preview's).
    const TagResult& result() const { return result_; }

    void accept() override;

    QPushButton* okButton() const;

private:
    void update();

    const GatewayConfiguration& cfg_;
    std::vector<LibraryDevice> library_;
    std::vector<int> nodePositions_; // 1-based, one per row of the device table
    QComboBox* format_ = nullptr;
    QCheckBox* words_ = nullptr;
    QSpinBox* inputStart_ = nullptr;
    QSpinBox* outputStart_ = nullptr;
    QTableWidget* devices_ = nullptr;
    QTableWidget* preview_ = nullptr;
    QLabel* problem_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    TagResult result_;
};

// The tags: the dialog, the file, the bytes. Returns the file written; empty when cancelled or
// failed (the failure told through `prompts`).
std::string exportPlcTags(const ConfigSession& session, Prompts& prompts, QWidget* parent);

// The I/O map in the interface language, as PDF or HTML by the file's extension. Returns the
// file written; empty when cancelled or failed (told through `prompts`).
std::string printIoMap(const ConfigSession& session, Prompts& prompts);

} // namespace torvane::gui
