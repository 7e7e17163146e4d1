#include "gui/app/application.h"

#include "gui/app/demo_gateway.h"
#include "gui/app/main_window.h"
#include "gui/app/translation.h"
#include "gui/comm/serial_dialog.h"
#include "gui/editor/prompts.h"
#include "platform/serial_ports.h"

#include <algorithm>

namespace torvane::gui {

int startExitStatus(MainWindow::StartResult result) {
    switch (result) {
    case MainWindow::StartResult::Cancelled:
        return 0;
    case MainWindow::StartResult::FileNotLoaded:
        return 1;
    case MainWindow::StartResult::Running:
        break;
    }
    return -1;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Torvane"));
    setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
}

Application::~Application() {
    frame_.reset();
    prompts_.reset();
}

MainWindow::StartResult Application::initInstance(const std::string& file, bool demo) {
    prompts_ = std::make_unique<WidgetPrompts>();
    frame_ = std::make_unique<MainWindow>(*prompts_);
    prompts_->setParent(frame_.get());
    if (demo) {
        demo_ = std::make_unique<DemoGateway>();
        QString error;
        if (!demo_->start(error)) {
            demo_.reset();
            prompts_->tell(ui(str::DemoGatewayFailed).arg(error));
        } else {
            // The demo port is preselected; the serial dialog still comes first, as always.
            SerialDialogState& serial = frame_->serialSettings();
            platform::EnumerateSerialPorts(serial.ports);
            const auto at = std::find(serial.ports.begin(), serial.ports.end(), demo_->device());
            serial.portIndex = static_cast<int>(at - serial.ports.begin());
        }
    }
    // The configuration type is asked before the window appears, as the document comes first.
    const MainWindow::StartResult started = frame_->startPath(file);
    if (started != MainWindow::StartResult::Running) {
        return started;
    }
    frame_->show();
    frame_->update();
    return started;
}

} // namespace torvane::gui
