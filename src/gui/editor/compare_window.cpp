#include "gui/editor/compare_window.h"

#include "gui/app/translation.h"
#include "model/strings.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace torvane::gui {

CompareWindow::CompareWindow(const str::UiText& title, const str::UiText& otherColumn,
                             QWidget* parent)
    : QDialog(parent), otherColumn_(otherColumn) {
    setWindowTitle(ui(title));
    setAttribute(Qt::WA_DeleteOnClose);

    source_ = new QLabel(this);
    source_->setObjectName(QStringLiteral("compareSource"));
    source_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    source_->setWordWrap(true);
    stale_ = new QLabel(ui(str::CompareOutOfDate), this);
    stale_->setObjectName(QStringLiteral("compareOutOfDate"));
    QFont bold = stale_->font();
    bold.setBold(true);
    stale_->setFont(bold);
    stale_->setStyleSheet(QStringLiteral("color: #a00000"));
    again_ = new QPushButton(ui(str::CompareAgain), this);
    again_->setObjectName(QStringLiteral("compareAgain"));
    connect(again_, &QPushButton::clicked, this, &CompareWindow::compareAgainRequested);
    auto* staleRow = new QHBoxLayout;
    staleRow->addWidget(stale_, 1);
    staleRow->addWidget(again_);

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setAlternatingRowColors(true);
    list_->setHeaderLabels(
        {ui(str::ComparePlaceColumn), ui(str::CompareOursColumn), ui(otherColumn)});
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { activated(item); });

    count_ = new QLabel(this);
    count_->setWordWrap(true);
    copy_ = new QPushButton(ui(str::CompareCopy), this);
    connect(copy_, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(text()); });
    auto* close = new QPushButton(ui(str::CompareClose), this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(count_, 1);
    buttons->addWidget(copy_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(source_);
    layout->addLayout(staleRow);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    setOutOfDate(false);
    resize(760, 380);
}

void CompareWindow::showComparison(const CompareResult& result, const QString& ours,
                                   const QString& theirs) {
    result_ = result;
    ours_ = ours;
    theirs_ = theirs;
    source_->setText(sidesText());
    list_->clear();
    for (std::size_t i = 0; i < result_.differences.size(); ++i) {
        const Difference& d = result_.differences[i];
        auto* item = new QTreeWidgetItem(list_, {core(d.place), core(d.ours), core(d.theirs)});
        item->setData(0, Qt::UserRole, static_cast<int>(i));
    }

    QString summary;
    if (result_.outcome == CompareOutcome::NotDownloadable) {
        summary = core(result_.message);
    } else if (result_.differences.empty()) {
        summary = core(str::CompareEqual);
    } else {
        summary = core(Message(str::CompareDifferenceCount, result_.differences.size()));
    }
    if (result_.notCompared.count > 0) {
        summary += "\n" + core(notComparedMessage(result_.notCompared));
    }
    count_->setText(summary);
    setOutOfDate(false);
}

void CompareWindow::setOutOfDate(bool outOfDate) {
    outOfDate_ = outOfDate;
    stale_->setVisible(outOfDate);
    again_->setVisible(outOfDate);
}

QString CompareWindow::sidesText() const {
    return ui(str::CompareOursColumn) + QStringLiteral(": ") + ours_ + '\n' + ui(otherColumn_) +
           QStringLiteral(": ") + theirs_;
}

QString CompareWindow::text() const {
    QString all = sidesText() + '\n';
    // The lines of differenceLine(), in the interface language.
    for (const Difference& d : result_.differences) {
        all += core(d.place) + QStringLiteral(": ") + core(d.ours) + QStringLiteral(" -> ") +
               core(d.theirs) + '\n';
    }
    return all;
}

void CompareWindow::activated(QTreeWidgetItem* item) {
    const int i = item->data(0, Qt::UserRole).toInt();
    if (i < 0 || static_cast<std::size_t>(i) >= result_.differences.size()) {
        return;
    }
    const Difference& d = result_.differences[static_cast<std::size_t>(i)];
    emit differenceActivated(d.kind, d.position);
}

} // namespace torvane::gui
