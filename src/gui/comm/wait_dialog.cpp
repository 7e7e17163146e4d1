#include "gui/comm/wait_dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainterPath>
#include <QProgressBar>
#include <QRegion>
#include <QVBoxLayout>

namespace torvane::gui {

CDlgWait::CDlgWait(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName("CDlgWait");
    setWindowModality(Qt::NonModal);
    setAutoFillBackground(true);
    setStyleSheet("torvane--gui--CDlgWait { background: #f4f6f9; }");
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 24);
    layout->addWidget(bar_);
    setFixedSize(360, 80);
    hide();
}

void CDlgWait::start(int steps) {
    bar_->setRange(0, 100 * steps);
    bar_->setValue(0);
    if (QWidget* owner = parentWidget()) {
        const QPoint centre = owner->mapToGlobal(owner->rect().center());
        move(centre - rect().center());
    }
    show();
    raise();
}

void CDlgWait::advance(int steps) { bar_->setValue(std::min(bar_->maximum(), bar_->value() + 100 * steps)); }

void CDlgWait::finish() { hide(); }

void CDlgWait::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape would close a dialog; this one stays until the transfer ends.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CDlgWait::closeEvent(QCloseEvent* event) { event->ignore(); }

void CDlgWait::resizeEvent(QResizeEvent* event) {
    QPainterPath path;
    path.addRoundedRect(rect(), 20, 20);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    QWidget::resizeEvent(event);
}

} // namespace torvane::gui
