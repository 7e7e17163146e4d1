#include "gui/editor/select_commands_dialog.h"

#include "gui/app/translation.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

namespace torvane::gui {

CDIns::CDIns(const QStringList& entries, std::function<void(int)> onAdd, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)), onAdd_(std::move(onAdd)) {
    setObjectName(QStringLiteral("CDIns"));
    setWindowTitle(ui(str::SelectCommandsTitle));
    list_->addItems(entries);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { onAdd_(list_->row(item)); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    resize(300, 160);
}

void CDIns::keyPressEvent(QKeyEvent* event) {
    // Enter closes the window like Esc; it never adds a command.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace torvane::gui
