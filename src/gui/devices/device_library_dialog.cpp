#include "gui/devices/device_library_dialog.h"

#include "gui/app/translation.h"
#include "gui/editor/prompts.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace torvane::gui {
namespace {

constexpr int kKeyRole = Qt::UserRole;

QString utf8(const std::string& s) {
    return QString::fromStdString(s);
}

QString hex8(const std::optional<std::uint32_t>& n) {
    return n ? QStringLiteral("0x") +
                   QStringLiteral("%1").arg(*n, 8, 16, QLatin1Char('0')).toUpper()
             : QStringLiteral("-");
}

} // namespace

QString deviceMessageText(const DeviceMessage& message) {
    return core(deviceMessage(message));
}

QString libraryFailure(const LibraryOutcome& o) {
    const bool named = o.message.id == DeviceText::ReadFailed ||
                       o.message.id == DeviceText::LibraryFolderFailed ||
                       o.message.id == DeviceText::LibraryRemoveFailed ||
                       o.message.id == DeviceText::LibraryNotFound;
    const QString text = deviceMessageText(o.message);
    return named ? text : QFile::decodeName(o.file.c_str()) + QStringLiteral(": ") + text;
}

DeviceLibraryDialog::DeviceLibraryDialog(std::string folder, Prompts& prompts, QWidget* parent)
    : QDialog(parent), folder_(std::move(folder)), prompts_(prompts),
      devices_(new QTreeWidget(this)), notes_(new QPlainTextEdit(this)),
      remove_(new QPushButton(ui(str::LibraryRemove))) {
    setObjectName(QStringLiteral("DeviceLibraryDialog"));
    setWindowTitle(ui(str::LibraryTitle));
    devices_->setObjectName(QStringLiteral("devices"));
    devices_->setRootIsDecorated(false);
    devices_->setHeaderLabels({ui(str::LibraryVendor), ui(str::LibraryProduct),
                               ui(str::LibraryRevision), ui(str::LibraryFile),
                               ui(str::LibraryNotes)});
    devices_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(devices_, &QTreeWidget::currentItemChanged, this, [this] { showNotes(); });
    notes_->setObjectName(QStringLiteral("notes"));
    notes_->setReadOnly(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* import = buttons->addButton(ui(str::LibraryImport), QDialogButtonBox::ActionRole);
    import->setObjectName(QStringLiteral("importButton"));
    remove_->setObjectName(QStringLiteral("removeButton"));
    buttons->addButton(remove_, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(ui(str::LibraryClose), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(import, &QPushButton::clicked, this, &DeviceLibraryDialog::importFiles);
    connect(remove_, &QPushButton::clicked, this, &DeviceLibraryDialog::removeSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(devices_, 3);
    layout->addWidget(notes_, 2);
    layout->addWidget(buttons);
    resize(760, 440);
    reload({});
    devices_->setFocus();
}

void DeviceLibraryDialog::reload(const std::string& selectKey) {
    std::vector<DeviceMessage> problems;
    library_ = folder_.empty() ? std::vector<LibraryDevice>{} : listDevices(folder_, problems);
    devices_->clear();
    QTreeWidgetItem* selected = nullptr;
    for (const LibraryDevice& d : library_) {
        const DeviceInfo& i = d.device.info;
        auto* item = new QTreeWidgetItem(devices_);
        item->setText(0, utf8(i.vendorName));
        item->setText(1, utf8(i.productName));
        item->setText(2, hex8(i.revisionNumber));
        item->setText(3, QFileInfo(QFile::decodeName(d.path.c_str())).fileName());
        item->setText(4, QString::number(d.device.notes.size()));
        item->setToolTip(3, QFile::decodeName(d.path.c_str()));
        item->setData(0, kKeyRole, utf8(d.key));
        if (selected == nullptr || d.key == selectKey) {
            selected = item;
        }
    }
    devices_->setCurrentItem(selected);
    remove_->setEnabled(selected != nullptr);
    showNotes();
    for (const DeviceMessage& m : problems) {
        notes_->appendPlainText(deviceMessageText(m));
    }
}

void DeviceLibraryDialog::showNotes() {
    notes_->clear();
    const QTreeWidgetItem* item = devices_->currentItem();
    remove_->setEnabled(item != nullptr);
    if (item == nullptr) {
        return;
    }
    const std::string key = item->data(0, kKeyRole).toString().toStdString();
    for (const LibraryDevice& d : library_) {
        if (d.key != key) {
            continue;
        }
        notes_->appendPlainText(ui(str::LibraryNotesOf).arg(utf8(d.key)));
        for (const DeviceMessage& n : d.device.notes) {
            notes_->appendPlainText(
                n.line > 0 ? ui(str::LibraryNoteLine).arg(n.line).arg(deviceMessageText(n))
                           : deviceMessageText(n));
        }
    }
    notes_->moveCursor(QTextCursor::Start);
}

void DeviceLibraryDialog::importFiles() {
    if (folder_.empty()) {
        prompts_.tell(ui(str::LibraryNoFolder));
        return;
    }
    const std::vector<std::string> files = prompts_.chooseDeviceFiles(true);
    if (files.empty()) {
        return;
    }
    std::vector<ImportedDevice> imported;
    const LibraryOutcome o = importDevices(folder_, files, imported);
    if (o.result != LibraryResult::Ok) {
        prompts_.tell(libraryFailure(o));
        return;
    }
    QStringList lines;
    for (const ImportedDevice& d : imported) {
        lines << (d.replaced ? ui(str::LibraryReplaced).arg(utf8(d.key)) : utf8(d.key));
    }
    reload(imported.empty() ? std::string() : imported.front().key);
    prompts_.tell(ui(str::LibraryImported).arg(lines.join(QLatin1Char('\n'))));
}

void DeviceLibraryDialog::removeSelected() {
    const QTreeWidgetItem* item = devices_->currentItem();
    if (item == nullptr) {
        return;
    }
    const QString key = item->data(0, kKeyRole).toString();
    if (!prompts_.askOkCancel(
            Message::plain(ui(str::LibraryRemoveQuestion).arg(key).toStdString()))) {
        return;
    }
    LibraryDevice removed;
    const LibraryOutcome o = removeDevice(folder_, key.toStdString(), removed);
    if (o.result != LibraryResult::Ok) {
        prompts_.tell(libraryFailure(o));
    }
    reload({});
}

} // namespace torvane::gui
