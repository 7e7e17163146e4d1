#include "gui/app/info_bar.h"

#include "gui/app/translation.h"
#include "platform/data_files.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>

namespace torvane::gui {

namespace {
QFont infoFont() {
    // Times New Roman where it exists; otherwise any serif face (fontconfig maps the name to
    // Liberation Serif, a metric twin, when fonts-liberation is installed). A Chinese interface
    // takes a face with Chinese glyphs when that one has none.
    QFont font(infoFontFamily(), 12);
    font.setStyleHint(QFont::Serif);
    return font;
}
} // namespace

InfoBar::InfoBar(QWidget* parent)
    : QDockWidget(ui(str::InfoBarTitle), parent), tabs_(new QTabWidget(this)),
      info_(new QPlainTextEdit(tabs_)), news_(new QTextBrowser(tabs_)) {
    setObjectName(QStringLiteral("MYControl"));
    setAllowedAreas(Qt::AllDockWidgetAreas);
    info_->setObjectName(QStringLiteral("info"));
    info_->setReadOnly(true);
    info_->setFont(infoFont());
    info_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    news_->setObjectName(QStringLiteral("news"));
    news_->setOpenExternalLinks(true);
    tabs_->addTab(info_, ui(str::InfoTab));
    tabs_->addTab(news_, ui(str::NewsTab));
    tabs_->setCurrentWidget(news_);
    setWidget(tabs_);
}

void InfoBar::setHelpText(const QString& text) {
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    info_->setPlainText(plain);
}

QString InfoBar::helpText() const {
    return info_->toPlainText();
}

void InfoBar::loadNews() {
    const QString path =
        QString::fromStdString(platform::findDataFile(localizedName(str::NewsPage)));
    if (!QFileInfo::exists(path)) {
        return;
    }
    news_->setSearchPaths({QFileInfo(path).absolutePath()});
    news_->setSource(QUrl::fromLocalFile(path));
}

} // namespace torvane::gui
