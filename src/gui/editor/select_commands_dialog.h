#pragma once

#include <QDialog>
#include <functional>

class QListWidget;
class QPushButton;

namespace torvane::gui {

// "Select Commands": the command kinds of the configuration type. A double-click on an entry, or
// "Add" (the default button, so Enter) for the selected one, adds one command of that kind; the
// dialog stays open for more until "Close" or Esc.
class SelectCommandsDialog : public QDialog {
    Q_OBJECT
public:
    // `entries` in their fixed order; `onAdd(k)` runs for each add of entry k.
    SelectCommandsDialog(const QStringList& entries, std::function<void(int)> onAdd,
                         QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    QPushButton* addButton() const { return add_; }

private:
    QListWidget* list_;
    QPushButton* add_;
    std::function<void(int)> onAdd_;
};

} // namespace torvane::gui
