#include "gui/comm/serial_dialog.h"

#include "gui/app/demo_gateway.h"
#include "gui/app/translation.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

namespace torvane::gui {

std::string SerialDialogState::selectedPort() const {
    if (portIndex < 0 || portIndex >= static_cast<int>(ports.size())) {
        return {};
    }
    return ports[static_cast<std::size_t>(portIndex)];
}

namespace {
std::vector<std::string> devicesOf(const std::vector<platform::PortDetails>& ports) {
    std::vector<std::string> devices;
    devices.reserve(ports.size());
    for (const platform::PortDetails& p : ports) {
        devices.push_back(p.device);
    }
    return devices;
}
} // namespace

SerialDialog::SerialDialog(SerialDialogState& state, const std::vector<std::string>& ports,
                           QWidget* parent)
    : SerialDialog(state, platform::serialPortDetails(ports), parent) {}

SerialDialog::SerialDialog(SerialDialogState& state,
                           const std::vector<platform::PortDetails>& ports, QWidget* parent)
    : QDialog(parent), state_(state), ports_(devicesOf(ports)) {
    setObjectName("SerialDialog");
    setWindowTitle(ui(str::SerialDialogTitle));
    QStringList portNames;
    for (const std::string& p : ports_) {
        portNames << portDisplayName(p);
    }
    const QStringList items[5] = {
        portNames,
        {"300", "600", "1200", "2400", "4800", "9600", "19200", "57600", "115200"},
        {ui(str::ParityNone), ui(str::ParityOdd), ui(str::ParityEven), ui(str::ParityMark),
         ui(str::ParitySpace)},
        {"8", "7", "6", "5"},
        {"1", "2"},
    };
    const int selected[5] = {state.portIndex, state.baudIndex, state.parityIndex,
                             state.dataBitsIndex, state.stopBitsIndex};
    const str::UiText labels[5] = {str::SerialPortLabel, str::SerialBaudLabel,
                                   str::SerialParityLabel, str::SerialDataBitsLabel,
                                   str::SerialStopBitsLabel};
    auto* form = new QFormLayout(this);
    for (int i = 0; i < 5; ++i) {
        boxes_[i] = new QComboBox(this);
        boxes_[i]->addItems(items[i]);
        // An index with no item leaves the box without a selection.
        boxes_[i]->setCurrentIndex(selected[i] < boxes_[i]->count() ? selected[i] : -1);
        boxes_[i]->setMinimumWidth(160);
        form->addRow(ui(labels[i]), boxes_[i]);
    }
    for (std::size_t i = 0; i < ports.size(); ++i) {
        boxes_[0]->setItemData(static_cast<int>(i), core(platform::describePort(ports[i])),
                               Qt::ToolTipRole);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void SerialDialog::accept() {
    state_.ports = ports_;
    state_.portIndex = boxes_[0]->currentIndex();
    state_.baudIndex = boxes_[1]->currentIndex();
    state_.parityIndex = boxes_[2]->currentIndex();
    state_.dataBitsIndex = boxes_[3]->currentIndex();
    state_.stopBitsIndex = boxes_[4]->currentIndex();
    state_.configured = true;
    QDialog::accept();
}

} // namespace torvane::gui
