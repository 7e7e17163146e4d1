#include "../../support/fake_line.h"
#include "devices/device_reader.h"
#include "model/record_view.h"
#include "model/strings.h"
#include "monitor/command_monitor.h"
#include "monitor/monitor_recording.h"
#include "monitor/monitor_session.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace torvane {
namespace {

struct Cmd {
    const char* type;
    const char* address;
    const char* bytes;
    const char* cobId = "385";
};

GatewayConfiguration master(std::initializer_list<Cmd> cmds) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    appendNode(cfg.Config, {"5", "Drive"});
    for (const Cmd& c : cmds) {
        INSTRUCTION i{};
        i.NodeAddress = "5";
        i.NodeIndex = 1;
        i.InstructionType = c.type;
        i.MappingAddress = c.address;
        i.Bytes = c.bytes;
        i.CobId = c.cobId;
        i.Index = "24641";
        i.SubIndex = "0";
        appendCommand(cfg.Config, i);
    }
    return cfg;
}

MonitorFrame input(std::vector<std::uint8_t> bytes) {
    return {false, std::move(bytes)};
}

// Every byte count, signed and unsigned, little-endian; a command past the frame has no value.
TEST(CommandMonitor, DecodesEveryByteCountByTheConfiguration) {
    const struct {
        const char* address;
        const char* bytes;
        const char* raw; // empty: beyond the frame
        const char* unsignedValue;
        const char* signedValue;
    } cases[] = {
        {"0", "1", "FF", "255", "-1"},
        {"1", "2", "FE FF", "65534", "-2"},
        {"3", "3", "01 02 83", "8585729", "-8191487"},
        {"6", "4", "78 56 34 12", "305419896", "305419896"},
        {"10", "5", "00 00 00 00 80", "549755813888", "-549755813888"},
        {"2", "6", "FF 01 02 83 78 56", "95075594011135", "95075594011135"},
        {"6", "7", "78 56 34 12 00 00 00", "305419896", "305419896"},
        {"15", "8", "FF FF FF FF FF FF FF FF", "18446744073709551615", "-1"},
        {"0", "9", "FF FE FF 01 02 83 78 56 34", "", ""},
        {"23", "2", "", "", ""},
        {"2147483647", "8", "", "", ""},
    };
    std::vector<std::uint8_t> f = {0xFF, 0xFE, 0xFF, 1, 2, 0x83, 0x78, 0x56,
                                   0x34, 0x12, 0,    0, 0, 0,    0x80};
    f.resize(23, 0xFF);
    f.push_back(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.address) + "/" + c.bytes);
        CommandMonitor m;
        m.setConfiguration(master({{"3", c.address, c.bytes}}), {}, {});
        ASSERT_EQ(m.rows().size(), 1U);
        const auto changed = m.onFrame(input(f), {2024, 5, 1, 14, 3, 7, 250}, 1000);
        const CommandRow& row = m.rows()[0];
        EXPECT_EQ(row.rawText, c.raw);
        EXPECT_EQ(row.received, *c.raw != '\0');
        EXPECT_EQ(row.beyond, *c.raw == '\0');
        EXPECT_EQ(row.unsignedText, c.unsignedValue);
        EXPECT_EQ(row.signedText, c.signedValue);
        EXPECT_EQ(changed.size(), *c.raw != '\0' ? 1U : 0U);
        // The same bytes again are no change.
        EXPECT_TRUE(m.onFrame(input(f), {}, 1500).empty());
    }
}

