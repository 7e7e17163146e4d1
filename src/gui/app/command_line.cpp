#include "gui/app/command_line.h"

#include <QCommandLineParser>

namespace torvane::gui {

namespace {

// Options that QGuiApplication and QApplication take from the command line themselves.
constexpr const char* kQtValueOptions[] = {"platform",        "platformpluginpath",
                                           "platformtheme",   "plugin",
                                           "qwindowgeometry", "qwindowicon",
                                           "qwindowtitle",    "style",
                                           "stylesheet",      "session",
                                           "display",         "geometry"};
constexpr const char* kQtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's options are single-dash words; the program's own are --long or -h.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("Configures a PROFIBUS-DP / CANopen gateway."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the program's version and exit."));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Start a simulated gateway and preselect it in \"Serial Connection\"."));
    const QCommandLineOption measure(
        QStringLiteral("measure-startup"),
        QStringLiteral("Print the start-up time, the time to open the largest configuration and "
                       "the memory used, then exit."));
    const QCommandLineOption lang(
        QStringLiteral("lang"),
        QStringLiteral("The interface language: en or zh_CN (default: the system locale's)."),
        QStringLiteral("language"));
    parser.addOptions({help, version, demo, measure, lang});
    for (const char* name : kQtValueOptions) {
        QCommandLineOption o(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    for (const char* name : kQtFlagOptions) {
        QCommandLineOption o(QString::fromLatin1(name));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(o);
    }
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A configuration to open: an .xml file as XML, any other as a .chg "
                       "archive. Without it the program starts a new configuration."),
        QStringLiteral("[FILE]"));

    // The usage line names the program, not the path it was started by.
    QStringList args = arguments;
    if (args.isEmpty()) {
        args << QString();
    }
    QString usage = parser.helpText();
    usage.replace(0, usage.indexOf(QLatin1Char('\n')),
                  QStringLiteral("Usage: torvane [options] [FILE]"));
    CommandLine cl;
    if (!parser.parse(args)) {
        cl.action = CommandLine::Action::Error;
        cl.text = QStringLiteral("torvane: ") + parser.errorText() + QLatin1Char('\n') + usage;
        return cl;
    }
    if (parser.isSet(help)) {
        cl.action = CommandLine::Action::Help;
        cl.text = usage;
        return cl;
    }
    if (parser.isSet(version)) {
        cl.action = CommandLine::Action::Version;
        cl.text = QStringLiteral("torvane " TORVANE_VERSION "\n");
        return cl;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        cl.action = CommandLine::Action::Error;
        cl.text = QStringLiteral("torvane: only one FILE can be opened\n") + usage;
        return cl;
    }
    if (parser.isSet(lang)) {
        cl.language = parser.value(lang);
        if (cl.language != QLatin1String("en") && cl.language != QLatin1String("zh_CN")) {
            cl.action = CommandLine::Action::Error;
            cl.text = QStringLiteral("torvane: unknown language \"%1\" (en or zh_CN)\n")
                          .arg(cl.language) +
                      usage;
            return cl;
        }
    }
    cl.file = files.value(0);
    cl.demo = parser.isSet(demo);
    cl.action =
        parser.isSet(measure) ? CommandLine::Action::MeasureStartup : CommandLine::Action::Run;
    return cl;
}

std::string commandLineFilePath(const QString& file, int argc, char** argv) {
    for (int i = argc - 1; i > 0; --i) {
        if (QString::fromLocal8Bit(argv[i]) == file) {
            return argv[i];
        }
    }
    return file.toLocal8Bit().toStdString();
}

QStringList commandLineArguments(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    return args;
}

} // namespace torvane::gui
