#include "gui/devices/device_commands_dialog.h"

#include "devices/data_types.h"
#include "devices/default_pdos.h"
#include "devices/device_reader.h"
#include "gui/app/translation.h"
#include "gui/devices/device_library_dialog.h"
#include "gui/editor/prompts.h"
#include "model/record_view.h"
#include "platform/text_codec.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace torvane::gui {
namespace {

enum Column { kObject, kName, kAccess, kMappable, kBytes, kCobId, kIn, kOut, kColumns };
enum RowKind { kGroupRow, kPdoRow, kObjectRow };
constexpr int kKindRole = Qt::UserRole;
constexpr int kNumberRole = Qt::UserRole + 1; // the PDO's place in pdos_, or index << 8 | sub

QString utf8(const std::string& s) {
    return QString::fromStdString(s);
}

QString cobIdText(const DeviceCommand& c) {
    if (!c.cobId) {
        return QStringLiteral("-");
    }
    const QString shown =
        QStringLiteral("0x") +
        QString::number(*c.cobId, 16).toUpper().rightJustified(3, QLatin1Char('0'));
    return c.enabled ? shown : ui(str::FromDeviceDisabled).arg(shown);
}

QString commandName(const DeviceCommand& c) {
    return QString::fromUtf8(commandType(c.kind).label) + QLatin1Char(' ') + utf8(c.label);
}

void setCheck(QTreeWidgetItem* item, int column, bool checkable, bool checked) {
    if (checkable) {
        item->setCheckState(column, checked ? Qt::Checked : Qt::Unchecked);
    }
}

bool checked(const QTreeWidgetItem* item, int column) {
    return item->data(column, Qt::CheckStateRole).isValid() &&
           item->checkState(column) == Qt::Checked;
}

} // namespace

