#include "gui/comm/format_dialog.h"

#include "gui/app/translation.h"
#include "model/strings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace torvane::gui {

FormatDialog::FormatDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("FormatDialog");
    setWindowTitle(core(str::DownloadHintTitle));
    auto* text = new QLabel(ui(str::DownloadHintText), this);
    text->setWordWrap(true);
    select_ = new QComboBox(this);
    select_->addItems({core(str::FormatCompatible), core(str::FormatNew)});
    select_->setCurrentIndex(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(ui(str::DownloadHintSelect), select_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

FormatChoice FormatDialog::choice() const {
    if (result() != QDialog::Accepted) {
        return FormatChoice::Cancel;
    }
    switch (select_->currentIndex()) {
    case 0:
        return FormatChoice::Compatible;
    case 1:
        return FormatChoice::New;
    default:
        return FormatChoice::NoChoice;
    }
}

} // namespace torvane::gui
