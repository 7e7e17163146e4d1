#include "gui/app/modbus_config_app.h"

#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--measure-startup") == 0) {
            return torvane::gui::CModbusConfigApp::measureStartup(argc, argv);
        }
    }
    torvane::gui::CModbusConfigApp app(argc, argv);
    if (!app.initInstance()) {
        return 0;
    }
    return torvane::gui::CModbusConfigApp::exec();
}
