#include "comm/tavo20_down.h"
#include "fake_line.h"
#include "test_configs.h"

#include <gtest/gtest.h>

namespace torvane::test {
namespace {

const Frame kIdentify = {0xFE, 0x00, 0xFE};
const Frame kOldFirmware = {0xFE, 0, 0, 0, 0, 0};

struct Outcome {
    int result = -1;
    int format = -1;
    std::vector<Frame> written;
    GatewayConfiguration cfg;
    RecordingProgress progress;
    int asked = 0;
    std::string message;
};

Outcome download(GatewayConfiguration cfg, ScriptedGateway gateway, bool oldEdition = false,
                 FormatChoice choice = FormatChoice::Cancel, long failWriteAt = -1) {
    Outcome run;
    FakeLine line;
    line.gateway = std::ref(gateway);
    line.failWriteAt = failWriteAt;
    FixedFormat question(choice);
    run.cfg = std::move(cfg);
    std::unique_ptr<CDownConfig> proto;
    if (run.cfg.isMaster()) {
        proto =
            std::make_unique<CTAVO20Down>(std::make_unique<FakePort>(line), line.clock, run.cfg);
    } else {
        proto = std::make_unique<CTAVO20SDown>(std::make_unique<FakePort>(line), line.clock,
                                               run.cfg, recalculateMapping);
    }
    proto->setOldEditionLoaded(oldEdition);
    proto->setFormatQuestion(&question);
    proto->setProgressObserver(&run.progress);
    EXPECT_EQ(proto->Open("/dev/fake", 57600, 1), TransferResult::Success);
    run.result = code(proto->Download());
    run.format = code(proto->downloadFormat());
    run.written = line.written;
    run.asked = question.asked;
    run.message = proto->ResultText(static_cast<TransferResult>(run.result));
    return run;
}

// A data frame written out from the frame table: framing, then records at their slots.
Frame dataFrame(std::size_t size, std::uint8_t number, std::vector<std::pair<int, Frame>> records) {
    Frame f(size - 1, 0);
    f[0] = 0x02;
    f[1] = static_cast<std::uint8_t>(size - 3);
    f[size - 3] = 0x0D;
    f[size - 2] = number;
    const std::size_t recordSize = size == 96 ? 13 : 6;
    for (const auto& [slot, bytes] : records) {
        std::copy(bytes.begin(), bytes.end(), f.begin() + 2 + static_cast<long>(recordSize) * slot);
    }
    return sealed(f);
}

std::vector<Frame> emptyFrames(std::size_t size) {
    std::vector<Frame> frames;
    for (std::uint8_t n = 2; n <= 13; ++n) {
        frames.push_back(dataFrame(size, n, {}));
    }
    return frames;
}

TEST(Tavo20Download, CompatibleFramesByteForByte) {
    ScriptedGateway gw;
    gw.identification = kOldFirmware;
    const Outcome run = download(sampleMaster(), gw);
    ASSERT_EQ(run.result, code(TransferResult::Success));
    std::vector<Frame> expected = {kIdentify,
                                   sealed({0x02, 0x0F, 0x00, 0x7F, 0x02, 0x00, 0x00, 0xC8, 0x00,
                                           0x64, 0x00, 0x01, 0x01, 0x01, 0x01, 0x0D, 0x01})};
    std::vector<Frame> data = emptyFrames(47);
    data[0] = dataFrame(47, 2, {{0, {0x00, 0x60, 0x01, 0x01, 0x02, 0x00}}});
    data[4] = dataFrame(47, 6, {{0, {0x81, 0x01, 0x00, 0x01, 0x04, 0x02}}}); // COB-ID 385
    data[6] = dataFrame(47, 8, {{0, {0x00, 0x62, 0x02, 0x01, 0x01, 0x00}}});
    data[10] = dataFrame(47, 12, {{0, {0x01, 0x02, 0x00, 0x01, 0x02, 0x02}}});
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(run.written, expected);
    EXPECT_EQ(run.cfg.Config.ConfigEdition, 210);
    EXPECT_EQ(run.progress.range, 13);
    EXPECT_EQ(run.progress.steps, 13);
    EXPECT_EQ(run.progress.finished, 1);
}

TEST(Tavo20Download, NewFramesByteForByteWithOptions) {
    GatewayConfiguration cfg = sampleMaster();
    cfg.Config.NMT = "Enable";
    const Outcome run = download(cfg, ScriptedGateway{});
    ASSERT_EQ(run.result, code(TransferResult::Success));
    std::vector<Frame> expected = {
        kIdentify,
        sealed({0x02, 0x23, 0x03, 0x7F, 0x02, 0x00, 0x00, 0x00, 0xC8, 0x00, 0x01, 0x64, 0x00,
                0x00, 0x00, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x01,
                0x00, 0x00, 0,    0,    0,    0,    0,    0,    0,    0x0D, 0x01})};
    std::vector<Frame> data = emptyFrames(96);
    data[0] = dataFrame(96, 2,
                        {{0, {0x02, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x60, 0x01}},
                         {1, {0x04, 0x01, 0x02, 0, 0, 0, 0x81, 0x01, 0x00, 0x00, 0, 0, 0}},
                         {2, {0x01, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x62, 0x02}},
                         {3, {0x02, 0x01, 0x02, 0, 0, 0, 0x01, 0x02, 0x00, 0x00, 0, 0, 0}}});
    expected.insert(expected.end(), data.begin(), data.end());
    expected.push_back(sealed({0x07, 0x0F, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(run.written, expected);
    EXPECT_EQ(run.cfg.Config.ConfigEdition, 320);
    EXPECT_EQ(run.progress.steps, 13);
    EXPECT_EQ(run.progress.finished, 1);
}

TEST(Tavo20Download, NewFormatPacksTpdosBehindUploadSdos) {
    const Outcome run = download(masterWithCounts(3, 5, 0, 0), ScriptedGateway{});
    ASSERT_EQ(run.result, code(TransferResult::Success));
    // TPDO records (COB-ID 0x181..) at slots 3-6 of data frame 1 and slot 0 of data frame 2.
    const std::pair<int, int> tpdoPlaces[] = {{2, 3}, {2, 4}, {2, 5}, {2, 6}, {3, 0}};
    for (int k = 0; k < 5; ++k) {
        const auto [frame, slot] = tpdoPlaces[k];
        EXPECT_EQ(run.written[static_cast<std::size_t>(frame)][2 + 13 * slot + 6], 0x81 + k);
    }
    EXPECT_EQ(run.written[3][2 + 13], 0) << "slot 8 stays empty";
}

TEST(Tavo20Download, SdoOptionsFrameByFirmwareAndRetries) {
    struct Case {
        std::uint8_t major, minor;
        const char* concurrent;
        const char* retries;
        const char* pollDelay;
        Frame options; // empty: not sent
    };
    const Case cases[] = {
        {5, 1, "Enable", "0", "0", {}},
        {4, 9, "Enable", "0", "0", {}},
        {255, 255, "Enable", "0", "0", {}},
        {5, 2, "Enable", "3", "1000", {0x07, 0x0F, 0x01, 0x00, 0x00, 0x00}},
        {7, 3, "Disable", "3", "1000", {0x07, 0x0F, 0x00, 0x04, 0xE8, 0x03}},
        {5, 2, "Disable", "0", "0", {0x07, 0x0F, 0x00, 0x00, 0x00, 0x00}},
        {5, 2, "Disable", "5", "60000", {0x07, 0x0F, 0x00, 0x06, 0x60, 0xEA}},
        {5, 2, "Disable", "9", "0", {0x07, 0x0F, 0x00, 0x09, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        GatewayConfiguration cfg = sampleMaster();
        cfg.Config.SDOConcurrent = c.concurrent;
        cfg.Config.SDORetries = c.retries;
        cfg.Config.SDOPollDelay = c.pollDelay;
        ScriptedGateway gw;
        gw.identification = {0xFE, 1, 0, 0, c.major, c.minor};
        const Outcome run = download(cfg, gw);
        EXPECT_EQ(run.result, code(TransferResult::Success));
        if (c.options.empty()) {
            EXPECT_EQ(run.written.size(), 14u) << int(c.major) << "." << int(c.minor);
        } else {
            ASSERT_EQ(run.written.size(), 15u);
            Frame want = c.options;
            want.resize(17, 0);
            EXPECT_EQ(run.written.back(), sealed(want)) << c.retries;
        }
    }
}

TEST(Tavo20Download, CompatibleLimitsFillAllSlotsAndRefuseOneMore) {
    const Outcome full = download(masterWithCounts(28, 14, 28, 14), [] {
        ScriptedGateway gw;
        gw.identification = kOldFirmware;
        return gw;
    }());
    ASSERT_EQ(full.result, code(TransferResult::Success));
    for (int s = 0; s < 84; ++s) { // every record carries its 1 data byte
        EXPECT_EQ(full.written[2 + static_cast<std::size_t>(s / 7)][2 + 6 * (s % 7) + 4], 1) << s;
    }
    const std::array<int, 4> base = {28, 14, 28, 14};
    for (int kind = 0; kind < 4; ++kind) {
        std::array<int, 4> n = base;
        ++n[static_cast<std::size_t>(kind)];
        ScriptedGateway gw;
        gw.identification = kOldFirmware;
        const Outcome run = download(masterWithCounts(n[0], n[1], n[2], n[3]), gw);
        EXPECT_EQ(run.result, code(TransferResult::TooManyUploadSdo) + kind);
        EXPECT_EQ(run.written, std::vector<Frame>{kIdentify});
        EXPECT_EQ(run.progress.finished, 1);
    }
}

TEST(Tavo20Download, IdentificationChoosesFormat) {
    struct Case {
        const char* name;
        Frame reply;
        bool oldEdition;
        FormatChoice choice;
        int result, format, edition, asked;
    };
    const Case cases[] = {
        {"old firmware, old document", kOldFirmware, true, FormatChoice::New, 18, 0, 210, 0},
        {"one byte reply", {0xFE}, false, FormatChoice::Cancel, 18, 0, 210, 0},
        {"new firmware", {0xFE, 0, 0, 0, 3, 0}, false, FormatChoice::Cancel, 18, 4, 320, 0},
        {"asked: compatible", {0xFE, 1}, true, FormatChoice::Compatible, 18, 0, 210, 1},
        {"asked: new", {0xFE, 1}, true, FormatChoice::New, 18, 4, 320, 1},
        {"asked: cancel", {0xFE, 1}, true, FormatChoice::Cancel, 16, 8, 500, 1},
        {"asked: no choice", {0xFE, 1}, true, FormatChoice::NoChoice, 2, 8, 500, 1},
        {"no reply", {}, false, FormatChoice::Cancel, 2, 8, 500, 0},
    };
    for (const Case& c : cases) {
        ScriptedGateway gw;
        gw.identification = c.reply;
        const Outcome run = download(sampleMaster(), gw, c.oldEdition, c.choice);
        EXPECT_EQ(run.result, c.result) << c.name;
        EXPECT_EQ(run.format, c.format) << c.name;
        EXPECT_EQ(run.cfg.Config.ConfigEdition, c.edition) << c.name;
        EXPECT_EQ(run.asked, c.asked) << c.name;
        if (c.result != 18) {
            EXPECT_EQ(run.written, std::vector<Frame>{kIdentify}) << c.name;
        }
    }
}

TEST(Tavo20Download, EmptyFieldsStopWithTheirMessage) {
    struct Case {
        std::function<void(GatewayConfiguration&)> edit;
        bool newFirmware;
        const char* message; // empty: no complaint
    };
    const Case cases[] = {
        {[](auto& g) { g.Fieldbus.InportNum.clear(); }, true,
         "\"Profibus Network\\Number of Bytes\"is empty"},
        {[](auto& g) { g.Config.BuadRate.clear(); }, false,
         "\"CANopen Network\\CANopen Baud Rate\"is empty"},
        {[](auto& g) { g.Config.SYNC.clear(); }, false, "\"CANopen Network\\SYNC\"is empty"},
        {[](auto& g) { g.Config.SDOCycle.clear(); }, true,
         "\"CANopen Network\\The Cycle for SDO Transmission\"is empty"},
        {[](auto& g) { g.Config.SDOCycle.clear(); }, false, ""},
        {[](auto& g) { g.Config.Nodes[0].NodeAddress.clear(); }, true,
         "\"Node-1\\Slave Address (1 to 127)\"is empty"},
        {[](auto& g) { g.Config.Instructions[0].SubIndex.clear(); }, true,
         "\"Node-1\\Upload-SDO\\Sub-index value\"is empty"},
        {[](auto& g) { g.Config.Instructions[1].CobId.clear(); }, true,
         "\"Node-1\\Transmit-PDO\\COB-ID\"is empty"},
        {[](auto& g) { g.Config.Instructions[2].Bytes.clear(); }, true,
         "\"Node-1\\Download-SDO\\Number of Bytes\"is empty"},
        {[](auto& g) { g.Config.Instructions[3].MappingAddress.clear(); }, true,
         "\"Node-1\\Receive-PDO\\Mapping Address (Decimal)\"is empty"},
        // A node name is a GB18030 text; the message is UTF-8.
        {[](auto& g) {
             g.Config.Nodes[0].NodeName = "\xB5\xE7\xBB\xFA";
             g.Config.Nodes[0].NodeAddress.clear();
         },
         true, "\"\xE7\x94\xB5\xE6\x9C\xBA\\Slave Address (1 to 127)\"is empty"},
        {[](auto& g) {
             g.Config.Nodes[0].NodeName = "\xB5\xE7\xFF";
             g.Config.Instructions[1].CobId.clear();
         },
         true, "\"\xE7\x94\xB5\xEF\xBF\xBD\\Transmit-PDO\\COB-ID\"is empty"},
    };
    for (const Case& c : cases) {
        GatewayConfiguration cfg = sampleMaster();
        c.edit(cfg);
        ScriptedGateway gw;
        gw.identification = c.newFirmware ? Frame{0xFE, 1} : kOldFirmware;
        const Outcome run = download(cfg, gw);
        if (*c.message == '\0') {
            EXPECT_EQ(run.result, code(TransferResult::Success));
            continue;
        }
        EXPECT_EQ(run.result, code(TransferResult::FieldEmpty)) << c.message;
        EXPECT_EQ(run.message, c.message);
        EXPECT_EQ(run.written, std::vector<Frame>{kIdentify});
    }
}

TEST(Tavo20Download, FailuresGiveTheirCodes) {
    struct Case {
        const char* name;
        bool oldFirmware;
        std::map<std::size_t, Frame> replies;
        long failWriteAt;
        const char* inport;
        int result;
    };
    const Case cases[] = {
        {"96 refused by the compatible format", true, {}, -1, "96", 14},
        {"16 refused by the compatible format", true, {}, -1, "16", 14},
        {"96 accepted by the new format", false, {}, -1, "96", 18},
        {"header not acknowledged", true, {{1, {0x02, 0x02, 0x01, 0x01, 0x07}}}, -1, "112", 5},
        {"header write fails", false, {}, 1, "112", 5},
        {"data frame silent", false, {{5, {}}}, -1, "112", 5},
        {"garbage acknowledgement", true, {{4, {0xFF}}}, -1, "112", 5},
        {"last frame write fails", true, {}, 13, "112", 1},
        {"last frame no reply", false, {{13, {}}}, -1, "112", 2},
        {"last frame content ignored", true, {{13, {0x55}}}, -1, "112", 18},
        {"options reply wrong", false, {{14, {0x06, 0x00}}}, -1, "112", 3},
        {"options reply missing", false, {{14, {}}}, -1, "112", 3},
    };
    for (const Case& c : cases) {
        GatewayConfiguration cfg = sampleMaster();
        cfg.Fieldbus.InportNum = c.inport;
        ScriptedGateway gw;
        gw.identification = c.oldFirmware ? kOldFirmware : Frame{0xFE, 1, 0, 0, 5, 2};
        gw.replaceReply = c.replies;
        const Outcome run = download(cfg, gw, false, FormatChoice::Cancel, c.failWriteAt);
        EXPECT_EQ(run.result, c.result) << c.name;
        EXPECT_EQ(run.progress.finished, 1) << c.name;
        if (c.result == 14) {
            EXPECT_EQ(run.written, std::vector<Frame>{kIdentify}) << c.name;
        }
    }
}

GatewayConfiguration sampleSlave() {
    GatewayConfiguration cfg = newConfiguration(kCanopenSlave);
    addCommand(cfg, kTransmitPdo, 1, 385, 0, 4, 99);
    addCommand(cfg, kReceivePdo, 1, 513, 0, 3, 99);
    return cfg;
}

TEST(Tavo20SDownload, FramesByteForByteWithRecalculatedMapping) {
    ScriptedGateway gw;
    gw.identification = {0xFE, 0, 0, 1};
    const Outcome run = download(sampleSlave(), gw);
    ASSERT_EQ(run.result, code(TransferResult::Success));
    std::vector<Frame> expected = {kIdentify, sealed({0x02, 0x0A, 0x03, 0x01, 0x02, 0x00, 0x00,
                                                      0x64, 0x01, 0x01, 0x0D, 0x01})};
    std::vector<Frame> data = emptyFrames(47);
    data[0] = dataFrame(47, 2, {{0, {0x81, 0x01, 0x00, 0x00, 0x04, 0x00}}});
    data[6] = dataFrame(47, 8, {{0, {0x01, 0x02, 0x00, 0x00, 0x03, 0x00}}});
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(run.written, expected);
    EXPECT_EQ(run.cfg.Config.Instructions[0].MappingAddress, "0");
    EXPECT_EQ(run.progress.steps, 13);
}

TEST(Tavo20SDownload, IdentificationAndFailures) {
    struct Case {
        const char* name;
        Frame reply;
        bool oldEdition;
        FormatChoice choice;
        const char* inport;
        std::map<std::size_t, Frame> replies;
        int result, format, identifications;
    };
    const Case cases[] = {
        {"byte 4 is not looked at",
         {0xFE, 0, 0, 0, 9},
         true,
         FormatChoice::New,
         "112",
         {},
         18,
         5,
         1},
        {"new firmware", {0xFE, 0, 0, 1}, false, FormatChoice::Cancel, "112", {}, 18, 6, 1},
        {"asked: compatible", {0xFE, 0, 2}, true, FormatChoice::Compatible, "112", {}, 18, 5, 1},
        {"asked: new identifies again", {0xFE, 1}, true, FormatChoice::New, "112", {}, 18, 6, 2},
        {"asked: new, no second reply",
         {0xFE, 1},
         true,
         FormatChoice::New,
         "112",
         {{1, {}}},
         2,
         8,
         2},
        {"asked: cancel", {0xFE, 1}, true, FormatChoice::Cancel, "112", {}, 16, 8, 1},
        {"no reply", {}, false, FormatChoice::Cancel, "112", {}, 2, 8, 1},
        {"format 5 refuses the hardware size",
         {0xFE},
         false,
         FormatChoice::Cancel,
         "Setting through Hardware Configuration of PROFIBUS DP",
         {},
         14,
         5,
         1},
        {"format 6 takes the hardware size",
         {0xFE, 1},
         false,
         FormatChoice::Cancel,
         "Setting through Hardware Configuration of PROFIBUS DP",
         {},
         18,
         6,
         1},
        {"mapping overflow", {0xFE, 1}, false, FormatChoice::Cancel, "16", {}, 15, 6, 1},
        {"header not acknowledged",
         {0xFE, 1},
         false,
         FormatChoice::Cancel,
         "112",
         {{1, {0x02}}},
         1,
         6,
         1},
        {"last data frame not acknowledged",
         {0xFE, 1},
         false,
         FormatChoice::Cancel,
         "112",
         {{13, {}}},
         5,
         6,
         1},
        {"acknowledged by a longer reply",
         {0xFE, 1},
         false,
         FormatChoice::Cancel,
         "112",
         {{13, {0x02, 0x02, 0x01, 0x01, 0x06, 0x99}}},
         18,
         6,
         1},
    };
    for (const Case& c : cases) {
        GatewayConfiguration cfg = sampleSlave();
        cfg.Fieldbus.InportNum = c.inport;
        if (std::string(c.inport) == "16") {
            addCommand(cfg, kTransmitPdo, 1, 386, 0, 8, 0);
            addCommand(cfg, kTransmitPdo, 1, 387, 0, 8, 0);
        }
        ScriptedGateway gw;
        gw.identification = c.reply;
        gw.replaceReply = c.replies;
        const Outcome run = download(cfg, gw, c.oldEdition, c.choice);
        EXPECT_EQ(run.result, c.result) << c.name;
        EXPECT_EQ(run.format, c.format) << c.name;
        EXPECT_EQ(std::count(run.written.begin(), run.written.end(), kIdentify), c.identifications)
            << c.name;
        EXPECT_EQ(run.cfg.Config.ConfigEdition, 500) << c.name;
    }
}

TEST(ResultText, EveryCode) {
    const std::pair<int, const char*> texts[] = {
        {0, "Failed to open serial port"},
        {1, "Write data to the serial port error"},
        {2, "Reading serial data failed"},
        {3, "Data validation errors"},
        {4, "Hardware and software version does not match"},
        {5, "Download error"},
        {6, "Failed to upload"},
        {7, "Failed to download"},
        {8, "The hardware does not support the current configuration"},
        {9, "SDO commands beyond the limit (28 )!"},
        {10, "Transmit PDO commands beyond the limit (14 )!"},
        {11, "SDO commands beyond the limit (28 )!"},
        {12, "Receive PDO commands beyond the limit (14 )!"},
        {13, "the message"},
        {14, "The current configuration does not support the choice of input and output bytes\n"},
        {15, "Mapping address  overflow"},
        {16, "Download cancel"},
        {17, "Upload cancel"},
        {18, "Operation is successful"},
        {19, "Unknown error"},
        {-1, "Unknown error"},
    };
    for (const auto& [number, text] : texts) {
        EXPECT_EQ(transferResultText(static_cast<TransferResult>(number), "the message"), text)
            << number;
    }
    EXPECT_EQ(transferResultText(TransferResult::OpenFailed, {}, "busy"),
              "Failed to open serial port\nbusy");
}

} // namespace
} // namespace torvane::test
