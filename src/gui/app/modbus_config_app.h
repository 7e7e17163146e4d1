#pragma once

#include <QApplication>
#include <memory>

namespace torvane::gui {

class CMainFrame;
class DemoGateway;
class WidgetPrompts;

// The application object: the registry profile, the main window, the command line.
class CModbusConfigApp : public QApplication {
    Q_OBJECT
public:
    CModbusConfigApp(int& argc, char** argv);
    ~CModbusConfigApp() override;

    // Creates and shows the main window and opens the file named on the command line (or runs
    // New). Returns false when the program is to end (configuration type cancelled).
    bool initInstance();
    CMainFrame* mainFrame() const { return frame_.get(); }
    // The simulated gateway of `--demo`; nullptr without it.
    DemoGateway* demoGateway() const { return demo_.get(); }

    // `torvane --measure-startup`: prints start-up time, the time to open the largest
    // configuration and rebuild the tree, and resident memory; returns the exit code.
    static int measureStartup(int& argc, char** argv);

private:
    std::unique_ptr<DemoGateway> demo_; // outlives the window, ends with the program
    std::unique_ptr<WidgetPrompts> prompts_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace torvane::gui
