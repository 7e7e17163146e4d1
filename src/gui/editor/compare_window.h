#pragma once

#include "compare/configuration_compare.h"
#include "gui/app/gui_texts.h"
#include "transfer/transfer_job.h"

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace torvane::gui {

// The differences of one comparison: place, the value in this configuration and the other
// side's value, their count and what was not compared. Double-clicking a row asks for its tree
// item; the window never changes a configuration.
class CompareWindow : public QDialog {
    Q_OBJECT
public:
    // `otherColumn` heads the third column ("On the gateway" or "In the file").
    CompareWindow(const CompareResult& result, const str::UiText& title,
                  const str::UiText& otherColumn, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    QPushButton* copyButton() const { return copy_; }
    QLabel* countLabel() const { return count_; }
    // The differences as text, one line each, as the copy button puts it on the clipboard.
    QString text() const;

signals:
    // A difference was double-clicked; `position` is its 1-based node or command position on
    // this configuration's side (0 for a parameter or an entry only on the other side).
    void differenceActivated(torvane::PlaceKind kind, int position);

private:
    void activated(QTreeWidgetItem* item);

    CompareResult result_;
    QTreeWidget* list_ = nullptr;
    QLabel* count_ = nullptr;
    QPushButton* copy_ = nullptr;
};

// The live configuration against what a successful upload read, in the carried scope of the
// format the gateway stores.
CompareResult compareWithUpload(const GatewayConfiguration& live, const TransferOutcome& outcome);

// The live configuration against the file at `path` in every field (an .xml file read as Open
// reads it; the fields it does not hold are not compared); nullopt with the message naming the
// file in `error`. `warning` gets the damage message of an XML file read as far as it goes.
std::optional<CompareResult> compareWithFile(const GatewayConfiguration& live,
                                             const std::string& path, std::string& error,
                                             std::string* warning = nullptr);

} // namespace torvane::gui
