#pragma once

#include <QDialog>
#include <functional>

class QListWidget;

namespace torvane::gui {

// "Select Commands": the command kinds of the configuration type; every double-click on an
// entry adds one command of that kind. No buttons; Esc, Enter or the close control end it.
class CDIns : public QDialog {
    Q_OBJECT
public:
    // `entries` in their fixed order; `onAdd(k)` runs for a double-click on entry k.
    CDIns(const QStringList& entries, std::function<void(int)> onAdd, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QListWidget* list_;
    std::function<void(int)> onAdd_;
};

} // namespace torvane::gui
