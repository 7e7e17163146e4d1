#include "gui/app/application.h"
#include "gui/app/command_line.h"
#include "gui/app/startup_measurement.h"
#include "gui/app/translation.h"

#include <cstdio>

int main(int argc, char** argv) {
    using torvane::gui::Application;
    using torvane::gui::CommandLine;
    // Read before any application object exists: --help and --version work without a display.
    CommandLine cl = torvane::gui::parseCommandLine(torvane::gui::commandLineArguments(argc, argv));
    if (!cl.file.isEmpty()) {
        cl.filePath = torvane::gui::commandLineFilePath(cl.file, argc, argv);
    }
    const QByteArray text = cl.text.toLocal8Bit();
    switch (cl.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        std::fputs(text.constData(), stdout);
        return 0;
    case CommandLine::Action::Error:
        std::fputs(text.constData(), stderr);
        return 2;
    case CommandLine::Action::MeasureStartup:
        return torvane::gui::measureStartup(argc, argv, cl.language);
    case CommandLine::Action::Run:
        break;
    }
    Application app(argc, argv);
    const QString language = torvane::gui::interfaceLanguage(cl.language);
    if (!torvane::gui::installTranslations(language)) {
        std::fprintf(stderr,
                     "torvane: the %s translation is missing; the interface stays English\n",
                     language.toLocal8Bit().constData());
    }
    const int status = torvane::gui::startExitStatus(app.initInstance(cl.filePath, cl.demo));
    return status >= 0 ? status : Application::exec();
}
