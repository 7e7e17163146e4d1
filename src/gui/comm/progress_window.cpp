#include "gui/comm/progress_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QRegion>
#include <QVBoxLayout>
#include <algorithm>

namespace torvane::gui {

ProgressWindow::ProgressWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName("ProgressWindow");
    setWindowModality(Qt::NonModal);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("waitTitle"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    line_ = new QLabel(this);
    line_->setObjectName(QStringLiteral("waitLine"));
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(true);
    bar_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 18, 28, 20);
    layout->addWidget(title_);
    layout->addWidget(line_);
    layout->addWidget(bar_);
    setFixedSize(420, 124);
    hide();
}

void ProgressWindow::setTask(const QString& title, const QString& line, const QString& port) {
    setWindowTitle(title);
    title_->setText(title);
    lineFormat_ = line;
    port_ = port;
    showLine();
}

void ProgressWindow::showLine() {
    if (lineFormat_.isEmpty()) {
        line_->clear();
        return;
    }
    // The frame being exchanged: the one after those done, the last one when all are.
    const int done = bar_->value() / 100;
    const int frame = std::min(done + 1, steps_);
    // One pass, so that a port name holding "%2" stays as it is.
    line_->setText(lineFormat_.arg(port_, QString::number(frame), QString::number(steps_)));
}

void ProgressWindow::start(int steps) {
    steps_ = std::max(1, steps);
    bar_->setRange(0, 100 * steps);
    bar_->setValue(0);
    showLine();
    if (QWidget* owner = parentWidget()) {
        const QPoint centre = owner->mapToGlobal(owner->rect().center());
        move(centre - rect().center());
    }
    show();
    raise();
}

void ProgressWindow::advance(int steps) {
    bar_->setValue(std::min(bar_->maximum(), bar_->value() + 100 * steps));
    showLine();
}

void ProgressWindow::finish() {
    hide();
}

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape would close a dialog; this one stays until the transfer ends.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
}

QPainterPath ProgressWindow::outline() const {
    // Corner ellipses of 40 x 40 pixels.
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius,
                        kCornerRadius);
    return path;
}

void ProgressWindow::resizeEvent(QResizeEvent* event) {
    setMask(QRegion(outline().toFillPolygon().toPolygon()));
    QWidget::resizeEvent(event);
}

void ProgressWindow::paintEvent(QPaintEvent* /*event*/) {
    // The mask cuts the shape; the painted edge keeps it visible over a window of the same
    // colour.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());
    p.setPen(QPen(palette().color(QPalette::Mid), 1.5));
    p.setBrush(palette().color(QPalette::Window));
    p.drawPath(outline());
}

} // namespace torvane::gui
