#pragma once

#include "gui/app/main_window.h"

#include <QApplication>
#include <memory>
#include <string>

namespace torvane::gui {

class DemoGateway;
class WidgetPrompts;

// The program's exit status when start-up ends it (0 for a cancelled configuration type, 1 for a
// command-line file that did not load); -1 while it runs on.
int startExitStatus(MainWindow::StartResult result);

// The application object: the registry profile, the main window, the command line.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;

    // Creates the main window, opens `file` (or runs New) and shows the window. Anything but
    // Running means the program is to end without showing it.
    // `file` is a path as the file system names it.
    MainWindow::StartResult initInstance(const std::string& file, bool demo);
    MainWindow* mainFrame() const { return frame_.get(); }
    // The simulated gateway of `--demo`; nullptr without it.
    DemoGateway* demoGateway() const { return demo_.get(); }

private:
    std::unique_ptr<DemoGateway> demo_; // outlives the window, ends with the program
    std::unique_ptr<WidgetPrompts> prompts_;
    std::unique_ptr<MainWindow> frame_;
};

} // namespace torvane::gui
