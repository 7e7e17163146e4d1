#pragma once

#include <QDialog>

class QComboBox;

namespace torvane::gui {

// "Protocol Type Selection": chooses ConfigType (0 CANopen Master, 1 CANopen Slave).
class CDlgSelectConfigType : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSelectConfigType(QWidget* parent = nullptr);
    // Index of the chosen entry: the ConfigType.
    int configType() const;
    QComboBox* list() const { return list_; }

private:
    QComboBox* list_;
};

// "Select config type": asked before an archive save when an old edition was loaded.
class CDlgSelectConfigFormat : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSelectConfigFormat(QWidget* parent = nullptr);
    // 0 "Old-Config", 1 "New-Config".
    int format() const;

private:
    QComboBox* list_;
};

// "Save Configuration": the question asked before unsaved work would be left. "Yes(&Y)" is the
// default button, so Enter keeps the work.
class CDSave : public QDialog {
    Q_OBJECT
public:
    // Result codes of exec(): Yes and No; Rejected (0) is Cancel or the close control.
    enum Answer { Yes = 10, No = 11 };
    // `beforeUpload` adds the line saying the gateway's configuration will replace the open one.
    explicit CDSave(QWidget* parent = nullptr, bool beforeUpload = false);
};

} // namespace torvane::gui