// Rows in buffer and address order with the PLC address; a PDO of a known device splits into
// its objects; a changed configuration is decoded again from the last frames.
TEST(CommandMonitor, RowsObjectsAndAChangedConfiguration) {
    const std::string eds =
        "[DeviceInfo]\nVendorNumber=1\nProductName=Drive\n"
        "[1800]\nParameterName=comm\nObjectType=0x9\n"
        "[1800sub1]\nParameterName=COB-ID\nDataType=0x0007\nAccessType=rw\n"
        "DefaultValue=$NODEID+0x180\n"
        "[1A00]\nParameterName=mapping\nObjectType=0x9\n"
        "[1A00sub0]\nParameterName=count\nDataType=5\nAccessType=rw\nDefaultValue=2\n"
        "[1A00sub1]\nParameterName=e\nDataType=7\nAccessType=rw\nDefaultValue=0x60410010\n"
        "[1A00sub2]\nParameterName=e\nDataType=7\nAccessType=rw\nDefaultValue=0x60640020\n"
        "[6041]\nParameterName=Statusword\nDataType=0x0006\nAccessType=ro\nPDOMapping=1\n"
        "[6064]\nParameterName=Position actual value\nDataType=0x0004\nAccessType=ro\n"
        "PDOMapping=1\n";
    std::vector<LibraryDevice> devices(1);
    ASSERT_EQ(readDevice(eds, "drive.eds", devices[0].device).result, DeviceReadResult::Ok);
    devices[0].key = "drive";

    GatewayConfiguration cfg = master({{"4", "0", "2", "517"},
                                       {"3", "4", "6", "389"},
                                       {"1", "0", "2"},
                                       {"2", "10", "0"},
                                       {"3", "", "2"}});
    CommandMonitor m;
    m.setConfiguration(cfg, devices, {100, 200});
    ASSERT_EQ(m.rows().size(), 3U);
    EXPECT_EQ(m.rows()[0].header, "Node 5 Upload SDO 24641:0 (0x6041:0x00) 0..1");
    EXPECT_EQ(m.rows()[0].plcAddress, "100..101");
    EXPECT_TRUE(m.rows()[2].output);
    EXPECT_EQ(m.rows()[2].plcAddress, "200..201");

    m.onFrame(input({0x37, 0x02, 0, 0, 0x37, 0x06, 0xFE, 0xFF, 0xFF, 0xFF}), {}, 0);
    const CommandRow& pdo = m.rows()[1];
    ASSERT_EQ(pdo.objects.size(), 2U);
    EXPECT_EQ(pdo.objects[0].value, "1591");
    EXPECT_EQ(pdo.objects[1].value, "-2");
    EXPECT_EQ(m.rows()[2].rawText, ""); // no output frame yet

    // The SDO moves behind the PDO: the rows follow, decoded from the frame already seen.
    storedCommand(cfg.Config, RecordView(cfg.Config).commands()[2]).MappingAddress = "10";
    m.setConfiguration(cfg, {}, {});
    ASSERT_EQ(m.rows().size(), 3U);
    EXPECT_EQ(m.rows()[0].kind, CommandKind::TransmitPdo);
    EXPECT_TRUE(m.rows()[0].objects.empty());
    EXPECT_EQ(m.rows()[1].rawText, "");
    EXPECT_TRUE(m.rows()[1].beyond);
    EXPECT_EQ(m.rows()[0].rawText, "37 06 FE FF FF FF");
}

