#include "comm/transfer_job.h"
#include "model/strings.h"
#include "platform/serial_ports.h"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
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

TEST(QtSerialPort, TalksWithoutEventLoopAndOpensExclusively) {
    Pty pty;
    ASSERT_FALSE(pty.device.empty());
    auto port = platform::createSerialPort();
    std::string reason;
    ASSERT_TRUE(port->open(pty.device, SerialSettings{}, reason)) << reason;

    const std::uint8_t frame[] = {0xFE, 0x00, 0xFE};
    EXPECT_EQ(port->write(frame, sizeof frame), 3);
    std::uint8_t got[8] = {};
    EXPECT_EQ(::read(pty.master, got, sizeof got), 3);
    EXPECT_EQ(got[2], 0xFE);

    const std::uint8_t reply[] = {0x02, 0x02, 0x01, 0x01, 0x06};
    ASSERT_EQ(::write(pty.master, reply, sizeof reply), 5);
    std::size_t waiting = 0;
    for (int i = 0; i < 100 && waiting < 5; ++i) {
        usleep(2000);
        waiting = port->bytesWaiting();
    }
    ASSERT_EQ(waiting, 5u);
    EXPECT_EQ(port->read(got, 2), 2);
    EXPECT_EQ(port->bytesWaiting(), 3u);

    auto second = platform::createSerialPort();
    EXPECT_FALSE(second->open(pty.device, SerialSettings{}, reason));
    EXPECT_EQ(reason, str::OpenBusy);
    port->close();
    EXPECT_TRUE(second->open(pty.device, SerialSettings{}, reason)) << reason;
}

// A pseudo-terminal has no parity bit: whatever parity the caller asks for, it opens, also
// through a symbolic link (the simulator's --link), and carries bytes.
TEST(QtSerialPort, PseudoTerminalOpensWithAnyParity) {
    Pty pty;
    ASSERT_FALSE(pty.device.empty());
    char dir[] = "/tmp/torvane-ptyXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string link = std::string(dir) + "/gateway";
    ASSERT_EQ(symlink(pty.device.c_str(), link.c_str()), 0);
    for (const std::string& device : {pty.device, link}) {
        for (int parity = 0; parity <= 4; ++parity) {
            SerialSettings settings;
            settings.parity = parity;
            auto port = platform::createSerialPort();
            std::string reason;
            EXPECT_TRUE(port->open(device, settings, reason))
                << device << " parity " << parity << ": " << reason;
            const std::uint8_t frame[] = {0x02, 0x02, 0x01, 0x01, 0x06};
            EXPECT_EQ(port->write(frame, sizeof frame), 5) << device << " parity " << parity;
            std::uint8_t got[8] = {};
            EXPECT_EQ(::read(pty.master, got, sizeof got), 5) << device << " parity " << parity;
        }
    }
    ::unlink(link.c_str());
    ::rmdir(dir);
}

TEST(QtSerialPort, SecondTransferOnTheSamePortGetsResultZero) {
    Pty pty;
    ASSERT_FALSE(pty.device.empty());
    auto holder = platform::createSerialPort();
    std::string reason;
    ASSERT_TRUE(holder->open(pty.device, SerialSettings{}, reason));
    TransferServices services;
    services.openPort = platform::createSerialPort;
    for (const bool upload : {false, true}) {
        TransferRequest request{newConfiguration(kCanopenSlave), false, {pty.device}, 0};
        const TransferOutcome out =
            upload ? runUpload(request, services) : runDownload(request, services);
        EXPECT_EQ(out.resultCode, kResultOpenFailed);
        EXPECT_EQ(out.text, std::string(str::ResultOpenFailed) + "\n" + str::OpenBusy);
    }
}

TEST(QtSerialPort, MissingDeviceSaysWhy) {
    auto port = platform::createSerialPort();
    std::string reason;
    EXPECT_FALSE(port->open("/dev/torvane-no-such-port", SerialSettings{}, reason));
    EXPECT_EQ(reason, str::OpenNotFound);
    EXPECT_FALSE(port->isOpen());
    EXPECT_EQ(port->write(reinterpret_cast<const std::uint8_t*>("x"), 1), -1);
    EXPECT_EQ(port->bytesWaiting(), 0u);
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
