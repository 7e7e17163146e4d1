#pragma once

#include <QDialog>

namespace torvane::gui {

// "Save Configuration": the question asked before unsaved work would be left. "Yes(&Y)" is the
// default button, so Enter keeps the work.
class SaveChangesDialog : public QDialog {
    Q_OBJECT
public:
    // Result codes of exec(): Yes and No; Rejected (0) is Cancel or the close control.
    enum Answer { Yes = 10, No = 11 };
    // `beforeUpload` adds the line saying the gateway's configuration will replace the open one.
    explicit SaveChangesDialog(QWidget* parent = nullptr, bool beforeUpload = false);
};

} // namespace torvane::gui
