#include "../../support/english.h"
#include "../../support/scratch_dir.h"
#include "model/strings.h"
#include "platform/serial_ports.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace torvane::test {
namespace {

// A pseudo-terminal pair: the test plays the gateway on the master side.
struct Pty {
    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0) {
            device = ptsname(master);
        }
    }
    ~Pty() {
        if (master >= 0) {
            ::close(master);
        }
    }
    int master = -1;
    std::string device;
};

bool makeLink(const std::string& target, const std::string& link) {
    return symlink(target.c_str(), link.c_str()) == 0;
}

// A pseudo-terminal has no parity bit: whatever parity the caller asks for, it opens, also
// through a symbolic link (the simulator's --link), and carries bytes both ways without an event
// loop.
TEST(QtSerialPort, PseudoTerminalOpensWithAnyParity) {
    Pty pty;
    ScratchDir dir;
    ASSERT_FALSE(pty.device.empty());
    const std::string link = dir.file("gateway");
    ASSERT_TRUE(makeLink(pty.device, link));
    for (const std::string& device : {pty.device, link}) {
        for (int parity = 0; parity <= 4; ++parity) {
            SCOPED_TRACE(device + " parity " + std::to_string(parity));
            SerialSettings settings;
            settings.parity = parity;
            auto port = platform::createSerialPort();
            Message reason;
            ASSERT_TRUE(port->open(device, settings, reason)) << reason;
            const std::uint8_t frame[] = {0x02, 0x02, 0x01, 0x01, 0x06};
            EXPECT_EQ(port->write(frame, sizeof frame), 5);
            std::uint8_t got[8] = {};
            EXPECT_EQ(::read(pty.master, got, sizeof got), 5);
            ASSERT_EQ(::write(pty.master, frame, sizeof frame), 5);
            std::size_t waiting = 0;
            for (int i = 0; i < 100 && waiting < 5; ++i) {
                usleep(2000);
                waiting = port->bytesWaiting();
            }
            ASSERT_EQ(waiting, 5u);
            EXPECT_EQ(port->read(got, 2), 2);
            EXPECT_EQ(port->bytesWaiting(), 3u);
        }
    }
}

// The guard knows a device by what it is, not by the name it was opened under: every other name
// of a busy port is refused as busy, a refused contender leaves the holder's claim in place, and
// once the holder closes, any of the names opens.
TEST(QtSerialPort, EveryNameOfABusyPortIsBusy) {
    Pty pty;
    ASSERT_FALSE(pty.device.empty());
    ScratchDir dir;
    ASSERT_FALSE(dir.path.empty());
    const std::string link = dir.file("gateway");
    const std::string chain = dir.file("by-id-usb-gateway");
    ASSERT_TRUE(makeLink(pty.device, link));
    ASSERT_TRUE(makeLink(link, chain));
    const std::string number = pty.device.substr(pty.device.rfind('/') + 1);
    std::vector<std::string> aliases = {pty.device, link, chain, "/dev/../dev/pts/" + number};
    // A second device node of the same device (needs the right to create device nodes). It
    // only counts as busy: a pseudo-terminal opens only through its own file system.
    std::vector<std::string> contenders = aliases;
    struct stat st {};
    ASSERT_EQ(::stat(pty.device.c_str(), &st), 0);
    const std::string node = dir.file("node");
    if (::mknod(node.c_str(), S_IFCHR | 0600, st.st_rdev) == 0) {
        contenders.push_back(node);
    }

    for (const std::string& held : {pty.device, link}) {
        auto holder = platform::createSerialPort();
        Message reason;
        ASSERT_TRUE(holder->open(held, SerialSettings{}, reason)) << held << ": " << reason;
        for (int round = 0; round < 2; ++round) {
            for (const std::string& name : contenders) {
                auto contender = platform::createSerialPort();
                EXPECT_FALSE(contender->open(name, SerialSettings{}, reason))
                    << name << " opened while " << held << " is held (round " << round << ")";
                EXPECT_EQ(reason, str::OpenBusy.source) << name;
                EXPECT_FALSE(contender->isOpen());
            }
        }
        const std::uint8_t frame[] = {0xFE, 0x00, 0xFE};
        EXPECT_EQ(holder->write(frame, sizeof frame), 3) << "the holder still owns the line";
        std::uint8_t got[8] = {};
        EXPECT_EQ(::read(pty.master, got, sizeof got), 3);
        holder->close();
        for (const std::string& name : aliases) {
            auto next = platform::createSerialPort();
            EXPECT_TRUE(next->open(name, SerialSettings{}, reason)) << name << ": " << reason;
        }
    }
}

// Only a terminal device is a port: anything else is refused at once, with a reason that says
// so (a FIFO without a writer must not hang the open), and a missing path says it is missing.
TEST(QtSerialPort, WhatIsNoTerminalIsRefusedWithItsReason) {
    Pty pty;
    ASSERT_FALSE(pty.device.empty());
    ScratchDir dir;
    ASSERT_FALSE(dir.path.empty());
    std::ofstream(dir.file("plain.chg")) << "not a port";
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_TRUE(makeLink(dir.file("loop-b"), dir.file("loop-a")));
    ASSERT_TRUE(makeLink(dir.file("loop-a"), dir.file("loop-b")));

    const struct {
        std::string path;
        const char* reason; // null: opens
    } cases[] = {
        {pty.device, nullptr},
        {dir.file("plain.chg"), str::OpenNotTerminal.source},
        {dir.file("fifo"), str::OpenNotTerminal.source},
        {dir.file("missing"), str::OpenNotFound.source},
        {dir.file("loop-a"), str::OpenLinkLoop.source},
    };
    for (const auto& c : cases) {
        auto port = platform::createSerialPort();
        Message reason;
        const bool opened = port->open(c.path, SerialSettings{}, reason);
        if (c.reason == nullptr) {
            EXPECT_TRUE(opened) << c.path << ": " << reason;
        } else {
            EXPECT_FALSE(opened) << c.path;
            EXPECT_EQ(reason, c.reason) << c.path;
            EXPECT_FALSE(port->isOpen()) << c.path;
            EXPECT_EQ(port->write(reinterpret_cast<const std::uint8_t*>("x"), 1), -1);
            EXPECT_EQ(port->bytesWaiting(), 0u);
        }
    }
}

TEST(SerialPortList, ExtraPortsFollowTheSystemPorts) {
    ::setenv("TORVANE_EXTRA_PORTS", "/tmp/gw-b::/tmp/gw-a:/tmp/gw-b", 1);
    const std::vector<std::string> withExtra = platform::serialPortList();
    ::unsetenv("TORVANE_EXTRA_PORTS");
    const std::vector<std::string> system = platform::serialPortList();
    ASSERT_EQ(withExtra.size(), system.size() + 2);
    EXPECT_TRUE(std::equal(system.begin(), system.end(), withExtra.begin()));
    EXPECT_EQ(withExtra[system.size()], "/tmp/gw-b");
    EXPECT_EQ(withExtra[system.size() + 1], "/tmp/gw-a");
    EXPECT_EQ(platform::serialPortList(), system) << "stable order";
}

} // namespace
} // namespace torvane::test
