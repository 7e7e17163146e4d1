#include "gui/mapping/conflict_dialog.h"

#include "gui/app/translation.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QTableWidget>

namespace torvane::gui {
namespace {

// 300 twips and 600 twips at the usual 96 dots per inch.
constexpr int kByteColumnWidth = 20;
constexpr int kLabelColumnWidth = 40;

QTableWidget* makeByteGrid(QWidget* parent) {
    auto* grid = new QTableWidget(kUsageRowCount, kUsageCellsPerRow + 1, parent);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    // The style's minimum would widen the byte columns past the width the map is laid out for.
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->setColumnWidth(0, kLabelColumnWidth);
    for (int c = 1; c <= kUsageCellsPerRow; ++c) {
        grid->setColumnWidth(c, kByteColumnWidth);
        // Columns 11 to 16 hold no byte: shown, they would only look like a cut-off map.
        grid->setColumnHidden(c, c > kUsageBytesPerRow);
    }
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->verticalHeader()->setDefaultSectionSize(18);
    for (int r = 0; r < kUsageRowCount; ++r) {
        auto* label = new QTableWidgetItem(QString::fromStdString(usageRowLabel(r)));
        label->setTextAlignment(Qt::AlignCenter);
        grid->setItem(r, 0, label);
        for (int c = 1; c <= kUsageCellsPerRow; ++c) {
            grid->setItem(r, c, new QTableWidgetItem);
        }
    }
    grid->setMinimumWidth(kLabelColumnWidth + kUsageBytesPerRow * kByteColumnWidth + 4 +
                          grid->verticalScrollBar()->sizeHint().width());
    grid->setMinimumHeight(kUsageRowCount * 18 + 4);
    return grid;
}

QWidget* swatch(CellColour colour, const str::UiText& text) {
    auto* w = new QWidget;
    auto* l = new QHBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    auto* box = new QLabel;
    box->setFixedSize(14, 14);
    const Rgb c = rgbOf(colour);
    box->setStyleSheet(QString("background: rgb(%1,%2,%3)").arg(c.r).arg(c.g).arg(c.b));
    l->addWidget(box);
    l->addWidget(new QLabel(ui(text)));
    return w;
}

} // namespace

ConflictDialog::ConflictDialog(const GatewayConfiguration& cfg, QWidget* parent)
    : QDialog(parent), tables_(cfg) {
    setObjectName("ConflictDialog");
    setWindowTitle(ui(str::ConflictTitle));

    list_ = new QListWidget(this);
    for (const UsageListEntry& e : tables_.listEntries()) {
        auto* item = new QListWidgetItem(QString::fromStdString(e.label), list_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setData(Qt::UserRole, e.command);
    }
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const bool on = item->checkState() == Qt::Checked;
        if (tables_.setIncluded(item->data(Qt::UserRole).toInt(), on)) {
            recolour();
        }
    });

    input_ = makeByteGrid(this);
    output_ = makeByteGrid(this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(ui(str::ConflictCommandList)), 0, 0);
    layout->addWidget(new QLabel(ui(str::ConflictInputArea)), 0, 1);
    layout->addWidget(new QLabel(ui(str::ConflictOutputArea)), 0, 2);
    layout->addWidget(list_, 1, 0);
    layout->addWidget(input_, 1, 1);
    layout->addWidget(output_, 1, 2);
    auto* legend = new QHBoxLayout;
    legend->addWidget(swatch(CellColour::InputOnce, str::ConflictLegendInput));
    legend->addWidget(swatch(CellColour::OutputOnce, str::ConflictLegendOutput));
    legend->addWidget(swatch(CellColour::Conflict, str::ConflictLegendConflict));
    legend->addStretch();
    layout->addLayout(legend, 2, 0, 1, 3);
    layout->setColumnStretch(0, 1);
    resize(820, 560);
    recolour();
}

void ConflictDialog::recolour() {
    for (int cell = 0; cell < kUsageCellCount; ++cell) {
        const int row = usageRowOfCell(cell);
        const int column = usageColumnOfCell(cell);
        for (BufferSide side : {BufferSide::Input, BufferSide::Output}) {
            QTableWidgetItem* item = grid(side)->item(row, column);
            const CellColour colour = tables_.colour(side, cell);
            if (colour == CellColour::Default) {
                item->setData(Qt::BackgroundRole, QVariant());
            } else {
                const Rgb c = rgbOf(colour);
                item->setBackground(QColor(c.r, c.g, c.b));
            }
        }
    }
}

} // namespace torvane::gui
