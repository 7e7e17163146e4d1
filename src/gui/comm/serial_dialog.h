#pragma once

#include "platform/serial_ports.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;

namespace torvane::gui {

// The serial settings of the running program; kept for the run only.
struct SerialDialogState {
    std::vector<std::string> ports;
    int portIndex = 0;
    int baudIndex = 7;   // "57600"
    int parityIndex = 1; // "ODD"
    int dataBitsIndex = 0;
    int stopBitsIndex = 0;
    bool configured = false;

    // The selected device, or empty when the index is outside the list.
    std::string selectedPort() const;
};

// "Serial Port Configuration": five lists; OK stores the selections and marks the port as
// configured, Cancel stores nothing.
class SerialDialog : public QDialog {
    Q_OBJECT
public:
    // Fills the lists from `state` (with `ports` as the port list) and preselects its indexes;
    // each port's tooltip describes the adapter as the system knows it.
    SerialDialog(SerialDialogState& state, const std::vector<std::string>& ports,
                 QWidget* parent = nullptr);
    // The same with the port details given: `ports[i].device` is the i-th port.
    SerialDialog(SerialDialogState& state, const std::vector<platform::PortDetails>& ports,
                 QWidget* parent = nullptr);

    QComboBox* portBox() const { return boxes_[0]; }

    void accept() override;

private:
    SerialDialogState& state_;
    std::vector<std::string> ports_;
    QComboBox* boxes_[5] = {};
};

} // namespace torvane::gui
