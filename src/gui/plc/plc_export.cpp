#include "gui/plc/plc_export.h"

#include "devices/pdo_objects.h"
#include "editor/config_session.h"
#include "gui/app/gui_texts.h"
#include "gui/app/translation.h"
#include "gui/editor/prompts.h"
#include "model/atomic_file.h"
#include "model/record_view.h"
#include "model/text_codec.h"
#include "platform/data_files.h"
#include "platform/print_pdf.h"
#include "plc/io_map.h"
#include "plc/tag_files.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace torvane::gui {
namespace {

constexpr int kPreviewRows = 8;
constexpr int kLargestStart = 65535;

QSettings settings() {
    return QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                     QStringLiteral("Torvane"));
}

QString utf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A marked text in the interface language, for the I/O map's page.
std::string translated(const char* context, const std::string& source) {
    return QCoreApplication::translate(context, source.c_str()).toStdString();
}

} // namespace

PlcTagsDialog::PlcTagsDialog(const GatewayConfiguration& cfg, std::vector<LibraryDevice> library,
                             QWidget* parent)
    : QDialog(parent), cfg_(cfg), library_(std::move(library)) {
    setWindowTitle(ui(str::PlcTagsTitle));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    format_ = new QComboBox(this);
    format_->addItem(ui(str::PlcTagsFormatCsv), QString::fromLatin1(tagFormatName(TagFormat::Csv)));
    format_->addItem(ui(str::PlcTagsFormatTia), QString::fromLatin1(tagFormatName(TagFormat::Tia)));
    format_->addItem(ui(str::PlcTagsFormatIec), QString::fromLatin1(tagFormatName(TagFormat::Iec)));
    form->addRow(ui(str::PlcTagsFormat), format_);
    words_ = new QCheckBox(ui(str::PlcTagsWordAddressing), this);
    form->addRow(QString(), words_);
    inputStart_ = new QSpinBox(this);
    outputStart_ = new QSpinBox(this);
    for (QSpinBox* s : {inputStart_, outputStart_}) {
        s->setRange(0, kLargestStart);
    }
    form->addRow(ui(str::PlcTagsInputStart), inputStart_);
    form->addRow(ui(str::PlcTagsOutputStart), outputStart_);
    layout->addLayout(form);

    const QSettings s = settings();
    const int at = format_->findData(s.value(QStringLiteral("PlcTags/Format")).toString());
    format_->setCurrentIndex(std::max(at, 0));
    words_->setChecked(s.value(QStringLiteral("PlcTags/WordAddressing")).toBool());
    inputStart_->setValue(s.value(QStringLiteral("PlcTags/InputStart"), 0).toInt());
    outputStart_->setValue(s.value(QStringLiteral("PlcTags/OutputStart"), 0).toInt());

    // A slave configuration's PDOs are the gateway's own: no node has a device.
    const RecordView view(cfg.Config);
    if (cfg.isMaster() && !view.nodes().empty()) {
        layout->addWidget(new QLabel(ui(str::PlcTagsDevices), this));
        devices_ = new QTableWidget(static_cast<int>(view.nodes().size()), 2, this);
        devices_->setHorizontalHeaderLabels({ui(str::PlcTagsNode), ui(str::PlcTagsDevice)});
        devices_->verticalHeader()->hide();
        devices_->horizontalHeader()->setStretchLastSection(true);
        int row = 0;
        for (const NodeView& n : view.nodes()) {
            nodePositions_.push_back(n.position + 1);
            const std::string name = configTextToUtf8(n.record->NodeName);
            auto* item = new QTableWidgetItem(utf8(name));
            item->setFlags(Qt::ItemIsEnabled);
            devices_->setItem(row, 0, item);
            auto* choice = new QComboBox(devices_);
            choice->addItem(ui(str::PlcTagsNoDevice));
            for (const LibraryDevice& d : library_) {
                choice->addItem(utf8(d.device.info.productName + "  (" + d.key + ")"));
            }
            if (const LibraryDevice* d = deviceForNode(library_, name)) {
                choice->setCurrentIndex(static_cast<int>(d - library_.data()) + 1);
            }
            connect(choice, &QComboBox::currentIndexChanged, this, &PlcTagsDialog::update);
            devices_->setCellWidget(row++, 1, choice);
        }
        devices_->resizeColumnToContents(0);
        devices_->setMaximumHeight(120);
        layout->addWidget(devices_);
    }

    layout->addWidget(new QLabel(ui(str::PlcTagsPreview), this));
    preview_ = new QTableWidget(0, 4, this);
    preview_->setHorizontalHeaderLabels({ui(str::PlcTagsName), ui(str::PlcTagsAddress),
                                         ui(str::PlcTagsType), ui(str::PlcTagsComment)});
    preview_->verticalHeader()->hide();
    preview_->horizontalHeader()->setStretchLastSection(true);
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(preview_);
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(problem_);
    buttons_ = okCancelButtons(this);
    layout->addWidget(buttons_);
    resize(640, 480);

    connect(format_, &QComboBox::currentIndexChanged, this, &PlcTagsDialog::update);
    connect(words_, &QCheckBox::toggled, this, &PlcTagsDialog::update);
    connect(inputStart_, &QSpinBox::valueChanged, this, &PlcTagsDialog::update);
    connect(outputStart_, &QSpinBox::valueChanged, this, &PlcTagsDialog::update);
    update();
}

