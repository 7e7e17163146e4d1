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
    // The addressed I/O frames show input and output rows in the monitor; the input values
    // move through a drive's status words and a rising position.
    QStringList args = {QStringLiteral("--model"), QStringLiteral("master"),
                        QStringLiteral("--monitor"), QStringLiteral("addressed")};
    for (const char* step : {"40 02 00 00 00 00", "21 02 00 00 00 00", "33 02 00 00 00 00",
                             "37 02 E8 03 00 00", "37 02 D0 07 00 00", "37 02 B8 0B 00 00"}) {
        args << QStringLiteral("--step") << QString::fromLatin1(step);
    }
    if (!simulator_.start(platform::GatewaySimulator::besideThisProgram(), args, error)) {
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
