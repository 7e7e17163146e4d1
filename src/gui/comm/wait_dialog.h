#pragma once

#include <QPainterPath>
#include <QWidget>

class QProgressBar;

namespace torvane::gui {

// The progress display of a transfer: a borderless rounded popup with one bar. The user
// cannot close it; the transfer shows, steps and hides it.
class CDlgWait : public QWidget {
    Q_OBJECT
public:
    explicit CDlgWait(QWidget* owner);

    // Shows the popup centred over its owner with a range of 100 × steps.
    void start(int steps);
    void advance(int steps);
    void finish();

    QProgressBar* bar() const { return bar_; }
    // The rounded shape of the popup in its own coordinates.
    QPainterPath outline() const;

    static constexpr int kCornerRadius = 20;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QProgressBar* bar_ = nullptr;
};

} // namespace torvane::gui
