#include "../../support/english.h"
#include "../../support/fake_line.h"
#include "comm/serial_link.h"
#include "model/strings.h"
#include "monitor/monitor_engine.h"
#include "monitor/monitor_session.h"

#include <gtest/gtest.h>
#include <numeric>

namespace torvane {
namespace {

Frame frame(std::uint8_t code, const Frame& body) {
    Frame f{code, static_cast<std::uint8_t>(body.size())};
    f.insert(f.end(), body.begin(), body.end());
    f.push_back(FrameChecksum(f));
    return f;
}

Frame counting(std::size_t n, std::uint8_t first = 0) {
    Frame b(n);
    std::iota(b.begin(), b.end(), first);
    return b;
}

Frame withStatus(std::uint8_t status, const Frame& data) {
    Frame b{status};
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

const TimeOfDay kMorning{9, 3, 4};

TEST(MonitorMode, IsDecidedByTheFirstFrameOnlyAndSilenceAnswersNothing) {
    Frame badChecksum = frame(0, counting(16));
    badChecksum.back() ^= 0xFF;
    Frame badSplit = frame(5, counting(48));
    badSplit.back() ^= 0xFF;
    const struct {
        Frame first;
        MonitorMode mode;
    } cases[] = {
        {frame(0, counting(17)), MonitorMode::Addressed},
        {frame(1, counting(0x31)), MonitorMode::Addressed},
        {frame(3, counting(0x71)), MonitorMode::Addressed},
        {frame(4, counting(5)), MonitorMode::Addressed},
        {frame(0, counting(16)), MonitorMode::FixedImage},
        {frame(1, counting(0x11)), MonitorMode::FixedImage},
        {frame(9, counting(3)), MonitorMode::FixedImage},
        {frame(5, counting(48)), MonitorMode::Split},
        {badSplit, MonitorMode::Split},
        {badChecksum, MonitorMode::Silent},
    };
    for (const auto& c : cases) {
        MonitorEngine e;
        e.onReceived(c.first, kMorning, "");
        EXPECT_EQ(e.mode(), c.mode) << FormatHex(c.first);
        e.onReceived(frame(5, counting(48)), kMorning, "");
        EXPECT_EQ(e.mode(), c.mode) << "a later split frame must not change the mode";
        const MonitorTick later = e.onReceived(frame(0, counting(16)), kMorning, "");
        EXPECT_EQ(e.mode(), c.mode) << "a later frame must not change the mode";
        if (c.mode == MonitorMode::Silent) {
            EXPECT_TRUE(later.rows.empty() && later.answer.empty()) << "silent monitor answered";
        }
    }
}

TEST(MonitorAddressed, RowsComeFromTheStatusByteAndEveryValidFrameIsAnswered) {
    MonitorEngine e;
    MonitorTick t = e.onReceived(frame(0, withStatus(0, counting(16))), kMorning, "");
    ASSERT_EQ(t.rows.size(), 1U);
    EXPECT_EQ(t.rows[0], (MonitorRow{str::MonitorInputData, "09:03:04", FormatHex(counting(16))}));
    EXPECT_EQ(t.answer, (Frame{0x00, 0x00, 0x00}));

    t = e.onReceived(frame(2, withStatus(1, counting(4, 0xA0))), kMorning, "");
    ASSERT_EQ(t.rows.size(), 1U);
    EXPECT_EQ(t.rows[0].Status, "Output data");
    EXPECT_EQ(t.rows[0].Data, "A0 A1 A2 A3 ");
    EXPECT_EQ(t.answer, (Frame{0x02, 0x00, 0x02}));

    t = e.onReceived(frame(1, withStatus(7, counting(3))), kMorning, "");
    EXPECT_TRUE(t.rows.empty());
    EXPECT_EQ(t.answer, (Frame{0x01, 0x00, 0x01}));

    Frame corrupt = frame(1, withStatus(0, counting(3)));
    corrupt.back() ^= 1;
    t = e.onReceived(corrupt, kMorning, "");
    EXPECT_TRUE(t.rows.empty());
    EXPECT_TRUE(t.answer.empty());
}

TEST(MonitorAddressed, TransmitGoesOutWithTheNextAnswerOnce) {
    MonitorEngine e;
    e.onReceived(frame(0, withStatus(0, counting(16))), kMorning, "");
    ASSERT_EQ(e.transmit("4", "0A FF"), "");
    MonitorTick t = e.onReceived(frame(0, withStatus(0, counting(16))), kMorning, "4");
    const Frame expected{0x00, 0x04, 0x04, 0x02, 0x0A, 0xFF};
    Frame withSum = expected;
    withSum.push_back(FrameChecksum(expected));
    EXPECT_EQ(t.answer, withSum);
    EXPECT_FALSE(e.outputPending());
    t = e.onReceived(frame(0, withStatus(0, counting(16))), kMorning, "4");
    EXPECT_EQ(t.answer, (Frame{0x00, 0x00, 0x00}));
}

TEST(MonitorTransmit, AcceptsOnlyStrictUpperCaseHexGroups) {
    const struct {
        const char* start;
        const char* data;
        const char* message;
    } cases[] = {
        {"", "01", "memory address is empty"},
        {"0", "", "the data to be send is empty"},
        {"0", "01 02 ", "Malformed"},
        {"0", "0a", "Malformed"},
        {"0", "012", "Malformed"},
        {"0", "0A FF", ""},
    };
    for (const auto& c : cases) {
        MonitorEngine e;
        EXPECT_EQ(e.transmit(c.start, c.data), c.message) << '"' << c.data << '"';
        EXPECT_EQ(e.outputPending(), *c.message == '\0');
    }
}

std::string hexText(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += i == 0 ? "AB" : " AB";
    }
    return s;
}

TEST(MonitorTransmit, DataBeyondTheBuffersIsRefusedNeverSent) {
    MonitorEngine e;
    EXPECT_EQ(e.transmit("0", hexText(1025)), std::string(str::MonitorDataTooLong.source));
    EXPECT_FALSE(e.outputPending());

    // Undecided mode accepts 254 bytes; the addressed answer then refuses them.
    ASSERT_EQ(e.transmit("0", hexText(254)), "");
    MonitorTick t = e.onReceived(frame(0, withStatus(0, counting(16))), kMorning, "0");
    EXPECT_EQ(english(t.messages), std::vector<std::string>{str::MonitorAddressedTooLong.source});
    EXPECT_EQ(t.answer, (Frame{0x00, 0x00, 0x00}));
    EXPECT_EQ(e.transmit("0", hexText(254)), std::string(str::MonitorAddressedTooLong.source));
    ASSERT_EQ(e.transmit("0", hexText(253)), "");
    // Code 4 has no fixed size: its buffer is what the frame carries after the status byte.
    t = e.onReceived(frame(4, withStatus(0, counting(254))), kMorning, "0");
    ASSERT_EQ(t.answer.size(), 253U + 5);
    EXPECT_EQ(t.answer[1], 255);
}

TEST(MonitorFixedImage, ShowsTheWholeImageAndAnswersEmpty) {
    MonitorEngine e;
    MonitorTick t = e.onReceived(frame(0, counting(16)), kMorning, "");
    ASSERT_EQ(t.rows.size(), 1U);
    EXPECT_EQ(t.rows[0].Data, FormatHex(counting(16)));
    EXPECT_EQ(t.answer, (Frame{0x00, 0x00, 0x00}));
}

// "Transmit" takes only a canonical decimal start; a refused one leaves nothing pending.
TEST(MonitorTransmit, StartMustBeACanonicalDecimalNumber) {
    for (const char* start : {"xyz", "3x", "-1", " 4", "+4", "04", "4 ", "0x4"}) {
        MonitorEngine e;
        EXPECT_EQ(e.transmit(start, "01"), std::string(str::MonitorStartNotDecimal.source))
            << start;
        EXPECT_FALSE(e.outputPending()) << start;
    }
    for (const char* start : {"0", "4", "15", "250"}) {
        MonitorEngine e;
        EXPECT_EQ(e.transmit(start, "01"), "") << start;
    }
}

// The answer to a 16-byte buffer (code 0) for output typed at `start`: what is sent and the
// message. The start box is read when the answer goes out, so it may have been changed.
TEST(MonitorAnswer, StartAndLengthMustFitTheBufferOfTheFrame) {
    const std::string overflow = str::ResultMappingOverflow.source;
    const std::string notDecimal = str::MonitorStartNotDecimal.source;
    auto fixedImage = [](std::size_t start, const Frame& data) {
        Frame a{0x00, 16};
        a.resize(2 + 16, 0);
        std::copy_n(data.begin(), std::min(data.size(), 16 - start), a.begin() + 2 + start);
        a.push_back(FrameChecksum(a));
        return a;
    };
    auto addressed = [](std::uint8_t start, const Frame& data) {
        Frame a{0x00, static_cast<std::uint8_t>(data.size() + 2), start,
                static_cast<std::uint8_t>(data.size())};
        a.insert(a.end(), data.begin(), data.end());
        a.push_back(FrameChecksum(a));
        return a;
    };
    const Frame two{0x0A, 0xFF};
    const struct {
        bool isAddressed;
        const char* start; // at answer time
        const char* data;
        Frame answer; // empty: nothing sent
        std::string message;
    } cases[] = {
        {true, "14", "0A FF", addressed(14, two), ""},
        {true, "15", "0A FF", {}, overflow},
        {true, "16", "0A", {}, overflow},
        {true, "04", "0A", {}, notDecimal},
        {false, "15", "0A FF", fixedImage(15, two), ""},
        {false, "16", "0A", {}, overflow},
        {false, "256", "0A", {}, overflow},
        {false, "x", "0A", {}, notDecimal},
    };
    for (const auto& c : cases) {
        MonitorEngine e;
        const Frame incoming =
            c.isAddressed ? frame(0, withStatus(0, counting(16))) : frame(0, counting(16));
        e.onReceived(incoming, kMorning, "");
        ASSERT_EQ(e.transmit("0", c.data), "");
        const MonitorTick t = e.onReceived(incoming, kMorning, c.start);
        const std::string what = std::string(c.isAddressed ? "addressed " : "fixed ") + c.start;
        EXPECT_EQ(t.answer, c.answer) << what;
        EXPECT_EQ(english(t.messages),
                  c.message.empty() ? std::vector<std::string>{} : std::vector{c.message})
            << what;
        EXPECT_FALSE(e.outputPending()) << what;
    }
}

TEST(MonitorSplit, AssemblesTwoPartsIntoOneRow) {
    auto part = [](std::uint8_t code, std::uint8_t number, std::uint8_t first) {
        return frame(code, withStatus(number, counting(56, first)));
    };
    MonitorEngine e;
    EXPECT_TRUE(e.onReceived(part(5, 0, 0), kMorning, "").rows.empty());
    EXPECT_TRUE(e.onReceived(part(6, 1, 100), kMorning, "").rows.empty());
    MonitorTick t = e.onReceived(part(5, 1, 56), kMorning, "");
    ASSERT_EQ(t.rows.size(), 1U);
    EXPECT_EQ(t.rows[0], (MonitorRow{str::MonitorInputData, "09:03:04", FormatHex(counting(112))}));
    EXPECT_TRUE(t.answer.empty());
    // The output side has seen part 1 only: a part 0 restarts it, so one more part 1 is needed.
    EXPECT_TRUE(e.onReceived(part(6, 0, 0), kMorning, "").rows.empty());
    t = e.onReceived(part(6, 1, 56), kMorning, "");
    ASSERT_EQ(t.rows.size(), 1U);
    EXPECT_EQ(t.rows[0].Status, "Output data");

    t = e.onReceived(frame(6, counting(48)), kMorning, "");
    ASSERT_EQ(t.rows.size(), 1U);
    EXPECT_EQ(t.rows[0].Data, FormatHex(counting(48)));
    EXPECT_TRUE(e.onReceived(frame(5, counting(20)), kMorning, "").rows.empty());
}

TEST(MonitorDisplay, StoppedDisplayStillAnswersAndSendsPendingOutput) {
    MonitorEngine e;
    e.onReceived(frame(0, withStatus(0, counting(16))), kMorning, "");
    e.setDisplaying(false);
    ASSERT_EQ(e.transmit("0", "FF"), "");
    MonitorTick t = e.onReceived(frame(0, withStatus(0, counting(16))), kMorning, "0");
    EXPECT_TRUE(t.rows.empty());
    EXPECT_EQ(t.answer.size(), 6U);
    EXPECT_FALSE(e.outputPending());
}

TEST(MonitorRobustness, GarbageNeverReadsOutsideTheFrame) {
    MonitorEngine e;
    // A length byte promising more than arrived: the checksum is read from the zeroed rest.
    const Frame shortFrame{0x09, 0xFF, 0x01};
    e.onReceived(shortFrame, kMorning, "");
    Frame huge(2000, 0xEE);
    e.onReceived(huge, kMorning, "");
    SUCCEED();
}

TEST(MonitorLog, WritesAHeaderAndOneLinePerRow) {
    const std::vector<MonitorRow> rows{{str::MonitorInputData, "01:02:03", "0A "},
                                       {str::MonitorOutputData, "23:59:59", "FF 00 "}};
    EXPECT_EQ(monitorLogText(rows), "Status\t\tTime\tData\n"
                                    "Input data\t01:02:03\t0A \n"
                                    "Output data\t23:59:59\tFF 00 \n");
}

// The session opens the line at 57600 baud, odd parity (the fake line refuses anything else).
TEST(MonitorSession, ReadsATickAndWritesTheAnswer) {
    test::FakeLine line;
    test::FakePort port(line);
    MonitorSession session(port, line.clock);
    Message reason;
    ASSERT_TRUE(session.open("ttyS0", reason)) << reason;
    EXPECT_TRUE(session.tick(kMorning, "").rows.empty());
    EXPECT_TRUE(line.written.empty());

    line.reply(frame(0, withStatus(0, counting(16))), 0);
    const MonitorTick t = session.tick(kMorning, "");
    ASSERT_EQ(t.rows.size(), 1U);
    ASSERT_EQ(line.written.size(), 1U);
    EXPECT_EQ(line.written[0], (Frame{0x00, 0x00, 0x00}));
}

} // namespace
} // namespace torvane
