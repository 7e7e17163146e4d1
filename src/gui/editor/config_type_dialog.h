#pragma once

#include <QDialog>

class QComboBox;

namespace torvane::gui {

// "Protocol Type Selection": chooses ConfigType (0 CANopen Master, 1 CANopen Slave).
class ConfigTypeDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConfigTypeDialog(QWidget* parent = nullptr);
    // Index of the chosen entry: the ConfigType.
    int configType() const;
    QComboBox* list() const { return list_; }

private:
    QComboBox* list_;
};

} // namespace torvane::gui
