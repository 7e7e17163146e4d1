#pragma once

#include <QPainterPath>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace torvane::gui {

// The progress display of a transfer: a borderless rounded popup with a title, a line saying
// what runs where and one bar. The user cannot close it; the transfer shows, steps and hides it.
class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* owner);

    // What the next transfer is: `title`, and a line made of `line` with "%1" the port, "%2" the
    // frame being exchanged and "%3" the frames in all.
    void setTask(const QString& title, const QString& line, const QString& port);
    // Shows the popup centred over its owner with a range of 100 × steps.
    void start(int steps);
    void advance(int steps);
    void finish();

    QProgressBar* bar() const { return bar_; }
    QLabel* titleLabel() const { return title_; }
    QLabel* lineLabel() const { return line_; }
    // The rounded shape of the popup in its own coordinates.
    QPainterPath outline() const;

    static constexpr int kCornerRadius = 20;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showLine();

    QLabel* title_ = nullptr;
    QLabel* line_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QString lineFormat_;
    QString port_;
    int steps_ = 1;
};

} // namespace torvane::gui
