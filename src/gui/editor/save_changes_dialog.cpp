#include "gui/editor/save_changes_dialog.h"

#include "gui/app/translation.h"
#include "model/strings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace torvane::gui {

SaveChangesDialog::SaveChangesDialog(QWidget* parent, bool beforeUpload) : QDialog(parent) {
    setObjectName(QStringLiteral("SaveChangesDialog"));
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
