#pragma once

#include <QDialog>

class QComboBox;

namespace torvane::gui {

// "Select config type": asked before an archive save when an old edition was loaded.
class ArchiveFormatDialog : public QDialog {
    Q_OBJECT
public:
    explicit ArchiveFormatDialog(QWidget* parent = nullptr);
    // 0 "Old-Config", 1 "New-Config".
    int format() const;

private:
    QComboBox* list_;
};

} // namespace torvane::gui
