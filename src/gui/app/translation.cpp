#include "gui/app/translation.h"

#include "platform/data_files.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace torvane::gui {

namespace {

struct Installed {
    QString language = QString::fromLatin1(kLanguageEnglish);
    std::unique_ptr<QTranslator> program;
    std::unique_ptr<QTranslator> qt;
};

Installed& installed() {
    static Installed state;
    return state;
}

bool translating() {
    return installed().program != nullptr;
}

} // namespace

QString interfaceLanguage(const QString& requested, const QLocale& system) {
    if (!requested.isEmpty()) {
        return requested;
    }
    // QLocale fills in the likely script: "zh" and "zh_SG" are Simplified, "zh_TW" is not.
    return system.language() == QLocale::Chinese && system.script() == QLocale::SimplifiedHanScript
               ? QString::fromLatin1(kLanguageChinese)
               : QString::fromLatin1(kLanguageEnglish);
}

bool installTranslations(const QString& language) {
    Installed& state = installed();
    for (auto* t : {&state.program, &state.qt}) {
        if (*t != nullptr) {
            QCoreApplication::removeTranslator(t->get());
            t->reset();
        }
    }
    state.language = QString::fromLatin1(kLanguageEnglish);
    if (language == QLatin1String(kLanguageEnglish)) {
        return true;
    }
    auto program = std::make_unique<QTranslator>();
    const std::string catalogue = "translations/torvane_" + language.toStdString() + ".qm";
    if (!program->load(QString::fromStdString(platform::findDataFile(catalogue)))) {
        return false;
    }
    auto qt = std::make_unique<QTranslator>();
    // Without Qt's own catalogue its dialogs stay English; the program's texts still change.
    if (qt->load(QStringLiteral("qtbase_") + language,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        state.qt = std::move(qt);
    }
    QCoreApplication::installTranslator(program.get());
    state.program = std::move(program);
    state.language = language;
    return true;
}

QString currentLanguage() {
    return installed().language;
}

QString ui(const str::UiText& text) {
    return QCoreApplication::translate(text.context, text.source);
}

QString core(const Message& message) {
    Message::Translate translate;
    if (translating()) {
        translate = [](const char* context, const std::string& source) {
            return QCoreApplication::translate(context, source.c_str()).toStdString();
        };
    }
    const std::string text = message.render(translate);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string localizedName(const std::string& name) {
    const QString language = currentLanguage();
    if (language == QLatin1String(kLanguageEnglish)) {
        return name;
    }
    const std::size_t dot = name.rfind('.');
    const std::size_t at = dot == std::string::npos ? name.size() : dot;
    return name.substr(0, at) + '_' + language.toStdString() + name.substr(at);
}

QString infoFontFamily() {
    QString chosen = QString::fromLatin1(str::InfoFont);
    if (currentLanguage() == QLatin1String(kLanguageEnglish)) {
        return chosen;
    }
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    if (chinese.contains(chosen)) {
        return chosen;
    }
    for (const char* family : {"Noto Serif CJK SC", "Noto Sans CJK SC", "WenQuanYi Zen Hei"}) {
        if (chinese.contains(QString::fromLatin1(family))) {
            return QString::fromLatin1(family);
        }
    }
    return chinese.isEmpty() ? chosen : chinese.constFirst();
}

} // namespace torvane::gui
