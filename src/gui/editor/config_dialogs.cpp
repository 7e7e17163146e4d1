#include "gui/editor/config_dialogs.h"

#include "gui/app/translation.h"
#include "model/strings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace torvane::gui {

namespace {
QDialogButtonBox* okCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(ui(str::ButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(ui(str::ButtonCancel), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
} // namespace

CDlgSelectConfigType::CDlgSelectConfigType(QWidget* parent)
    : QDialog(parent), list_(new QComboBox(this)) {
    setObjectName(QStringLiteral("CDlgSelectConfigType"));
    setWindowTitle(ui(str::ProtocolTypeSelection));
    list_->addItem(QString::fromLatin1(str::CanopenMaster));
    list_->addItem(QString::fromLatin1(str::CanopenSlave));
    list_->setCurrentIndex(0);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(core(str::ParamTypeOfProtocol), this));
    row->addWidget(list_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(okCancel(this));
    setMinimumWidth(320);
}

int CDlgSelectConfigType::configType() const {
    return list_->currentIndex();
}

CDlgSelectConfigFormat::CDlgSelectConfigFormat(QWidget* parent)
    : QDialog(parent), list_(new QComboBox(this)) {
    setObjectName(QStringLiteral("CDlgSelectConfigFormat"));
    setWindowTitle(ui(str::SelectConfigType));
    list_->addItem(ui(str::OldConfig));
    list_->addItem(ui(str::NewConfig));
    list_->setCurrentIndex(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(okCancel(this));
    setMinimumWidth(260);
}

int CDlgSelectConfigFormat::format() const {
    return list_->currentIndex();
}

CDSave::CDSave(QWidget* parent, bool beforeUpload) : QDialog(parent) {
    setObjectName(QStringLiteral("CDSave"));
    setWindowTitle(ui(str::SaveConfigurationTitle));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    QString question = ui(str::SaveConfigurationQuestion);
    if (beforeUpload) {
        question += QLatin1Char('\n') + ui(str::SaveBeforeUploadNote);
    }
    auto* text = new QLabel(question, this);
    text->setObjectName(QStringLiteral("question"));
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);

    auto* yes = new QPushButton(ui(str::ButtonYes), this);
    auto* no = new QPushButton(ui(str::ButtonNo), this);
    auto* cancel = new QPushButton(ui(str::ButtonCancel), this);
    yes->setObjectName(QStringLiteral("yes"));
    no->setObjectName(QStringLiteral("no"));
    cancel->setObjectName(QStringLiteral("cancel"));
    yes->setDefault(true);
    yes->setFocus();
    connect(yes, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(no, &QPushButton::clicked, this, [this] { done(No); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

} // namespace torvane::gui
