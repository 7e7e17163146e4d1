#include "gui/app/demo_gateway.h"

#include "gui/app/translation.h"

#include <QByteArray>
#include <mutex>

namespace torvane::gui {
namespace {

std::mutex g_demoMutex;
std::string g_demoDevice;

void setDemoDevice(const std::string& device) {
    const std::lock_guard<std::mutex> lock(g_demoMutex);
    g_demoDevice = device;
}

} // namespace

QString portDisplayName(const std::string& device) {
    const std::lock_guard<std::mutex> lock(g_demoMutex);
    return !g_demoDevice.empty() && device == g_demoDevice ? ui(str::DemoGatewayName)
                                                           : QString::fromStdString(device);
}

DemoGateway::DemoGateway() = default;

DemoGateway::~DemoGateway() {
    stop();
}

bool DemoGateway::start(QString& error) {
    stop();
    // The addressed I/O frames show input and output rows in the monitor.
    if (!simulator_.start(platform::GatewaySimulator::besideThisProgram(),
                          {QStringLiteral("--model"), QStringLiteral("master"),
                           QStringLiteral("--monitor"), QStringLiteral("addressed")},
                          error)) {
        return false;
    }
    setDemoDevice(simulator_.device());
    // Every port list of the program includes the extra ports named here.
    QByteArray extra = qgetenv("TORVANE_EXTRA_PORTS");
    if (!extra.isEmpty()) {
        extra.append(':');
    }
    extra.append(QByteArray::fromStdString(simulator_.device()));
    qputenv("TORVANE_EXTRA_PORTS", extra);
    return true;
}

void DemoGateway::stop() {
    simulator_.stop();
    setDemoDevice({});
}

} // namespace torvane::gui
