#include "../../support/english.h"
#include "../../support/fake_line.h"

#include <gtest/gtest.h>

namespace torvane::test {
namespace {

using enum FormatChoice;

const Frame kIdentify = {0xFE, 0x00, 0xFE};
const Frame kOldFirmware = {0xFE, 0, 0, 0, 0, 0};
const Frame kFirmware52 = {0xFE, 1, 0, 0, 5, 2};
const char* const kHardwareSize = "Setting through Hardware Configuration of PROFIBUS DP";

// Data frame n (0..11) written out from the frame table: framing, then the records of its
// slots; the 84 slots are numbered across the twelve frames, seven to a frame.
Frame dataFrame(std::size_t size, int n, const std::vector<std::pair<int, Frame>>& records) {
    Frame f(size - 1, 0);
    f[0] = 0x02;
    f[1] = static_cast<std::uint8_t>(size - 3);
    f[size - 3] = 0x0D;
    f[size - 2] = static_cast<std::uint8_t>(n + 2);
    const long recordSize = size == 96 ? 13 : 6;
    for (const auto& [slot, bytes] : records) {
        if (slot / 7 == n) {
            std::copy(bytes.begin(), bytes.end(), f.begin() + 2 + recordSize * (slot % 7));
        }
    }
    return sealed(f);
}

// The SDO options frame: its first bytes, zero-filled to 17 and sealed.
Frame optionsFrame(Frame start) {
    start.resize(17, 0);
    return sealed(start);
}

GatewayConfiguration sampleSlave() {
    GatewayConfiguration cfg = newConfiguration(kCanopenSlave);
    addCommand(cfg, kTransmitPdo, 1, 385, 0, 4, 99);
    addCommand(cfg, kReceivePdo, 1, 513, 0, 3, 99);
    return cfg;
}

TEST(Download, FramesByteForByte) {
    GatewayConfiguration nmtMaster = sampleMaster();
    nmtMaster.Config.NMT = "Enable";
    struct Case {
        const char* name;
        GatewayConfiguration cfg;
        Frame identification;
        Frame header; // without its checksum
        std::size_t dataSize;
        std::vector<std::pair<int, Frame>> records; // slot, bytes
        Frame options;                              // empty: not sent
        int edition;
    };
    const Case cases[] = {
        {"compatible master",
         sampleMaster(),
         kOldFirmware,
         {0x02, 0x0F, 0x00, 0x7F, 0x02, 0x00, 0x00, 0xC8, 0x00, 0x64, 0x00, 0x01, 0x01, 0x01, 0x01,
          0x0D, 0x01},
         47,
         {{0, {0x00, 0x60, 0x01, 0x01, 0x02, 0x00}},
          {28, {0x81, 0x01, 0x00, 0x01, 0x04, 0x02}}, // COB-ID 385
          {42, {0x00, 0x62, 0x02, 0x01, 0x01, 0x00}},
          {70, {0x01, 0x02, 0x00, 0x01, 0x02, 0x02}}},
         {},
         210},
        {"new master with options",
         nmtMaster,
         kFirmware52,
         {0x02, 0x23, 0x03, 0x7F, 0x02, 0x00, 0x00, 0x00, 0xC8, 0x00, 0x01, 0x64, 0x00,
          0x00, 0x00, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x01,
          0x00, 0x00, 0,    0,    0,    0,    0,    0,    0,    0x0D, 0x01},
         96,
         {{0, {0x02, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x60, 0x01}},
          {1, {0x04, 0x01, 0x02, 0, 0, 0, 0x81, 0x01, 0x00, 0x00, 0, 0, 0}},
          {2, {0x01, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x62, 0x02}},
          {3, {0x02, 0x01, 0x02, 0, 0, 0, 0x01, 0x02, 0x00, 0x00, 0, 0, 0}}},
         optionsFrame({0x07, 0x0F, 0x01}),
         320},
        {"slave with recalculated mapping",
         sampleSlave(),
         {0xFE, 0, 0, 1},
         {0x02, 0x0A, 0x03, 0x01, 0x02, 0x00, 0x00, 0x64, 0x01, 0x01, 0x0D, 0x01},
         47,
         {{0, {0x81, 0x01, 0x00, 0x00, 0x04, 0x00}}, {42, {0x01, 0x02, 0x00, 0x00, 0x03, 0x00}}},
         {},
         500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TransferRun run = download(c.cfg, identifyingAs(c.identification));
        ASSERT_EQ(run.result, code(TransferResult::Success));
        std::vector<Frame> expected = {kIdentify, sealed(c.header)};
        for (int n = 0; n < 12; ++n) {
            expected.push_back(dataFrame(c.dataSize, n, c.records));
        }
        if (!c.options.empty()) {
            expected.push_back(c.options);
        }
        EXPECT_EQ(run.written, expected);
        EXPECT_EQ(run.cfg.Config.ConfigEdition, c.edition);
        EXPECT_EQ(run.cfg.Config.Instructions[0].MappingAddress, "0");
        EXPECT_EQ(run.progress.range, 13);
        EXPECT_EQ(run.progress.steps, 13);
        EXPECT_EQ(run.progress.finished, 1);
    }
}

TEST(Tavo20Download, NewFormatPacksTpdosBehindUploadSdos) {
    const TransferRun run = download(masterWithCounts(3, 5, 0, 0), ScriptedGateway{});
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
        {255, 255, "Enable", "0", "0", {}},
        {5, 2, "Enable", "3", "1000", {0x07, 0x0F, 0x01, 0x00, 0x00, 0x00}},
        {7, 3, "Disable", "3", "1000", {0x07, 0x0F, 0x00, 0x04, 0xE8, 0x03}},
        {5, 2, "Disable", "0", "0", {0x07, 0x0F, 0x00, 0x00, 0x00, 0x00}},
        {5, 2, "Disable", "9", "0", {0x07, 0x0F, 0x00, 0x09, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.major) << "." << int(c.minor) << " " << c.retries);
        GatewayConfiguration cfg = sampleMaster();
        cfg.Config.SDOConcurrent = c.concurrent;
        cfg.Config.SDORetries = c.retries;
        cfg.Config.SDOPollDelay = c.pollDelay;
        const TransferRun run = download(cfg, identifyingAs({0xFE, 1, 0, 0, c.major, c.minor}));
        EXPECT_EQ(run.result, code(TransferResult::Success));
        ASSERT_EQ(run.written.size(), c.options.empty() ? 14u : 15u);
        if (!c.options.empty()) {
            EXPECT_EQ(run.written.back(), optionsFrame(c.options));
        }
    }
}

TEST(Tavo20Download, CompatibleLimitsFillAllSlotsAndRefuseOneMore) {
    const TransferRun full =
        download(masterWithCounts(28, 14, 28, 14), identifyingAs(kOldFirmware));
    ASSERT_EQ(full.result, code(TransferResult::Success));
    for (int s = 0; s < 84; ++s) { // every record carries its 1 data byte
        EXPECT_EQ(full.written[2 + static_cast<std::size_t>(s / 7)][2 + 6 * (s % 7) + 4], 1) << s;
    }
    for (std::size_t kind = 0; kind < 4; ++kind) {
        std::array<int, 4> n = {28, 14, 28, 14};
        ++n[kind];
        const TransferRun run =
            download(masterWithCounts(n[0], n[1], n[2], n[3]), identifyingAs(kOldFirmware));
        EXPECT_EQ(run.result, code(TransferResult::TooManyUploadSdo) + static_cast<int>(kind));
        EXPECT_EQ(run.written, std::vector<Frame>{kIdentify});
        EXPECT_EQ(run.progress.finished, 1);
    }
}

TEST(Download, IdentificationChoosesFormat) {
    struct Case {
        const char* name;
        bool slave;
        Frame reply;
        bool oldEdition;
        FormatChoice choice;
        int result, format, edition, asked, identifications;
        std::map<std::size_t, Frame> replies;
    };
    const Case cases[] = {
        {"old firmware, old document", false, kOldFirmware, true, New, 18, 0, 210, 0, 1, {}},
        {"one byte reply", false, {0xFE}, false, Cancel, 18, 0, 210, 0, 1, {}},
        {"new firmware", false, {0xFE, 0, 0, 0, 3, 0}, false, Cancel, 18, 4, 320, 0, 1, {}},
        {"asked: compatible", false, {0xFE, 1}, true, Compatible, 18, 0, 210, 1, 1, {}},
        {"asked: new", false, {0xFE, 1}, true, New, 18, 4, 320, 1, 1, {}},
        {"asked: cancel", false, {0xFE, 1}, true, Cancel, 16, 8, 500, 1, 1, {}},
        {"asked: no choice", false, {0xFE, 1}, true, NoChoice, 2, 8, 500, 1, 1, {}},
        {"no reply", false, {}, false, Cancel, 2, 8, 500, 0, 1, {}},
        {"slave: byte 4 ignored", true, {0xFE, 0, 0, 0, 9}, true, New, 18, 5, 500, 0, 1, {}},
        {"slave: new firmware", true, {0xFE, 0, 0, 1}, false, Cancel, 18, 6, 500, 0, 1, {}},
        {"slave asked: compatible", true, {0xFE, 0, 2}, true, Compatible, 18, 5, 500, 1, 1, {}},
        {"slave asked: new identifies again", true, {0xFE, 1}, true, New, 18, 6, 500, 1, 2, {}},
        {"slave: no 2nd reply", true, {0xFE, 1}, true, New, 2, 8, 500, 1, 2, {{1, {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedGateway gw = identifyingAs(c.reply);
        gw.replaceReply = c.replies;
        const TransferRun run = download(c.slave ? sampleSlave() : sampleMaster(), gw,
                                         {.oldEdition = c.oldEdition, .choice = c.choice});
        EXPECT_EQ(run.result, c.result);
        EXPECT_EQ(run.format, c.format);
        EXPECT_EQ(run.cfg.Config.ConfigEdition, c.edition);
        EXPECT_EQ(run.asked, c.asked);
        EXPECT_EQ(std::count(run.written.begin(), run.written.end(), kIdentify), c.identifications);
        if (c.result != 18) {
            EXPECT_EQ(run.written.size(), static_cast<std::size_t>(c.identifications));
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
        {[](auto& g) { g.Config.SDOCycle.clear(); }, true,
         "\"CANopen Network\\The Cycle for SDO Transmission\"is empty"},
        {[](auto& g) { g.Config.SDOCycle.clear(); }, false, ""},
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
        SCOPED_TRACE(c.message);
        GatewayConfiguration cfg = sampleMaster();
        c.edit(cfg);
        const TransferRun run =
            download(cfg, identifyingAs(c.newFirmware ? Frame{0xFE, 1} : kOldFirmware));
        if (*c.message == '\0') {
            EXPECT_EQ(run.result, code(TransferResult::Success));
            continue;
        }
        EXPECT_EQ(run.result, code(TransferResult::FieldEmpty));
        EXPECT_EQ(run.message, c.message);
        EXPECT_EQ(run.written, std::vector<Frame>{kIdentify});
    }
}

TEST(Download, FailuresGiveTheirCodes) {
    struct Case {
        const char* name;
        bool slave;
        Frame reply;
        const char* inport;
        std::map<std::size_t, Frame> replies;
        long failWriteAt;
        int result;
    };
    const Case cases[] = {
        {"96 refused by the compatible format", false, kOldFirmware, "96", {}, -1, 14},
        {"96 accepted by the new format", false, kFirmware52, "96", {}, -1, 18},
        {"header not acknowledged", false, kOldFirmware, "112", {{1, {2, 2, 1, 1, 7}}}, -1, 5},
        {"header write fails", false, kFirmware52, "112", {}, 1, 5},
        {"data frame silent", false, kFirmware52, "112", {{5, {}}}, -1, 5},
        {"last frame write fails", false, kOldFirmware, "112", {}, 13, 1},
        {"last frame no reply", false, kFirmware52, "112", {{13, {}}}, -1, 2},
        {"last frame content ignored", false, kOldFirmware, "112", {{13, {0x55}}}, -1, 18},
        {"options reply wrong", false, kFirmware52, "112", {{14, {0x06, 0x00}}}, -1, 3},
        {"slave format 5 refuses the hardware size", true, {0xFE}, kHardwareSize, {}, -1, 14},
        {"slave format 6 takes the hardware size", true, {0xFE, 1}, kHardwareSize, {}, -1, 18},
        {"slave mapping overflow", true, {0xFE, 1}, "16", {}, -1, 15},
        {"slave header not acknowledged", true, {0xFE, 1}, "112", {{1, {0x02}}}, -1, 2},
        {"slave header write fails", true, {0xFE, 1}, "112", {}, 1, 1},
        {"slave last data frame not acknowledged", true, {0xFE, 1}, "112", {{13, {}}}, -1, 5},
        {"slave longer ack", true, {0xFE, 1}, "112", {{13, {2, 2, 1, 1, 6, 0x99}}}, -1, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GatewayConfiguration cfg = c.slave ? sampleSlave() : sampleMaster();
        cfg.Fieldbus.InportNum = c.inport;
        if (c.result == code(TransferResult::MappingOverflow)) {
            addCommand(cfg, kTransmitPdo, 1, 386, 0, 8, 0);
            addCommand(cfg, kTransmitPdo, 1, 387, 0, 8, 0);
        }
        ScriptedGateway gw = identifyingAs(c.reply);
        gw.replaceReply = c.replies;
        const TransferRun run = download(cfg, gw, {.failWriteAt = c.failWriteAt});
        EXPECT_EQ(run.result, c.result);
        // A refused mapping stops before the frames are counted out.
        EXPECT_EQ(run.progress.finished, c.result == code(TransferResult::MappingOverflow) ? 0 : 1);
        if (c.result == code(TransferResult::IoSizeRefused) ||
            c.result == code(TransferResult::MappingOverflow)) {
            EXPECT_EQ(run.written, std::vector<Frame>{kIdentify});
        }
    }
}

} // namespace
} // namespace torvane::test
