#pragma once

#include "compare/configuration_compare.h"
#include "gui/app/gui_texts.h"

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace torvane::gui {

// The differences of one comparison: what was compared, place, the value in this configuration
// and the other side's value, their count and what was not compared. Double-clicking a row asks
// for its tree item; the window never changes a configuration. One window serves every
// comparison of its kind: a new one replaces what it shows.
class CompareWindow : public QDialog {
    Q_OBJECT
public:
    // `otherColumn` heads the third column and names the other side ("On the gateway" or "In the
    // file").
    CompareWindow(const str::UiText& title, const str::UiText& otherColumn,
                  QWidget* parent = nullptr);
    // Shows `result`; `ours` names this configuration (its file, or the untitled name), `theirs`
    // the other side (a file's path, or the port and the time of the upload). The window is
    // current again.
    void showComparison(const CompareResult& result, const QString& ours, const QString& theirs);
    // The configuration changed (or was downloaded) since: says so and offers "Compare Again".
    void setOutOfDate(bool outOfDate);
    bool outOfDate() const { return outOfDate_; }

    QTreeWidget* list() const { return list_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* againButton() const { return again_; }
    QLabel* countLabel() const { return count_; }
    QLabel* sourceLabel() const { return source_; }
    QLabel* outOfDateLabel() const { return stale_; }
    // Both sides, then the differences, one line each, as the copy button puts it on the
    // clipboard.
    QString text() const;

signals:
    // A difference was double-clicked; `position` is its 1-based node or command position on
    // this configuration's side (0 for a parameter or an entry only on the other side).
    void differenceActivated(torvane::PlaceKind kind, int position);
    void compareAgainRequested();

private:
    void activated(QTreeWidgetItem* item);
    QString sidesText() const;

    CompareResult result_;
    str::UiText otherColumn_;
    QString ours_;
    QString theirs_;
    bool outOfDate_ = false;
    QLabel* source_ = nullptr;
    QLabel* stale_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* again_ = nullptr;
};

} // namespace torvane::gui
