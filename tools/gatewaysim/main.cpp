// torvane-gatewaysim: a simulated gateway on a pseudo-terminal or a serial device.

#include "gateway_sim.h"
#include "sim_options.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <memory>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

using namespace torvane::sim;

int g_signalPipe[2] = {-1, -1};

extern "C" void onSignal(int /*sig*/) {
    const char c = 's';
    [[maybe_unused]] const ssize_t n = write(g_signalPipe[1], &c, 1);
}

bool installSignals(std::string& error) {
    if (pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("cannot create a pipe: ") + std::strerror(errno);
        return false;
    }
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    // End with the process that started us, also when it dies without a word.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    return true;
}

// 57600 baud, 8 data bits, odd parity, 1 stop bit, raw: the gateway's line settings.
bool configureLine(int fd, std::string& error) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) {
        error = std::string("cannot read the line settings: ") + std::strerror(errno);
        return false;
    }
    cfmakeraw(&t);
    cfsetispeed(&t, B57600);
    cfsetospeed(&t, B57600);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB);
    t.c_cflag |= CS8 | PARENB | PARODD | CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        // A pseudo-terminal has no parity and may refuse a request for it; 8-N-1 is the same
        // there, since no bits travel on a wire.
        t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
        if (tcsetattr(fd, TCSANOW, &t) == 0) {
            return true;
        }
        error = std::string("cannot apply the line settings: ") + std::strerror(errno);
        return false;
    }
    return true;
}

struct Line {
    int fd = -1;
    int slaveKeepAlive = -1; // our own handle of the terminal side, so the line never hangs up
    std::string path;
};

bool openPseudoTerminal(Line& line, std::string& error) {
    line.fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (line.fd < 0 || grantpt(line.fd) != 0 || unlockpt(line.fd) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ptsname(line.fd);
    if (name == nullptr) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    line.path = name;
    line.slaveKeepAlive = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (line.slaveKeepAlive < 0) {
        error = line.path + ": " + std::strerror(errno);
        return false;
    }
    return configureLine(line.slaveKeepAlive, error);
}

bool openDevice(const std::string& path, Line& line, std::string& error) {
    line.path = path;
    line.fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (line.fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    return configureLine(line.fd, error);
}

bool makeLink(const std::string& linkPath, const std::string& target, std::string& error) {
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = linkPath + ": exists and is not a symbolic link; not replaced";
            return false;
        }
        unlink(linkPath.c_str());
    }
    if (symlink(target.c_str(), linkPath.c_str()) != 0) {
        error = linkPath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// Writes all of `bytes`, waiting up to a second for room; what does not fit is lost, as on a line
// nobody reads.
bool writeAll(int fd, const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        pollfd p{fd, POLLOUT, 0};
        if (poll(&p, 1, 1000) <= 0) {
            return false;
        }
    }
    return true;
}

// An I/O frame goes out whole or not at all: with nobody reading, the line fills up, and the
// frames wait for the next opener, who purges them.
void sendIoFrame(int fd, const Bytes& frame) {
    pollfd p{fd, POLLOUT, 0};
    if (poll(&p, 1, 0) == 1 && (p.revents & POLLOUT) != 0) {
        [[maybe_unused]] const ssize_t n = write(fd, frame.data(), frame.size());
    }
}

} // namespace

