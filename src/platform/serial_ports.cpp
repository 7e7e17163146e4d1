#include "platform/serial_ports.h"

#include "comm/serial_link.h"
#include "model/strings.h"
#include "model/text_codec.h"

#include <QAbstractEventDispatcher>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QString>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace torvane::platform {

namespace {

constexpr int kWriteTimeoutMs = 2000;

// Identities of the devices open in this process; the lock file Qt takes covers other processes.
std::mutex& openDevicesMutex() {
    static std::mutex m;
    return m;
}
std::set<std::string>& openDevices() {
    static std::set<std::string> devices;
    return devices;
}

// "ttyS2" before "ttyS10": digit runs compare by value.
bool naturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool da = a[i] >= '0' && a[i] <= '9';
        const bool db = b[j] >= '0' && b[j] <= '9';
        if (da && db) {
            std::size_t ie = i;
            std::size_t je = j;
            while (ie < a.size() && a[ie] >= '0' && a[ie] <= '9') {
                ++ie;
            }
            while (je < b.size() && b[je] >= '0' && b[je] <= '9') {
                ++je;
            }
            const std::string na = a.substr(i, ie - i);
            const std::string nb = b.substr(j, je - j);
            const std::size_t za = na.find_first_not_of('0');
            const std::size_t zb = nb.find_first_not_of('0');
            const std::string va = za == std::string::npos ? "" : na.substr(za);
            const std::string vb = zb == std::string::npos ? "" : nb.substr(zb);
            if (va.size() != vb.size()) {
                return va.size() < vb.size();
            }
            if (va != vb) {
                return va < vb;
            }
            i = ie;
            j = je;
        } else {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

// QSerialPort registers socket notifiers when it opens, which needs an event dispatcher in the
// calling thread. Transfers never run an event loop there: every wait is a direct poll
// (waitForReadyRead, waitForBytesWritten), so a thread without a dispatcher gets this idle one.
// A program that wants a QCoreApplication creates it before opening a port on its main thread.
class IdleEventDispatcher final : public QAbstractEventDispatcher {
public:
    bool processEvents(QEventLoop::ProcessEventsFlags /*flags*/) override { return false; }
    void registerSocketNotifier(QSocketNotifier* /*notifier*/) override {}
    void unregisterSocketNotifier(QSocketNotifier* /*notifier*/) override {}
    void registerTimer(int /*id*/, qint64 /*interval*/, Qt::TimerType /*type*/,
                       QObject* /*object*/) override {}
    bool unregisterTimer(int /*id*/) override { return false; }
    bool unregisterTimers(QObject* /*object*/) override { return false; }
    QList<TimerInfo> registeredTimers(QObject* /*object*/) const override { return {}; }
    int remainingTime(int /*id*/) override { return -1; }
    void wakeUp() override {}
    void interrupt() override {}
};

void ensureEventDispatcher() {
    QThread* thread = QThread::currentThread();
    if (thread->eventDispatcher() == nullptr) {
        thread->setEventDispatcher(new IdleEventDispatcher);
    }
}

QSerialPort::Parity qtParity(int parity) {
    switch (parity) {
    case 0:
        return QSerialPort::NoParity;
    case 2:
        return QSerialPort::EvenParity;
    case 3:
        return QSerialPort::MarkParity;
    case 4:
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::OddParity;
    }
}

// True for a Unix 98 pseudo-terminal, such as the gateway simulator's line (links resolved).
bool isPseudoTerminal(const std::string& device) {
#ifdef Q_OS_WIN
    (void)device;
    return false;
#else
    std::error_code ec;
    const std::string path = std::filesystem::canonical(device, ec).string();
    return !ec && path.rfind("/dev/pts/", 0) == 0;
#endif
}

// The path with every link resolved, or the path itself when it cannot be resolved.
std::string resolvedPath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(path, ec);
    return ec ? path : resolved.string();
}

// One key per device, whatever name reaches it: a device node by its device number (two nodes
// of one device are one port), any other file by its inode, else the resolved name.
std::string deviceIdentity(const std::string& device) {
#ifdef Q_OS_WIN
    return QString::fromStdString(windowsDeviceName(device)).toUpper().toStdString();
#else
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) {
        return "name:" + resolvedPath(device);
    }
    if (S_ISCHR(st.st_mode)) {
        return "rdev:" + std::to_string(st.st_rdev);
    }
    return "inode:" + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
#endif
}