DeviceCommandsDialog::DeviceCommandsDialog(ConfigSession& session, Prompts& prompts, int node,
                                           const TreeSelection& at,
                                           std::vector<LibraryDevice> library, QWidget* parent)
    : QDialog(parent), session_(session), prompts_(prompts), node_(node), at_(at),
      device_(new QComboBox(this)), address_(new QComboBox(this)), name_(new QLineEdit(this)),
      filter_(new QLineEdit(this)), tree_(new QTreeWidget(this)), preview_(new QListWidget(this)),
      notes_(new QListWidget(this)) {
    setObjectName(QStringLiteral("DeviceCommandsDialog"));
    setWindowTitle(ui(node == 0 ? str::FromDeviceNodeTitle : str::FromDeviceCommandsTitle));
    for (LibraryDevice& d : library) {
        const DeviceInfo& i = d.device.info;
        sources_.push_back(
            {utf8(i.productName.empty() ? d.key : i.productName + "  (" + d.key + ")"),
             std::move(d.device)});
    }
    device_->setObjectName(QStringLiteral("device"));
    for (const Source& s : sources_) {
        device_->addItem(s.label);
    }
    auto* file = new QPushButton(ui(str::FromDeviceFile), this);
    file->setObjectName(QStringLiteral("fileButton"));
    file->setAutoDefault(false);
    connect(file, &QPushButton::clicked, this, &DeviceCommandsDialog::chooseFile);

    address_->setObjectName(QStringLiteral("address"));
    const GatewayConfiguration& cfg = session_.configuration();
    if (node_ == 0) {
        for (const int a : freeNodeAddresses(cfg)) {
            address_->addItem(QString::number(a), a);
        }
    } else if (node_ >= 1 && node_ <= usedNodeCount(cfg.Config)) {
        const std::string& a = usedNodes(cfg.Config)[node_ - 1].NodeAddress;
        address_->addItem(platform::fromConfigText(a), decodeNumber(a).number);
        address_->setEnabled(false);
    }
    name_->setObjectName(QStringLiteral("name"));
    filter_->setObjectName(QStringLiteral("filter"));
    filter_->setPlaceholderText(ui(str::FromDeviceFilterHint));
    filter_->setClearButtonEnabled(true);

    tree_->setObjectName(QStringLiteral("objects"));
    tree_->setColumnCount(kColumns);
    tree_->setHeaderLabels({ui(str::FromDeviceColumnObject), ui(str::FromDeviceColumnName),
                            ui(str::FromDeviceColumnAccess), ui(str::FromDeviceColumnMappable),
                            ui(str::FromDeviceColumnBytes), ui(str::FromDeviceColumnCobId),
                            ui(str::FromDeviceColumnIn), ui(str::FromDeviceColumnOut)});
    // Single cells, so that the arrow keys reach both check columns and Space toggles them.
    tree_->setSelectionBehavior(QAbstractItemView::SelectItems);
    tree_->setAllColumnsShowFocus(false);
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->header()->setSectionResizeMode(kName, QHeaderView::Stretch);
    preview_->setObjectName(QStringLiteral("preview"));
    notes_->setObjectName(QStringLiteral("notes"));

    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(device_, 1);
    deviceRow->addWidget(file);
    auto* form = new QFormLayout;
    auto* deviceLabel = new QLabel(ui(str::FromDeviceDevice), this);
    deviceLabel->setBuddy(device_);
    form->addRow(deviceLabel, deviceRow);
    form->addRow(ui(str::FromDeviceAddress), address_);
    if (node_ == 0) {
        form->addRow(ui(str::FromDeviceName), name_);
    } else {
        name_->hide();
    }
    form->addRow(ui(str::FromDeviceFilter), filter_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* add = buttons->addButton(ui(str::FromDeviceAdd), QDialogButtonBox::AcceptRole);
    add->setObjectName(QStringLiteral("addButton"));
    add->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(ui(str::FromDeviceCancel), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* previewLabel = new QLabel(ui(str::FromDevicePreview), this);
    previewLabel->setBuddy(preview_);
    auto* notesLabel = new QLabel(ui(str::FromDeviceNotes), this);
    notesLabel->setBuddy(notes_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(tree_, 4);
    layout->addWidget(previewLabel);
    layout->addWidget(preview_, 2);
    layout->addWidget(notesLabel);
    layout->addWidget(notes_, 1);
    layout->addWidget(buttons);
    const QList<QWidget*> order{device_, file,     address_, name_, filter_,
                                tree_,   preview_, notes_,   add,   cancel};
    for (qsizetype k = 1; k < order.size(); ++k) {
        setTabOrder(order[k - 1], order[k]);
    }

    connect(device_, &QComboBox::currentIndexChanged, this, [this] { showDevice(); });
    connect(address_, &QComboBox::currentIndexChanged, this, [this] {
        fillTree();
        updatePreview();
    });
    connect(name_, &QLineEdit::textChanged, this, [this] { updatePreview(); });
    connect(filter_, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(tree_, &QTreeWidget::itemChanged, this, [this] {
        if (!filling_) {
            updatePreview();
        }
    });
    resize(900, 640);
    showDevice();
    device_->setFocus();
}

unsigned DeviceCommandsDialog::nodeAddress() const {
    const int a = address_->currentData().toInt();
    return a > 0 ? static_cast<unsigned>(a) : 0U;
}

void DeviceCommandsDialog::chooseFile() {
    const std::vector<std::string> files = prompts_.chooseDeviceFiles(false);
    if (files.empty()) {
        return;
    }
    DeviceDescription device;
    const DeviceReadOutcome read = readDeviceFile(files.front(), device);
    const QString path = QFile::decodeName(files.front().c_str());
    if (read.result != DeviceReadResult::Ok) {
        const QString text = deviceMessageText(read.message);
        prompts_.tell((read.result == DeviceReadResult::Unreadable
                           ? text
                           : path + QStringLiteral(": ") + text));
        return;
    }
    sources_.push_back({QFileInfo(path).fileName(), std::move(device)});
    device_->addItem(sources_.back().label);
    device_->setCurrentIndex(device_->count() - 1);
}

void DeviceCommandsDialog::showDevice() {
    const int i = device_->currentIndex();
    notes_->clear();
    if (i < 0 || i >= static_cast<int>(sources_.size())) {
        tree_->clear();
        preview_->clear();
        preview_->addItem(ui(str::FromDeviceNoDevice));
        return;
    }
    const DeviceDescription& d = sources_[static_cast<std::size_t>(i)].device;
    if (node_ == 0) {
        name_->setText(utf8(d.info.productName));
        // A DCF was made for one node address: start there when it is free.
        if (d.dcfNodeId) {
            const int at = address_->findData(static_cast<int>(*d.dcfNodeId));
            if (at >= 0) {
                address_->setCurrentIndex(at);
            }
        }
    }
    for (const DeviceMessage& n : d.notes) {
        notes_->addItem(n.line > 0 ? ui(str::LibraryNoteLine).arg(n.line).arg(deviceMessageText(n))
                                   : deviceMessageText(n));
    }
    fillTree();
    updatePreview();
}

void DeviceCommandsDialog::fillTree() {
    const int i = device_->currentIndex();
    if (i < 0 || i >= static_cast<int>(sources_.size())) {
        return;
    }
    const DeviceDescription& d = sources_[static_cast<std::size_t>(i)].device;
    // The checks made so far survive a change of the address, which moves only COB-IDs.
    std::vector<std::pair<bool, bool>> kept;
    if (const QTreeWidgetItem* pdos = tree_->topLevelItem(0)) {
        for (int k = 0; k < pdos->childCount(); ++k) {
            kept.emplace_back(checked(pdos->child(k), kIn), checked(pdos->child(k), kOut));
        }
    }
    const bool keep = !pdos_.empty() && tree_->property("device").toInt() == i;
    filling_ = true;
    std::vector<std::pair<bool, bool>> objectChecks;
    if (keep) {
        const QTreeWidgetItem* objects = tree_->topLevelItem(1);
        for (int k = 0; objects != nullptr && k < objects->childCount(); ++k) {
            objectChecks.emplace_back(checked(objects->child(k), kIn),
                                      checked(objects->child(k), kOut));
        }
    }
    tree_->clear();
    tree_->setProperty("device", i);
    pdos_ = pdoCommands(d, nodeAddress());
    auto* pdoGroup = new QTreeWidgetItem(tree_, {ui(str::FromDevicePdos)});
    pdoGroup->setData(0, kKindRole, kGroupRow);
    for (std::size_t k = 0; k < pdos_.size(); ++k) {
        const DeviceCommand& c = pdos_[k];
        auto* item = new QTreeWidgetItem(pdoGroup);
        item->setText(kObject, utf8(c.label));
        item->setText(kName, utf8(c.description));
        item->setText(kBytes, c.bytes > 0 ? QString::number(c.bytes) : QStringLiteral("-"));
        item->setText(kCobId, cobIdText(c));
        if (c.refusal) {
            item->setToolTip(kObject, deviceMessageText(*c.refusal));
        }
        item->setData(0, kKindRole, kPdoRow);
        item->setData(0, kNumberRole, static_cast<int>(k));
        const bool in = c.kind == CommandKind::TransmitPdo;
        const bool on = keep && k < kept.size() ? (in ? kept[k].first : kept[k].second)
                                                : c.enabled && !c.refusal;
        setCheck(item, in ? kIn : kOut, true, on);
    }
    auto* objectGroup = new QTreeWidgetItem(tree_, {ui(str::FromDeviceObjects)});
    objectGroup->setData(0, kKindRole, kGroupRow);
    std::size_t row = 0;
    for (const DeviceObject& o : d.objects) {
        for (const DeviceEntry& e : o.entries) {
            auto* item = new QTreeWidgetItem(objectGroup);
            item->setText(kObject, utf8(entryLabel(e.index, e.subIndex)));
            item->setText(kName, utf8(e.name));
            item->setText(kAccess, e.access == AccessType::Unknown
                                       ? QStringLiteral("?")
                                       : QString::fromLatin1(accessTypeText(e.access)));
            item->setText(kMappable, ui(e.pdoMapping ? str::FromDeviceYes : str::FromDeviceNo));
            const std::optional<int> bytes = dataTypeBytes(e.dataType);
            item->setText(kBytes, bytes ? QString::number(*bytes) : QStringLiteral("-"));
            item->setToolTip(kName, utf8(dataTypeName(e.dataType)));
            item->setData(0, kKindRole, kObjectRow);
            item->setData(0, kNumberRole, (static_cast<int>(e.index) << 8) | e.subIndex);
            const bool wasIn = row < objectChecks.size() && objectChecks[row].first;
            const bool wasOut = row < objectChecks.size() && objectChecks[row].second;
            setCheck(item, kIn, e.readable(), wasIn);
            setCheck(item, kOut, e.writable(), wasOut);
            ++row;
        }
    }
    pdoGroup->setExpanded(true);
    objectGroup->setExpanded(true);
    filling_ = false;
    applyFilter();
    if (tree_->currentItem() == nullptr) {
        tree_->setCurrentItem(pdoGroup->childCount() > 0 ? pdoGroup->child(0) : objectGroup);
    }
}

void DeviceCommandsDialog::applyFilter() {
    const QString wanted = filter_->text().trimmed();
    QString hex = wanted;
    if (hex.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        hex = hex.mid(2);
    }
    for (int g = 0; g < tree_->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = tree_->topLevelItem(g);
        for (int k = 0; k < group->childCount(); ++k) {
            QTreeWidgetItem* item = group->child(k);
            const bool match =
                wanted.isEmpty() || item->text(kObject).contains(wanted, Qt::CaseInsensitive) ||
                item->text(kName).contains(wanted, Qt::CaseInsensitive) ||
                (!hex.isEmpty() && item->text(kObject).contains(hex, Qt::CaseInsensitive));
            item->setHidden(!match);
        }
    }
}

std::vector<DeviceCommand> DeviceCommandsDialog::chosen() const {
    std::vector<DeviceCommand> out;
    const int i = device_->currentIndex();
    if (i < 0 || i >= static_cast<int>(sources_.size())) {
        return out;
    }
    const DeviceDescription& d = sources_[static_cast<std::size_t>(i)].device;
    for (int g = 0; g < tree_->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = tree_->topLevelItem(g);
        for (int k = 0; k < group->childCount(); ++k) {
            const QTreeWidgetItem* item = group->child(k);
            const int number = item->data(0, kNumberRole).toInt();
            if (item->data(0, kKindRole).toInt() == kPdoRow) {
                if ((checked(item, kIn) || checked(item, kOut)) && number >= 0 &&
                    number < static_cast<int>(pdos_.size())) {
                    out.push_back(pdos_[static_cast<std::size_t>(number)]);
                }
                continue;
            }
            const auto index = static_cast<std::uint16_t>(number >> 8);
            const auto sub = static_cast<std::uint8_t>(number & 0xFF);
            if (checked(item, kIn)) {
                out.push_back(sdoCommand(d, index, sub, CommandKind::UploadSdo));
            }
            if (checked(item, kOut)) {
                out.push_back(sdoCommand(d, index, sub, CommandKind::DownloadSdo));
            }
        }
    }
    return out;
}

NodeDrafts DeviceCommandsDialog::drafts(const std::vector<DeviceCommand>& chosen) const {
    NodeDrafts d;
    d.node = node_;
    if (node_ == 0) {
        d.address = address_->currentText().toStdString();
        d.name = platform::toConfigText(name_->text().trimmed());
    }
    for (const DeviceCommand& c : chosen) {
        if (!c.refusal) {
            d.commands.push_back(c.draft());
        }
    }
    return d;
}

void DeviceCommandsDialog::updatePreview() {
    preview_->clear();
    if (device_->currentIndex() < 0) {
        preview_->addItem(ui(str::FromDeviceNoDevice));
        return;
    }
    const std::vector<DeviceCommand> list = chosen();
    const NodeDrafts d = drafts(list);
    const DraftResult r = session_.previewDrafts(d);
    if (!r.refusal.empty() || (node_ == 0 && !r.nodeAdded)) {
        QStringList reasons;
        for (const Message& m : r.refusal) {
            reasons << core(m).trimmed();
        }
        preview_->addItem(ui(str::FromDeviceNodeRefused).arg(reasons.join(QStringLiteral("; "))));
        return;
    }
    std::size_t at = 0;
    for (const DeviceCommand& c : list) {
        QString reason;
        if (c.refusal) {
            reason = deviceMessageText(*c.refusal);
        } else {
            const DraftOutcome& o = r.commands[at++];
            if (!o.added) {
                QStringList reasons;
                for (const Message& m : o.reasons) {
                    reasons << core(m).trimmed();
                }
                reason = reasons.join(QStringLiteral("; "));
            }
        }
        if (!reason.isEmpty()) {
            auto* item =
                new QListWidgetItem(ui(str::FromDeviceRefused).arg(commandName(c), reason));
            item->setForeground(Qt::darkRed);
            preview_->addItem(item);
            continue;
        }
        const INSTRUCTION draft = c.draft();
        const bool pdo = commandType(c.kind).pdo;
        const QString type = QString::fromUtf8(commandType(c.kind).label);
        preview_->addItem(
            pdo ? ui(str::FromDevicePreviewPdo)
                      .arg(type, utf8(c.label), utf8(draft.CobId), QString::number(c.bytes),
                           utf8(c.description))
                : ui(str::FromDevicePreviewSdo)
                      .arg(type, utf8(c.label), QString::number(c.bytes), utf8(c.description)));
        for (const DeviceMessage& n : c.notes) {
            preview_->addItem(QStringLiteral("    ") + deviceMessageText(n));
        }
    }
}

void DeviceCommandsDialog::accept() {
    const std::vector<DeviceCommand> list = chosen();
    const DraftResult r = session_.addDrafts(at_, drafts(list));
    if (!r.changed()) {
        if (!r.refusal.empty()) {
            QStringList reasons;
            for (const Message& m : r.refusal) {
                reasons << core(m).trimmed();
            }
            prompts_.tell(ui(str::FromDeviceNodeRefused).arg(reasons.join(QStringLiteral("; "))));
            return;
        }
        QDialog::accept();
        return;
    }
    result_ = r;
    QStringList refused;
    std::size_t at = 0;
    for (const DeviceCommand& c : list) {
        if (c.refusal) {
            refused << commandName(c) + QStringLiteral(": ") + deviceMessageText(*c.refusal);
            continue;
        }
        const DraftOutcome& o = r.commands[at++];
        if (!o.added && !o.reasons.empty()) {
            refused << commandName(c) + QStringLiteral(": ") + core(o.reasons.front()).trimmed();
        }
    }
    if (!refused.isEmpty()) {
        prompts_.tell(ui(str::FromDeviceSomeRefused).arg(refused.join(QLatin1Char('\n'))));
    }
    QDialog::accept();
}

} // namespace torvane::gui
