#include "platform/data_files.h"

#include <QFile>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace torvane::platform {

namespace fs = std::filesystem;

std::string executableDir() {
#ifdef _WIN32
    wchar_t buf[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    if (n == 0 || n == MAX_PATH) {
        return {};
    }
    return fs::path(std::wstring(buf, n)).parent_path().string();
#elif defined(__APPLE__)
    char buf[4096];
    uint32_t size = sizeof buf;
    if (_NSGetExecutablePath(buf, &size) != 0) {
        return {};
    }
    return fs::path(buf).parent_path().string();
#else
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
#endif
}

std::string findDataFile(const std::string& name) {
    const fs::path besideExe = fs::path(executableDir()) / name;
    std::error_code ec;
    if (fs::exists(besideExe, ec)) {
        return besideExe.string();
    }
    // The install tree keeps data in <prefix>/share/torvane, next to <prefix>/bin.
    const fs::path relocated = fs::path(executableDir()) / ".." / TORVANE_DATA_RELATIVE_DIR / name;
    if (fs::exists(relocated, ec)) {
        return relocated.lexically_normal().string();
    }
    const fs::path installed = fs::path(TORVANE_DATA_INSTALL_PATH) / name;
    if (fs::exists(installed, ec)) {
        return installed.string();
    }
    return besideExe.string();
}

std::string deviceLibraryFolder() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The XDG base directory rules, in the bytes the environment holds: a relative
    // XDG_DATA_HOME counts as unset, and without a home there is no folder (Qt takes a relative
    // one as it is and "/" for a missing home).
    std::string base = qgetenv("XDG_DATA_HOME").toStdString();
    if (!base.starts_with('/')) {
        const std::string home = qgetenv("HOME").toStdString();
        if (!home.starts_with('/')) {
            return {};
        }
        base = home + "/.local/share";
    }
    return base + "/torvane/devices";
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) {
        return {};
    }
    return QFile::encodeName(base + QStringLiteral("/torvane/devices")).toStdString();
#endif
}

} // namespace torvane::platform