// True when `device` exists and is surely no terminal: not a character device, or one whose
// descriptor isatty() refuses (/dev/null). A path that cannot be examined is left to the open.
bool isSurelyNotTerminal(const std::string& device, bool probe) {
#ifdef Q_OS_WIN
    (void)device;
    (void)probe;
    return false;
#else
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) {
        return false;
    }
    if (!S_ISCHR(st.st_mode)) {
        return true;
    }
    if (!probe) {
        return false;
    }
    const int fd = ::open(device.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return !terminal;
#endif
}

// True when following the links of `device` never ends.
bool isLinkLoop(const std::string& device) {
#ifdef Q_OS_WIN
    (void)device;
    return false;
#else
    struct stat st {};
    return ::stat(device.c_str(), &st) != 0 && errno == ELOOP;
#endif
}

class QtSerialPort final : public SerialPort {
public:
    ~QtSerialPort() override { close(); }

    bool open(const std::string& device, const SerialSettings& settings, Message& reason) override {
        close();
        reason = {};
        if (isLinkLoop(device)) {
            reason = str::OpenLinkLoop;
            return false;
        }
        // A regular file, a folder or a FIFO is no port: refused without being opened.
        if (isSurelyNotTerminal(device, false)) {
            reason = str::OpenNotTerminal;
            return false;
        }
        const std::string identity = deviceIdentity(device);
        {
            const std::lock_guard lock(openDevicesMutex());
            if (!openDevices().insert(identity).second) {
                reason = str::OpenBusy;
                return false;
            }
        }
        identity_ = identity;
        ensureEventDispatcher();
#ifdef Q_OS_WIN
        port_.setPortName(QString::fromStdString(windowsDeviceName(device)));
#else
        // Qt names its lock file after the port: the resolved name gives every alias one lock.
        port_.setPortName(QString::fromStdString(resolvedPath(device)));
#endif
        if (!port_.open(QIODevice::ReadWrite)) {
            reason = failureReason(device);
            release();
            return false;
        }
        // A pseudo-terminal carries no parity: the kernel clears the parity flag on every change,
        // so asking for odd parity there always fails. Real ports get exactly what was asked.
        const int parity = isPseudoTerminal(device) ? 0 : settings.parity;
        const bool configured =
            port_.setBaudRate(settings.baudRate) && port_.setParity(qtParity(parity)) &&
            port_.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) &&
            port_.setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop
                                                     : QSerialPort::OneStop) &&
            port_.setFlowControl(QSerialPort::NoFlowControl);
        if (!configured) {
            reason = Message::plain(port_.errorString().toStdString());
            close();
            return false;
        }
        return true;
    }

    long write(const std::uint8_t* data, std::size_t length) override {
        if (!port_.isOpen()) {
            return -1;
        }
        const qint64 queued =
            port_.write(reinterpret_cast<const char*>(data), static_cast<qint64>(length));
        if (queued <= 0) {
            return -1;
        }
        // No event loop runs here: the wait drives the write to the device.
        while (port_.bytesToWrite() > 0) {
            if (!port_.waitForBytesWritten(kWriteTimeoutMs)) {
                break;
            }
        }
        return static_cast<long>(queued - port_.bytesToWrite());
    }

    std::size_t bytesWaiting() override {
        if (!port_.isOpen()) {
            return 0;
        }
        port_.clearError();
        // A zero time-out polls the device once and moves what arrived into Qt's buffer.
        port_.waitForReadyRead(0);
        return static_cast<std::size_t>(std::max<qint64>(port_.bytesAvailable(), 0));
    }

    long read(std::uint8_t* buffer, std::size_t capacity) override {
        if (!port_.isOpen()) {
            return -1;
        }
        return static_cast<long>(
            port_.read(reinterpret_cast<char*>(buffer), static_cast<qint64>(capacity)));
    }

    void purge() override {
        if (port_.isOpen()) {
            port_.clear(QSerialPort::AllDirections);
        }
    }

    void close() override {
        if (port_.isOpen()) {
            port_.close();
        }
        release();
    }

    bool isOpen() const override {
        return port_.isOpen();
    }