TEST(CommandMonitor, TransmitByCommandAndItsRefusals) {
    const GatewayConfiguration cfg = master({{"3", "0", "2"}, {"4", "4", "2"}, {"4", "14", "4"}});
    const struct {
        MonitorMode mode;
        int length;
        std::size_t row;
        const char* value;
        Message refusal;
        std::size_t start;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {MonitorMode::Addressed, 16, 1, "15", {}, 4, {0x0F, 0x00}},
        {MonitorMode::Addressed, 16, 1, "0x1234", {}, 4, {0x34, 0x12}},
        {MonitorMode::Addressed, 16, 1, "-32768", {}, 4, {0x00, 0x80}},
        {MonitorMode::Addressed, 16, 1, "65536", str::MonitorValueInvalid, 0, {}},
        {MonitorMode::Addressed, 16, 1, "-32769", str::MonitorValueInvalid, 0, {}},
        {MonitorMode::Addressed, 16, 1, "1 2", str::MonitorValueInvalid, 0, {}},
        {MonitorMode::Addressed, 16, 0, "1", str::MonitorNotAnOutput, 0, {}},
        {MonitorMode::Addressed, 16, 2, "1", str::ResultMappingOverflow, 0, {}},
        {MonitorMode::FixedImage, 8, 1, "0x0F", {}, 0, {0, 0, 0, 0, 0x0F, 0, 0, 0}},
        {MonitorMode::FixedImage, 0, 1, "1", str::MonitorNoOutputImage, 0, {}},
        {MonitorMode::Split, 0, 1, "1", str::MonitorSplitTakesNoOutput, 0, {}},
        {MonitorMode::Undecided, -1, 1, "1", str::MonitorWaitingForFrame, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        CommandMonitor m;
        m.setConfiguration(cfg, {}, {});
        const CommandTransmit t = m.transmit(c.row, c.value, c.mode, c.length);
        EXPECT_EQ(t.refusal.english(), c.refusal.english());
        EXPECT_EQ(t.start, c.start);
        EXPECT_EQ(t.bytes, c.bytes);
    }
    // The fixed image keeps what went out, from whoever sent it.
    CommandMonitor m;
    m.setConfiguration(cfg, {}, {});
    m.noteSent({0, {1, 2, 3, 4, 5, 6, 7, 8}}, MonitorMode::FixedImage);
    EXPECT_EQ(m.transmit(1, "0", MonitorMode::FixedImage, 8).bytes,
              (std::vector<std::uint8_t>{1, 2, 3, 4, 0, 0, 7, 8}));
    EXPECT_EQ(commandTransmitBlock(MonitorMode::Addressed, 16, false).english(),
              Message(str::MonitorConfigurationDiffers).english());
}

// The bytes left set go back to 00 one run per answer (addressed) or as one image.
TEST(OutputsThatStay, ListAndResetFrames) {
    OutputsThatStay stay;
    stay.noteSent({4, {0x0F, 0x00}});
    stay.noteSent({10, {1, 2, 3}});
    stay.noteSent({11, {0}});
    EXPECT_EQ(stay.text(), "4, 10, 12");
    const auto addressed = stay.resetOutputs(MonitorMode::Addressed, 16);
    ASSERT_EQ(addressed.size(), 3U);
    EXPECT_EQ(addressed[1].start, 10U);
    EXPECT_EQ(addressed[1].bytes.size(), 1U);
    const auto fixed = stay.resetOutputs(MonitorMode::FixedImage, 16);
    ASSERT_EQ(fixed.size(), 1U);
    EXPECT_EQ(fixed[0].bytes, std::vector<std::uint8_t>(16, 0));

    // Through the session: one queued output per answer, in the addressed frame layout.
    test::FakeLine line;
    test::FakePort port(line);
    MonitorSession session(port, line.clock);
    Message reason;
    ASSERT_TRUE(session.open("x", reason));
    for (const SentOutput& o : addressed) {
        session.queueOutput(o.start, o.bytes);
    }
    std::vector<Frame> answers;
    for (int i = 0; i < 4; ++i) {
        Frame f{0, 0x11, 0};
        f.resize(20, 0);
        f[19] = FrameChecksum(std::span(f.data(), 19));
        line.reply(f);
        const MonitorTick t = session.tick({}, "");
        if (t.sent) {
            stay.noteSent(*t.sent);
        }
        answers.push_back(t.answer);
    }
    EXPECT_EQ(answers[0], test::sealed({0, 3, 4, 1, 0}));
    EXPECT_EQ(answers[2], test::sealed({0, 3, 12, 1, 0}));
    EXPECT_EQ(answers[3], test::sealed({0, 0}));
    EXPECT_FALSE(stay.any());
    EXPECT_EQ(session.outputsWaiting(), 0U);
}

TEST(MonitorRecording, WritesAFlushedCsvWithRawFrames) {
    const std::string path = ::testing::TempDir() + "/monitor, record.csv";
    CommandMonitor m;
    GatewayConfiguration cfg = master({{"3", "0", "2"}, {"4", "0", "1"}});
    m.setConfiguration(cfg, {}, {});
    MonitorRecording r;
    Message error;
    ASSERT_TRUE(r.open(path, m.rows(), true, error)) << error.english();
    const MonitorFrame in = input({0x34, 0x12});
    m.onFrame(in, {}, 0);
    r.addLine({2024, 5, 1, 14, 3, 7, 5}, m.rows(), in, 0);
    const MonitorFrame out{true, {0x7F}};
    m.onFrame(out, {}, 10);
    r.addLine({2024, 5, 1, 14, 3, 7, 15}, m.rows(), out, 10);
    auto content = [&] {
        std::ifstream f(path, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    };
    const std::string header = "Time,Node 5 Transmit PDO 385 (0x181) 0..1,"
                               "Node 5 Receive PDO 385 (0x181) 0,Input frame,Output frame\r\n";
    // The first line goes out at once, the second within the second.
    EXPECT_EQ(content(), header + "2024-05-01T14:03:07.005,4660,,34 12,\r\n");
    ASSERT_TRUE(r.close(error));
    EXPECT_EQ(content(), header + "2024-05-01T14:03:07.005,4660,,34 12,\r\n" +
                             "2024-05-01T14:03:07.015,4660,127,,7F\r\n");
    EXPECT_FALSE(r.open(::testing::TempDir() + "/missing/x.csv", m.rows(), false, error));
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    std::filesystem::remove(path);
}

} // namespace
} // namespace torvane