int main(int argc, char** argv) {
    SimOptions opt;
    std::string error;
    if (!parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), opt, error)) {
        std::cerr << "torvane-gatewaysim: " << error << "\n";
        return 2;
    }
    if (opt.help) {
        std::cout << simUsage();
        return 0;
    }
    const pid_t parent = getppid();
    if (!installSignals(error)) {
        std::cerr << "torvane-gatewaysim: " << error << "\n";
        return 1;
    }

    GatewayImage image = factoryImage(opt.model);
    if (!opt.storePath.empty() && !loadStore(opt.storePath, opt.model, image, error)) {
        std::cerr << "torvane-gatewaysim: " << error << "\n";
        return 1;
    }

    std::ofstream logFile;
    if (!opt.logPath.empty()) {
        logFile.open(opt.logPath, std::ios::out | std::ios::app);
        if (!logFile) {
            std::cerr << "torvane-gatewaysim: cannot open the log file " << opt.logPath << ": "
                      << std::strerror(errno) << "\n";
            return 1;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    auto nowMs = [&] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    auto log = [&](const std::string& text) {
        if (logFile) {
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "%10.3f ", nowMs() / 1000.0);
            logFile << stamp << text << '\n' << std::flush;
        }
    };

    Line line;
    const bool opened =
        opt.device.empty() ? openPseudoTerminal(line, error) : openDevice(opt.device, line, error);
    if (!opened) {
        std::cerr << "torvane-gatewaysim: " << error << "\n";
        return 1;
    }
    if (!opt.linkPath.empty() && !makeLink(opt.linkPath, line.path, error)) {
        std::cerr << "torvane-gatewaysim: " << error << "\n";
        return 1;
    }
    std::cout << line.path << std::endl;
    log(std::string("start: ") + (opt.model == SimModel::Master ? "TAVO20" : "TAVO20S") + " on " +
        line.path + ", serving " + describeImage(image));

    GatewaySim sim(opt, std::move(image), log);
    // In packet mode the pseudo-terminal reports the purge every program does when it opens the
    // port; the I/O frames use it to start for a new monitor and to keep out of a transfer.
    int packet = 1;
    const bool packetMode = opt.monitor != MonitorMode::None && opt.device.empty() &&
                            ioctl(line.fd, TIOCPKT, &packet) == 0;
    std::unique_ptr<IoFrameFeed> feed;
    if (opt.monitor != MonitorMode::None) {
        feed = std::make_unique<IoFrameFeed>(opt.monitor, packetMode, log);
        if (!opt.pattern.empty()) {
            feed->setPattern(opt.pattern, opt.patternStepSeconds * 1000.0);
        }
        sim.setIoFrameFeed(feed.get());
    }
    // The loop wakes for bytes, for a signal, for the next I/O frame, or every 100 ms to notice
    // an orphaned run and drop stale partial frames.
    int status = 0;
    std::uint8_t buf[4096];
    for (;;) {
        if (feed) {
            const Bytes frame = feed->due(nowMs());
            if (!frame.empty()) {
                log("IO " + hexText(frame.data(), frame.size()));
                sendIoFrame(line.fd, frame);
            }
        }
        const int timeout =
            feed ? std::clamp(static_cast<int>(feed->waitMs(nowMs())) + 1, 1, 100) : 100;
        pollfd fds[2] = {{line.fd, POLLIN, 0}, {g_signalPipe[0], POLLIN, 0}};
        const int ready = poll(fds, 2, timeout);
        if (ready < 0 && errno != EINTR) {
            std::cerr << "torvane-gatewaysim: poll failed: " << std::strerror(errno) << "\n";
            status = 1;
            break;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            log("stop: signal");
            break;
        }
        if (getppid() != parent) {
            log("stop: parent ended");
            break;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            ssize_t n = read(line.fd, buf, sizeof buf);
            std::uint8_t* data = buf;
            if (packetMode && n > 0) {
                // The first byte says whether data follows (0) or the line's state changed.
                if (buf[0] != TIOCPKT_DATA) {
                    if ((buf[0] & (TIOCPKT_FLUSHREAD | TIOCPKT_FLUSHWRITE)) != 0) {
                        feed->onPurge(nowMs());
                    }
                    continue;
                }
                ++data;
                --n;
            }
            if (n > 0) {
                const Bytes reply = sim.onBytes(data, static_cast<std::size_t>(n), nowMs());
                if (!reply.empty() && !writeAll(line.fd, reply)) {
                    log("TX failed: " + std::string(std::strerror(errno)));
                }
                continue;
            }
        }
        if ((fds[0].revents & (POLLERR | POLLNVAL)) != 0 && !opt.device.empty()) {
            std::cerr << "torvane-gatewaysim: " << line.path << ": the device went away\n";
            status = 1;
            break;
        }
        sim.onIdle(nowMs());
    }
    if (!opt.linkPath.empty()) {
        unlink(opt.linkPath.c_str());
    }
    if (line.slaveKeepAlive >= 0) {
        close(line.slaveKeepAlive);
    }
    close(line.fd);
    return status;
}
