#include "gui/editor/config_type_dialog.h"

#include "gui/app/translation.h"
#include "gui/editor/prompts.h"
#include "model/strings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace torvane::gui {

ConfigTypeDialog::ConfigTypeDialog(QWidget* parent) : QDialog(parent), list_(new QComboBox(this)) {
    setObjectName(QStringLiteral("ConfigTypeDialog"));
    setWindowTitle(ui(str::ProtocolTypeSelection));
    list_->addItem(QString::fromLatin1(str::CanopenMaster));
    list_->addItem(QString::fromLatin1(str::CanopenSlave));
    list_->setCurrentIndex(0);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(core(str::ParamTypeOfProtocol), this));
    row->addWidget(list_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(okCancelButtons(this));
    setMinimumWidth(320);
}

int ConfigTypeDialog::configType() const {
    return list_->currentIndex();
}

} // namespace torvane::gui
