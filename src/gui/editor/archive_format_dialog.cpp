#include "gui/editor/archive_format_dialog.h"

#include "gui/app/translation.h"
#include "gui/editor/prompts.h"
#include "model/strings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace torvane::gui {

ArchiveFormatDialog::ArchiveFormatDialog(QWidget* parent)
    : QDialog(parent), list_(new QComboBox(this)) {
    setObjectName(QStringLiteral("ArchiveFormatDialog"));
    setWindowTitle(ui(str::SelectConfigType));
    list_->addItem(ui(str::OldConfig));
    list_->addItem(ui(str::NewConfig));
    list_->setCurrentIndex(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(okCancelButtons(this));
    setMinimumWidth(260);
}

int ArchiveFormatDialog::format() const {
    return list_->currentIndex();
}

} // namespace torvane::gui
