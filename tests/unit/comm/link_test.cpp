#include "../../support/fake_line.h"
#include "comm/serial_link.h"

#include <gtest/gtest.h>

namespace torvane::test {
namespace {

TEST(FrameHelpers, ChecksumHexAndWindowsDeviceNames) {
    EXPECT_EQ(FrameChecksum(Frame{0xFE, 0x00, 0xFE}), 0xFC);
    EXPECT_EQ(FrameChecksum(Frame{0x02, 0x02, 0x01, 0x01}), 0x06);
    EXPECT_EQ(FrameChecksum(Frame{}), 0);
    EXPECT_EQ(FormatHex(Frame{0x0A, 0xFF}), "0A FF ");
    const std::pair<const char*, const char*> names[] = {
        {"COM9", "COM9"},  {"COM10", "\\\\.\\COM10"}, {"COMx", "COM0"},
        {"COM07", "COM7"}, {"COM3abc", "COM3"},
    };
    for (const auto& [name, device] : names) {
        EXPECT_EQ(windowsDeviceName(name), device) << name;
    }
}

struct LinkCase {
    const char* name;
    std::vector<std::pair<int, Frame>> arrivals; // ms after the read starts, bytes
    LinkResult replyCode;                        // ReadReply
    Frame replyStored;                           // what ReadReply kept
    Frame available;                             // what ReadAvailable collects
    std::size_t leftAfterAvailable;
};

TEST(SerialLink, ReadPassesJoinBurstsAndKeepLateBytes) {
    constexpr LinkResult Ok = LinkResult::Ok;
    const LinkCase cases[] = {
        {"nothing", {}, LinkResult::IoFailed, {}, {}, 0},
        {"one burst", {{10, {1, 2, 3}}}, Ok, {1, 2, 3}, {1, 2, 3}, 0},
        {"joined", {{10, {1, 2}}, {80, {3}}, {130, {4}}}, Ok, {1, 2, 3, 4}, {1, 2, 3, 4}, 0},
        {"late bytes stay", {{10, {1}}, {400, {9}}}, Ok, {1}, {1}, 1},
        {"too long", {{10, {1, 2, 3, 4, 5, 6, 7}}}, Ok, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}, 2},
        {"2nd overflows", {{10, {1, 2, 3}}, {60, {4, 5, 6}}}, Ok, {1, 2, 3, 4, 5}, {1, 2, 3}, 3},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool available : {false, true}) {
            FakeLine line;
            FakePort port(line);
            for (const auto& [at, bytes] : c.arrivals) {
                line.reply(bytes, at);
            }
            Frame buffer(5, 0); // room for five bytes
            if (available) {
                std::size_t count = 99;
                ReadAvailable(port, line.clock, buffer.data(), buffer.size(), count);
                EXPECT_EQ(Frame(buffer.begin(), buffer.begin() + static_cast<long>(count)),
                          c.available);
                EXPECT_EQ(line.incoming.size(), c.leftAfterAvailable);
            } else {
                EXPECT_EQ(ReadReply(port, line.clock, buffer.data(), buffer.size()), c.replyCode);
                EXPECT_EQ(
                    Frame(buffer.begin(), buffer.begin() + static_cast<long>(c.replyStored.size())),
                    c.replyStored);
            }
        }
    }
}

TEST(SerialLink, ExchangeCodesAndWaits) {
    const Frame frame = {0x02, 0x01, 0xAA, 0xAD};
    const Frame ack = {0x02, 0x02, 0x01, 0x01, 0x06};
    struct Case {
        const char* name;
        Frame reply;
        bool writeFails;
        int delay; // 0: Exchange
        LinkResult code;
        std::int64_t elapsed;
    };
    const Case cases[] = {
        {"acknowledged", ack, false, 0, LinkResult::Ok, 250},
        {"longer reply", {2, 2, 1, 1, 6, 7, 7}, false, 0, LinkResult::Ok, 250},
        {"different reply", {2, 2, 1, 1, 7}, false, 0, LinkResult::Mismatch, 250},
        {"short reply", {2, 2}, false, 0, LinkResult::Mismatch, 250},
        {"no reply", {}, false, 0, LinkResult::IoFailed, 200},
        {"write fails", ack, true, 0, LinkResult::IoFailed, 50},
        {"with delay", ack, false, 500, LinkResult::Ok, 1150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLine line;
        FakePort port(line);
        line.failWriteAt = c.writeFails ? 0 : -1;
        line.gateway = [&](FakeLine& l, const Frame&, std::size_t) { l.reply(c.reply); };
        Frame reply;
        const LinkResult code =
            c.delay == 0 ? Exchange(port, line.clock, frame, reply, ack)
                         : ExchangeWithDelay(port, line.clock, frame, reply, ack, c.delay);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(line.clock.now, c.elapsed);
        EXPECT_EQ(line.written, std::vector<Frame>{frame});
    }
}

TEST(SerialLink, OpenFailureIsCodeFour) {
    FakeLine line;
    FakePort port(line);
    Message reason;
    line.openFails = true;
    EXPECT_EQ(OpenSerialPort(port, "/dev/x", 57600, 1, reason), LinkResult::OpenFailed);
    line.openFails = false;
    EXPECT_EQ(OpenSerialPort(port, "/dev/x", 57600, 1, reason), LinkResult::Ok);
}

} // namespace
} // namespace torvane::test