TagOptions PlcTagsDialog::options() const {
    TagOptions o;
    tagFormatFromName(format_->currentData().toString().toStdString(), o.format);
    o.inputStart = inputStart_->value();
    o.outputStart = outputStart_->value();
    for (std::size_t row = 0; row < nodePositions_.size(); ++row) {
        const auto* choice =
            qobject_cast<QComboBox*>(devices_->cellWidget(static_cast<int>(row), 1));
        const int at = choice != nullptr ? choice->currentIndex() : 0;
        if (at > 0 && at <= static_cast<int>(library_.size())) {
            o.devices[nodePositions_[row]] = &library_[static_cast<std::size_t>(at - 1)].device;
        }
    }
    return o;
}

bool PlcTagsDialog::wordAddressing() const {
    return words_->isEnabled() && words_->isChecked();
}

QPushButton* PlcTagsDialog::okButton() const {
    return qobject_cast<QPushButton*>(buttons_->buttons().at(0));
}

void PlcTagsDialog::update() {
    const TagOptions o = options();
    words_->setEnabled(o.format == TagFormat::Iec);
    result_ = buildTagTable(cfg_, o);
    const bool ok = result_.outcome == TagOutcome::Ok;
    problem_->setText(ok ? QString() : core(result_.message));
    problem_->setVisible(!ok);
    okButton()->setEnabled(ok);
    const auto& tags = result_.table.tags;
    const int rows = std::min(static_cast<int>(tags.size()), kPreviewRows);
    preview_->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const PlcTag& t = tags[static_cast<std::size_t>(r)];
        const QString address = QStringLiteral("%1%2")
                                    .arg(t.direction == PlcDirection::Input ? 'I' : 'Q')
                                    .arg(t.address) +
                                (t.bit >= 0 ? QStringLiteral(".%1").arg(t.bit) : QString());
        const QString cells[] = {utf8(t.name), address,
                                 utf8(tagTypeName(t.type, o.format, t.bytes)), utf8(t.comment)};
        for (int c = 0; c < 4; ++c) {
            preview_->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
    }
    preview_->resizeColumnsToContents();
}

void PlcTagsDialog::accept() {
    QSettings s = settings();
    s.setValue(QStringLiteral("PlcTags/Format"), format_->currentData());
    s.setValue(QStringLiteral("PlcTags/WordAddressing"), words_->isChecked());
    s.setValue(QStringLiteral("PlcTags/InputStart"), inputStart_->value());
    s.setValue(QStringLiteral("PlcTags/OutputStart"), outputStart_->value());
    QDialog::accept();
}

std::string exportPlcTags(const ConfigSession& session, Prompts& prompts, QWidget* parent) {
    std::vector<DeviceMessage> problems;
    const std::string folder = platform::deviceLibraryFolder();
    PlcTagsDialog dialog(
        session.configuration(),
        folder.empty() ? std::vector<LibraryDevice>{} : listDevices(folder, problems), parent);
    if (dialog.exec() != QDialog::Accepted || dialog.result().outcome != TagOutcome::Ok) {
        return {};
    }
    FileDialogRequest request;
    request.kind = FileDialogKind::SaveAs;
    request.save = true;
    const TagFormat format = dialog.result().table.format;
    const str::UiText& filter = format == TagFormat::Csv   ? str::FilterCsv
                                : format == TagFormat::Tia ? str::FilterExcel
                                                           : str::FilterIec;
    request.defaultSuffix = format == TagFormat::Csv   ? "csv"
                            : format == TagFormat::Tia ? "xlsx"
                                                       : "st";
    request.filters.emplace_back(Message::plain(ui(filter).toStdString()),
                                 "*." + request.defaultSuffix);
    const std::optional<std::string> path = prompts.chooseFile(request);
    if (!path) {
        return {};
    }
    std::string bytes;
    Message error;
    if (!tagFileBytes(dialog.result().table, dialog.wordAddressing(), bytes, error) ||
        !writeFileAtomically(*path, bytes, error)) {
        prompts.tell(error);
        return {};
    }
    return *path;
}

std::string printIoMap(const ConfigSession& session, Prompts& prompts) {
    FileDialogRequest request;
    request.kind = FileDialogKind::SaveAs;
    request.save = true;
    request.defaultSuffix = "pdf";
    request.filters.emplace_back(Message::plain(ui(str::FilterPdf).toStdString()), "*.pdf");
    request.filters.emplace_back(Message::plain(ui(str::FilterHtml).toStdString()), "*.html");
    const std::optional<std::string> path = prompts.chooseFile(request);
    if (!path) {
        return {};
    }
    const QSettings s = settings();
    IoMapOptions options;
    const std::string current = session.document().state().CurrentFilePath;
    options.fileName =
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(current))).fileName().toStdString();
    options.date =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
    options.inputStart = s.value(QStringLiteral("PlcTags/InputStart"), 0).toInt();
    options.outputStart = s.value(QStringLiteral("PlcTags/OutputStart"), 0).toInt();
    const std::string html = ioMapHtml(session.configuration(), options, translated);
    std::string bytes = html;
    Message error;
    std::string reason;
    const bool pdf = QFileInfo(QFile::decodeName(QByteArray::fromStdString(*path)))
                         .suffix()
                         .compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0;
    if (pdf && !platform::htmlToPdf(html, options.fileName, bytes, reason)) {
        prompts.tell(QString::fromStdString(reason));
        return {};
    }
    if (!writeFileAtomically(*path, bytes, error)) {
        prompts.tell(error);
        return {};
    }
    return *path;
}

} // namespace torvane::gui