private:
    Message failureReason(const std::string& device) const {
        switch (port_.error()) {
        case QSerialPort::DeviceNotFoundError:
            return str::OpenNotFound;
        case QSerialPort::PermissionError: {
            // Qt reports a held lock and a refused device alike; the file's rights tell which.
            const QFileInfo info(port_.portName().startsWith('/')
                                     ? port_.portName()
                                     : QStringLiteral("/dev/") + port_.portName());
            if (info.exists() && !(info.isReadable() && info.isWritable())) {
                return str::OpenNoPermission;
            }
            return str::OpenBusy;
        }
        default:
            // Qt fails on the first terminal call: say so rather than "Inappropriate ioctl".
            if (isSurelyNotTerminal(device, true)) {
                return str::OpenNotTerminal;
            }
            return Message::plain(port_.errorString().toStdString());
        }
    }

    void release() {
        if (!identity_.empty()) {
            const std::lock_guard lock(openDevicesMutex());
            openDevices().erase(identity_);
            identity_.clear();
        }
    }

    QSerialPort port_;
    std::string identity_;
};

std::string hex4(int value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", static_cast<unsigned>(value) & 0xFFFFu);
    return buf;
}

} // namespace

void EnumerateSerialPorts(std::vector<std::string>& ports) {
    std::vector<std::string> found;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        found.push_back(info.portName().toStdString());
#else
        found.push_back(info.systemLocation().toStdString());
#endif
    }
    std::sort(found.begin(), found.end(), naturalLess);
    found.erase(std::unique(found.begin(), found.end()), found.end());
    if (const char* extra = std::getenv("TORVANE_EXTRA_PORTS")) {
        std::string list = extra;
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t end = std::min(list.find(':', start), list.size());
            const std::string path = list.substr(start, end - start);
            if (!path.empty() && std::find(found.begin(), found.end(), path) == found.end()) {
                found.push_back(path);
            }
            start = end + 1;
        }
    }
    ports.insert(ports.end(), found.begin(), found.end());
}

std::vector<std::string> serialPortList() {
    std::vector<std::string> ports;
    EnumerateSerialPorts(ports);
    return ports;
}

std::vector<PortDetails> serialPortDetails(const std::vector<std::string>& devices,
                                           const std::string& byIdDir) {
    std::map<std::string, QSerialPortInfo> system;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        system.emplace(info.portName().toStdString(), info);
#else
        system.emplace(resolvedPath(info.systemLocation().toStdString()), info);
#endif
    }
    // Sorted, so that a device with several links gets the same one every time.
    std::vector<std::pair<std::string, std::string>> links; // resolved target, link
    std::error_code ec;
    for (std::filesystem::directory_iterator it(byIdDir, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string link = it->path().string();
        links.emplace_back(resolvedPath(link), link);
    }
    std::sort(links.begin(), links.end(),
              [](const auto& a, const auto& b) { return naturalLess(a.second, b.second); });

    std::vector<PortDetails> out;
    out.reserve(devices.size());
    for (const std::string& device : devices) {
        PortDetails d;
        d.device = device;
        const std::string resolved = resolvedPath(device);
        for (const auto& [target, link] : links) {
            if (target == resolved && link != device) {
                d.byIdLink = link;
                break;
            }
        }
        if (const auto it = system.find(resolved); it != system.end()) {
            const QSerialPortInfo& info = it->second;
            if (info.hasVendorIdentifier()) {
                d.vendorId = info.vendorIdentifier();
            }
            if (info.hasProductIdentifier()) {
                d.productId = info.productIdentifier();
            }
            d.manufacturer = info.manufacturer().trimmed().toStdString();
            d.description = info.description().trimmed().toStdString();
            d.serialNumber = info.serialNumber().trimmed().toStdString();
        }
        out.push_back(std::move(d));
    }
    return out;
}

Message describePort(const PortDetails& details) {
    // The texts come from the system and the adapter's own descriptors: each stays on its line.
    Message text = Message::plain(printableText(details.device));
    const auto line = [&text](Text label, const std::string& value) {
        if (!value.empty()) {
            text = Message(str::PortDetailLine, std::move(text), label, printableText(value));
        }
    };
    line(str::PortByIdLink, details.byIdLink);
    if (details.vendorId >= 0 || details.productId >= 0) {
        line(str::PortUsbId, (details.vendorId >= 0 ? hex4(details.vendorId) : "????") + ":" +
                                 (details.productId >= 0 ? hex4(details.productId) : "????"));
    }
    line(str::PortManufacturer, details.manufacturer);
    line(str::PortDescription, details.description);
    line(str::PortSerialNumber, details.serialNumber);
    return text;
}

std::unique_ptr<SerialPort> createSerialPort() {
    return std::make_unique<QtSerialPort>();
}

} // namespace torvane::platform
