#include "gui/editor/select_commands_dialog.h"

#include "gui/app/translation.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace torvane::gui {

SelectCommandsDialog::SelectCommandsDialog(const QStringList& entries,
                                           std::function<void(int)> onAdd, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)),
      add_(new QPushButton(ui(str::SelectCommandsAdd))), onAdd_(std::move(onAdd)) {
    setObjectName(QStringLiteral("SelectCommandsDialog"));
    setWindowTitle(ui(str::SelectCommandsTitle));
    list_->addItems(entries);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The keyboard starts on the first kind: Enter adds it, the arrows choose another.
    list_->setCurrentRow(0);
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { onAdd_(list_->row(item)); });

    auto* buttons = new QDialogButtonBox(this);
    add_->setObjectName(QStringLiteral("addButton"));
    add_->setDefault(true);
    buttons->addButton(add_, QDialogButtonBox::ActionRole);
    QPushButton* close =
        buttons->addButton(ui(str::SelectCommandsClose), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(add_, &QPushButton::clicked, this, [this] {
        if (list_->currentRow() >= 0) {
            onAdd_(list_->currentRow());
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(300, 200);
}

} // namespace torvane::gui
