#pragma once

#include "gui/app/main_frame.h"

#include <QApplication>
#include <memory>
#include <string>

namespace torvane::gui {

class DemoGateway;
class WidgetPrompts;

// The program's exit status when start-up ends it (0 for a cancelled configuration type, 1 for a
// command-line file that did not load); -1 while it runs on.
int startExitStatus(CMainFrame::StartResult result);

// The application object: the registry profile, the main window, the command line.
class CModbusConfigApp : public QApplication {
    Q_OBJECT
public:
    CModbusConfigApp(int& argc, char** argv);
    ~CModbusConfigApp() override;

    // Creates the main window, opens `file` (or runs New) and shows the window. Anything but
    // Running means the program is to end without showing it.
    // `file` is a path as the file system names it.
    CMainFrame::StartResult initInstance(const std::string& file, bool demo);
    CMainFrame* mainFrame() const { return frame_.get(); }
    // The simulated gateway of `--demo`; nullptr without it.
    DemoGateway* demoGateway() const { return demo_.get(); }

private:
    std::unique_ptr<DemoGateway> demo_; // outlives the window, ends with the program
    std::unique_ptr<WidgetPrompts> prompts_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace torvane::gui
