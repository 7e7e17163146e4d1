#include "gui/app/translation.h"

#include "model/strings.h"
#include "platform/data_files.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <memory>
#include <optional>

namespace torvane::gui {

namespace {

// The contexts of model/strings.h, searched in this order for a core text.
constexpr const char* kCoreContexts[] = {"Editor", "Help",    "Checks",  "Transfer",
                                         "Export", "Monitor", "Compare", "Files"};

// How the core joins a marked text with what follows or precedes it.
enum class Shape {
    Printf,         // "%d" stands for a number, "%s" for any value
    Listed,         // "%s" stands for core texts joined by ", "
    ValueFollows,   // the text, then a value (a path, a number)
    TextFollows,    // the text, then another core text
    QuotedPathFirst // "\"a\\b\"" then the text; the path's last part is a row label
};

struct Form {
    const char* source;
    Shape shape;
};

constexpr Form kForms[] = {
    {str::RpdoCycleQuestion, Shape::Printf},
    {str::SdoCycleQuestion, Shape::Printf},
    {str::CheckCobIdConflict, Shape::Printf},
    {str::CobIdConflictNode, Shape::Printf},
    {str::RenumberCobIdConflict, Shape::Printf},
    {str::XmlDamagedAtLine, Shape::Printf},
    {str::StepDownloadChanged, Shape::Listed},
    {str::NoteValueNeeded, Shape::Printf},
    {str::NoteNotPlainDecimal, Shape::Printf},
    {str::NoteOutOfRange, Shape::Printf},
    {str::NoteSdoBytesNotAllowed, Shape::Printf},
    {str::NoteNotInList, Shape::Printf},
    {str::NoteIndexHexLetters, Shape::Printf},
    {str::NoteIndexReadAsDecimal, Shape::Printf},
    {str::EdsTemplateUnreadable, Shape::ValueFollows},
    {str::WorkbookTemplateUnreadable, Shape::ValueFollows},
    {str::WorkbookTemplateBroken, Shape::ValueFollows},
    {str::WorkbookSaveError, Shape::ValueFollows},
    {str::CompareNotDownloadable, Shape::TextFollows},
    {str::CheckIsEmpty, Shape::QuotedPathFirst},
    {str::FileCannotSave, Shape::ValueFollows},
    {str::FileCannotRead, Shape::ValueFollows},
    {str::FileCannotOpen, Shape::ValueFollows},
};

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

std::optional<QString> exact(const QByteArray& source) {
    const QString english = QString::fromUtf8(source);
    for (const char* context : kCoreContexts) {
        QString t = QCoreApplication::translate(context, source.constData());
        if (t != english) {
            return t;
        }
    }
    return std::nullopt;
}

QString exactOrSame(const QByteArray& source) {
    return exact(source).value_or(QString::fromUtf8(source));
}

QRegularExpression patternOf(const Form& form) {
    const QString escaped = QRegularExpression::escape(QString::fromUtf8(form.source));
    switch (form.shape) {
    case Shape::Listed: {
        QStringList pieces = QString::fromUtf8(form.source).split(QLatin1String("%s"));
        for (QString& piece : pieces) {
            piece = QRegularExpression::escape(piece);
        }
        return QRegularExpression(QLatin1Char('^') + pieces.join(QLatin1String("(.*)")) +
                                  QLatin1Char('$'));
    }
    case Shape::Printf: {
        static const QRegularExpression placeholder(QStringLiteral("%[ds]"));
        const QString source = QString::fromUtf8(form.source);
        QString pattern = QStringLiteral("^");
        qsizetype from = 0;
        for (auto it = placeholder.globalMatch(source); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            pattern += QRegularExpression::escape(source.mid(from, m.capturedStart() - from));
            pattern += m.captured() == QLatin1String("%d") ? QStringLiteral("(-?\\d+)")
                                                           : QStringLiteral("(.*?)");
            from = m.capturedEnd();
        }
        return QRegularExpression(pattern + QRegularExpression::escape(source.mid(from)) +
                                  QLatin1Char('$'));
    }
    case Shape::ValueFollows:
    case Shape::TextFollows:
        return QRegularExpression(QLatin1Char('^') + escaped + QLatin1String("(.*)$"));
    case Shape::QuotedPathFirst:
        return QRegularExpression(QLatin1String("^\"(.*)\"") + escaped + QLatin1Char('$'));
    }
    return {};
}

QString oneLine(const QString& line);

std::optional<QString> byForm(const QString& line) {
    static const auto patterns = [] {
        std::vector<QRegularExpression> all;
        for (const Form& f : kForms) {
            all.push_back(patternOf(f));
        }
        return all;
    }();
    for (std::size_t i = 0; i < std::size(kForms); ++i) {
        const QRegularExpressionMatch m = patterns[i].match(line);
        if (!m.hasMatch()) {
            continue;
        }
        const Form& f = kForms[i];
        QString t = exactOrSame(QByteArray(f.source));
        switch (f.shape) {
        case Shape::Printf: {
            // The values go in where the translation has its placeholders, in their order; a
            // value is never searched for placeholders again.
            static const QRegularExpression placeholder(QStringLiteral("%[ds]"));
            QString filled;
            qsizetype from = 0;
            int g = 1;
            for (auto it = placeholder.globalMatch(t); it.hasNext() && g <= m.lastCapturedIndex();
                 ++g) {
                const QRegularExpressionMatch p = it.next();
                filled += t.mid(from, p.capturedStart() - from) + m.captured(g);
                from = p.capturedEnd();
            }
            return filled + t.mid(from);
        }
        case Shape::Listed: {
            QStringList items = m.captured(1).split(QLatin1String(", "));
            for (QString& item : items) {
                item = exactOrSame(item.toUtf8());
            }
            return t.replace(QLatin1String("%s"), items.join(QLatin1String(", ")));
        }
        case Shape::ValueFollows: {
            // The value may be followed by ": " and a reason of the core's.
            const QString rest = m.captured(1);
            const qsizetype colon = rest.indexOf(QLatin1String(": "));
            return t + (colon < 0 ? rest : rest.left(colon + 2) + oneLine(rest.mid(colon + 2)));
        }
        case Shape::TextFollows:
            return t + core(m.captured(1).toStdString());
        case Shape::QuotedPathFirst: {
            QStringList parts = m.captured(1).split(QLatin1Char('\\'));
            parts.last() = exactOrSame(parts.last().toUtf8());
            return QLatin1Char('"') + parts.join(QLatin1Char('\\')) + QLatin1Char('"') + t;
        }
        }
    }
    return std::nullopt;
}

QString oneLine(const QString& line) {
    const QByteArray bytes = line.toUtf8();
    if (auto t = exact(bytes)) {
        return *t;
    }
    // Some texts end in a line break of their own.
    if (auto t = exact(bytes + '\n')) {
        return t->endsWith(QLatin1Char('\n')) ? t->chopped(1) : *t;
    }
    if (auto t = byForm(line)) {
        return *t;
    }
    // "cannot read <path>: <reason>", "<path>: <text>: <detail>", "  <label>: <value>": the
    // pieces between ": " that are marked texts, or start with one, are translated.
    QStringList pieces = line.split(QLatin1String(": "));
    bool translated = false;
    for (QString& piece : pieces) {
        qsizetype indent = 0;
        while (indent < piece.size() && piece.at(indent).isSpace()) {
            ++indent;
        }
        const QString text = piece.mid(indent);
        std::optional<QString> t = exact(text.toUtf8());
        if (!t && pieces.size() > 1) {
            t = byForm(text);
        }
        if (t) {
            piece = piece.left(indent) + *t;
            translated = true;
        }
    }
    return translated ? pieces.join(QLatin1String(": ")) : line;
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

QString core(std::string_view text) {
    QString whole = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (!translating() || whole.isEmpty()) {
        return whole;
    }
    if (auto t = exact(whole.toUtf8())) {
        return *t;
    }
    QStringList lines = whole.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (!line.isEmpty()) {
            line = oneLine(line);
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QString corePlace(std::string_view place) {
    QString whole = QString::fromUtf8(place.data(), static_cast<qsizetype>(place.size()));
    if (!translating()) {
        return whole;
    }
    // "<where>: <row label>"; <where> is a page ("CANopen", the protocol's own name), a node
    // ("Node 5") or a command ("Node 5 / Transmit PDO COB-ID 389"), whose words are translated
    // and whose values are not.
    const qsizetype colon = whole.lastIndexOf(QLatin1String(": "));
    const QString where = colon < 0 ? whole : whole.left(colon);
    const QString label = colon < 0 ? QString() : whole.mid(colon);
    if (auto t = exact(where.toUtf8())) {
        return *t + label;
    }
    static const QRegularExpression word(
        QStringLiteral("(^|\\s)(%1|%2|%3)(?=\\s)")
            .arg(QRegularExpression::escape(QString::fromUtf8(str::CompareNode)),
                 QRegularExpression::escape(QString::fromUtf8(str::CompareIndex)),
                 QRegularExpression::escape(QString::fromUtf8(str::CompareSubIndex))));
    QString out;
    qsizetype from = 0;
    for (auto it = word.globalMatch(where); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += where.mid(from, m.capturedStart(2) - from);
        out += exactOrSame(m.captured(2).toUtf8());
        from = m.capturedEnd(2);
    }
    out += where.mid(from);
    return colon < 0 ? out : out + QLatin1String(": ") + exactOrSame(label.mid(2).toUtf8());
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
