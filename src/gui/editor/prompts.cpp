#include "gui/editor/prompts.h"

#include "gui/app/translation.h"
#include "gui/editor/archive_format_dialog.h"
#include "gui/editor/config_type_dialog.h"
#include "gui/editor/save_changes_dialog.h"
#include "model/strings.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

namespace torvane::gui {

namespace {
QSettings profile() {
    return QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                     QStringLiteral("Torvane"));
}
const QString kLastFolderKey = QStringLiteral("Settings/Last Folder");

// A window manager draws the title beside an icon and three buttons, often in a bold face; Qt
// sizes a message box for less, so a short message showed its title cut ("To… e"). The box is
// kept wide enough for the whole title.
void keepTitleWhole(QMessageBox& box) {
    QFont font = QApplication::font();
    font.setBold(true);
    const int title = QFontMetrics(font).horizontalAdvance(box.windowTitle());
    constexpr int kFrameAndButtons = 160;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(title * 5 / 4 + kFrameAndButtons, 0, QSizePolicy::Minimum,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}
} // namespace

QString lastFileFolder() {
    const QString folder = profile().value(kLastFolderKey).toString();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

void rememberFileFolder(const QString& filePath) {
    profile().setValue(kLastFolderKey, QFileInfo(filePath).absolutePath());
}

void Prompts::tell(const Message& text) {
    tell(str::AppTitle, text);
}

void Prompts::tell(const QString& text) {
    tell(str::AppTitle, Message::plain(text.toStdString()));
}

QDialogButtonBox* okCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(ui(str::ButtonOk), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(ui(str::ButtonCancel), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

std::unique_ptr<QMessageBox> messageBox(const std::string& title, const Message& text,
                                        QWidget* parent) {
    // Any configuration text in a message was converted to UTF-8 when it was put in.
    auto box = std::make_unique<QMessageBox>(QMessageBox::Warning, QString::fromStdString(title),
                                             core(text), QMessageBox::Ok, parent);
    keepTitleWhole(*box);
    return box;
}

void WidgetPrompts::tell(const std::string& title, const Message& text) {
    messageBox(title, text, parent_)->exec();
}

bool WidgetPrompts::askOkCancel(const Message& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(str::AppTitle), core(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parent_);
    keepTitleWhole(box);
    return box.exec() == QMessageBox::Ok;
}

SaveAnswer WidgetPrompts::askYesNoCancel(const Message& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(str::AppTitle), core(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    keepTitleWhole(box);
    const int answer = box.exec();
    return answer == QMessageBox::Yes  ? SaveAnswer::Yes
           : answer == QMessageBox::No ? SaveAnswer::No
                                       : SaveAnswer::Cancel;
}

QString xmlDropsQuestion(const std::vector<DroppedField>& fields) {
    QStringList named;
    for (const DroppedField& f : fields) {
        named << QStringLiteral("%1 (%2)").arg(core(f.label), QString::fromStdString(f.value));
    }
    return ui(str::XmlDropsQuestion).arg(named.join(ui(str::XmlDropsSeparator)));
}

std::unique_ptr<QMessageBox> xmlDropsBox(const std::vector<DroppedField>& fields, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Question, QString::fromLatin1(str::AppTitle), xmlDropsQuestion(fields),
        QMessageBox::Yes | QMessageBox::No, parent);
    box->setObjectName(QStringLiteral("xmlDropsQuestion"));
    // The values stay in the open configuration either way; Enter writes no file without them.
    box->setDefaultButton(QMessageBox::No);
    return box;
}

bool WidgetPrompts::askSaveDropping(const std::vector<DroppedField>& fields) {
    return xmlDropsBox(fields, parent_)->exec() == QMessageBox::Yes;
}

SaveAnswer WidgetPrompts::askSaveChanges(SaveReason reason) {
    SaveChangesDialog dialog(parent_, reason == SaveReason::Upload);
    switch (dialog.exec()) {
    case SaveChangesDialog::Yes:
        return SaveAnswer::Yes;
    case SaveChangesDialog::No:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Cancel;
    }
}

std::optional<int> WidgetPrompts::askConfigType() {
    ConfigTypeDialog dialog(parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.configType();
}

std::optional<int> WidgetPrompts::askConfigFormat() {
    ArchiveFormatDialog dialog(parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.format();
}

std::optional<std::string> WidgetPrompts::chooseFile(const FileDialogRequest& request) {
    QStringList filters;
    QStringList suffixes;
    for (const auto& [text, pattern] : request.filters) {
        // "Config File(*.chg)" already names its pattern the way the file dialog reads it.
        QString filter = core(text);
        if (!filter.contains(QLatin1Char('('))) {
            filter += QStringLiteral(" (%1)").arg(QString::fromStdString(pattern));
        }
        filters << filter;
        suffixes << QString::fromStdString(pattern).remove(QLatin1String("*."));
    }
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilters(filters);
    if (const QString folder = lastFileFolder(); !folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix).remove(QLatin1Char('.')));
    // A name typed without extension takes the extension of the chosen filter.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, filters, suffixes](const QString& f) {
                         const qsizetype i = filters.indexOf(f);
                         if (i >= 0) {
                             dialog.setDefaultSuffix(suffixes[i]);
                         }
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    rememberFileFolder(dialog.selectedFiles().constFirst());
    const QByteArray path = QFile::encodeName(dialog.selectedFiles().constFirst());
    return std::string(path.constData(), static_cast<size_t>(path.size()));
}

} // namespace torvane::gui
