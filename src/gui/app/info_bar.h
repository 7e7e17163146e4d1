#pragma once

#include <QDockWidget>

class QPlainTextEdit;
class QTabWidget;
class QTextBrowser;

namespace torvane::gui {

// The bottom information bar "MY Control": the "Info" tab (help text of the clicked grid row)
// and the "News" tab (the local news page).
class InfoBar : public QDockWidget {
    Q_OBJECT
public:
    explicit InfoBar(QWidget* parent = nullptr);

    // Replaces the help text; "\r\n" line breaks are accepted.
    void setHelpText(const QString& text);
    QString helpText() const;

    // Loads the news page; called once the window is up, so start-up never waits for it.
    // A missing page leaves the tab empty.
    void loadNews();

    QTabWidget* tabs() const { return tabs_; }
    QPlainTextEdit* info() const { return info_; }
    QTextBrowser* news() const { return news_; }

private:
    QTabWidget* tabs_;
    QPlainTextEdit* info_;
    QTextBrowser* news_;
};

} // namespace torvane::gui
