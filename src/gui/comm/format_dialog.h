#pragma once

#include "comm/protocol_base.h"

#include <QDialog>

class QComboBox;

namespace torvane::gui {

// "Download hint:": the open document comes from an earlier version; the user picks the
// compatible or the new download format.
class FormatDialog : public QDialog {
    Q_OBJECT
public:
    explicit FormatDialog(QWidget* parent = nullptr);

    QComboBox* selectBox() const { return select_; }
    // The answer after exec(): Cancel when rejected, NoChoice when nothing is selected.
    FormatChoice choice() const;

private:
    QComboBox* select_ = nullptr;
};

} // namespace torvane::gui
