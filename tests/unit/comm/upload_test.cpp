#include "../../support/fake_line.h"

#include <gtest/gtest.h>

namespace torvane::test {
namespace {

// A gateway that serves what a download of `cfg` in `format` would have stored.
ScriptedGateway servingDownloadOf(GatewayConfiguration cfg, DownloadFormat format) {
    ScriptedGateway gw;
    FakeLine unused;
    DownloadFrames frames;
    std::uint8_t op = 0x01;
    if (cfg.isMaster()) {
        CTAVO20Down down(std::make_unique<FakePort>(unused), unused.clock, cfg);
        if (format == DownloadFormat::Tavo20New) {
            frames = down.BuildNewFrames();
        } else {
            EXPECT_EQ(down.BuildCompatibleFrames(frames), TransferResult::Success);
        }
        gw.identification = format == DownloadFormat::Tavo20New ? Frame{0xFE, 1, 0, 0, 5, 2}
                                                                : Frame{0xFE, 0, 0, 0, 0, 0};
    } else {
        CTAVO20SDown down(std::make_unique<FakePort>(unused), unused.clock, cfg,
                          recalculateMapping);
        EXPECT_EQ(down.BuildFrames(format, frames), TransferResult::Success);
        gw.identification =
            format == DownloadFormat::Tavo20SNew ? Frame{0xFE, 1, 0, 2} : Frame{0xFE};
        op = 0x03;
    }
    // The download frames with the upload's operation, sealed again.
    auto asReply = [op](Frame f) {
        f[0] = op;
        f.pop_back();
        return sealed(f);
    };
    gw.uploadHeader = asReply(frames.header);
    for (const Frame& f : frames.data) {
        gw.uploadData.push_back(asReply(f));
    }
    return gw;
}

// A configuration to upload into: anything in it must be replaced or kept as the rules say.
GatewayConfiguration openDocument(int type) {
    GatewayConfiguration cfg = type == kCanopenMaster ? sampleMaster() : newConfiguration(type);
    cfg.Config.Instructions[0].Description = "kept only when the upload fails";
    cfg.Config.SlaveAddress = "99";
    cfg.Fieldbus.InportNum = "16";
    return cfg;
}

TEST(Tavo20Upload, CompatibleRequestsAndDecoding) {
    ScriptedGateway gw = identifyingAs({0xFE, 0, 0, 0, 0, 0});
    // 48 bytes, node 5, 125K, TPDO clear 10, SDO time-out 100, NMT on, delay 50, SYNC 7;
    // 30 Upload SDO announced, one TPDO.
    gw.uploadHeader = sealed({0x01, 0x0F, 0x01, 0x05, 0x03, 0x00, 0x0A, 0x64, 0x01, 0x32, 0x07, 30,
                              1, 0, 0, 0x0D, 0x01});
    for (std::uint8_t n = 0; n < 12; ++n) {
        Frame records;
        for (int r = 0; r < 7; ++r) {
            const int s = n * 7 + r;
            const Frame usdo = {static_cast<std::uint8_t>(s), 0x20, 1, 5, 1,
                                static_cast<std::uint8_t>(s)};
            const Frame tpdo = {0x81, 0x01, 0x00, 7, 4, 40};
            const Frame& rec = s == 28 ? tpdo : usdo;
            records.insert(records.end(), rec.begin(), rec.end());
        }
        gw.uploadData.push_back(
            configurationFrame(0x01, 47, static_cast<std::uint8_t>(n + 2), records));
    }
    const TransferRun run = upload(openDocument(kCanopenMaster), gw);
    ASSERT_EQ(run.result, code(TransferResult::Success));
    std::vector<Frame> requests = {{0xFE, 0x00, 0xFE}, {0x01, 0x02, 0x01, 0x01, 0x05}};
    for (std::uint8_t n = 2; n <= 13; ++n) {
        requests.push_back(sealed({0x01, 0x02, 0x01, n}));
    }
    EXPECT_EQ(run.written, requests);
    const CONFIG& c = run.cfg.Config;
    EXPECT_EQ(c.ConfigEdition, 210);
    ASSERT_EQ(c.InstructionCount, 29); // 30 announced, 28 decoded, plus the TPDO
    ASSERT_EQ(c.NodeCount, 2);
    EXPECT_EQ((std::vector<std::string>{run.cfg.Fieldbus.InportNum, c.SlaveAddress, c.BuadRate,
                                        c.TPDOTimeout, c.SDOTimeout, c.NMT, c.DelayStart, c.SYNC,
                                        c.Nodes[0].NodeName, c.Nodes[1].NodeName}),
              (std::vector<std::string>{"48", "5", "125K", "10", "100", "Enable", "50", "7",
                                        "Node-5", "Node-7"}));
    EXPECT_EQ(c.Instructions[27].Index, "8219"); // 0x201B
    EXPECT_EQ(c.Instructions[27].NodeIndex, 1);
    EXPECT_EQ(c.Instructions[0].Description, "");
    const INSTRUCTION& t = c.Instructions[28];
    EXPECT_EQ((std::vector<std::string>{t.InstructionType, t.CobId, t.NodeAddress, t.Bytes,
                                        t.MappingAddress, t.Index}),
              (std::vector<std::string>{"3", "385", "7", "4", "40", ""}));
    EXPECT_EQ(t.NodeIndex, 2);
    EXPECT_EQ(run.progress.steps, 13);
    EXPECT_EQ(run.progress.finished, 1);
}

TEST(Tavo20Upload, NewFormatCapsAt84SlotsAndReadsOptions) {
    ScriptedGateway gw;
    Frame h(18, 0); // from byte 2
    h[13] = 50;     // Upload SDO
    h[14] = 40;     // TPDO
    h[8] = 2;       // NMT code without a text
    h[17] = 1;
    gw.uploadHeader = configurationFrame(0x01, 38, 1, h);
    for (int n = 0; n < 12; ++n) {
        Frame records(91, 0);
        for (std::size_t r = 0; r < 7; ++r) {
            records[13 * r] = 1;                                // Bytes
            records[1 + 13 * r] = static_cast<std::uint8_t>(r); // node
        }
        gw.uploadData.push_back(
            configurationFrame(0x01, 96, static_cast<std::uint8_t>(n + 2), records));
    }
    gw.optionsReply = sdoOptionsReply(0, 4, 1000);
    const TransferRun run = upload(openDocument(kCanopenMaster), gw);
    ASSERT_EQ(run.result, code(TransferResult::Success));
    const CONFIG& c = run.cfg.Config;
    ASSERT_EQ(c.InstructionCount, 84);
    EXPECT_EQ(std::count_if(c.Instructions.begin(), c.Instructions.end(),
                            [](const INSTRUCTION& i) { return i.InstructionType == "3"; }),
              34);
    EXPECT_EQ(c.NodeCount, 7); // one node per address
    EXPECT_EQ((std::vector<std::string>{c.NMT, c.ControlStatus, c.SDOConcurrent, c.SDORetries,
                                        c.SDOPollDelay}),
              (std::vector<std::string>{"Disable", "Enable", "Disable", "3", "1000"}));
    EXPECT_EQ(c.ConfigEdition, 320);
    EXPECT_EQ(run.written[1], (Frame{0xFC, 0x00, 0xFC}));
    EXPECT_EQ(run.written[3], (Frame{0x01, 0x02, 0x0D, 0x01, 0x11}));
    EXPECT_EQ(run.written.back(), (Frame{0x06, 0x02, 0x01, 0x01, 0x0A}));
}

// What the protocol carries of a configuration; the rest is not compared.
std::vector<std::string> carried(const GatewayConfiguration& g, bool newFormat) {
    const CONFIG& c = g.Config;
    std::vector<std::string> v = {g.Fieldbus.InportNum};
    if (g.isMaster()) {
        v.insert(v.end(), {c.SlaveAddress, c.BuadRate, c.SDOTimeout, c.NMT, c.TPDOTimeout,
                           c.DelayStart, c.SYNC});
        if (newFormat) {
            v.insert(v.end(), {c.ControlStatus, c.ErrorControl, c.RPDOCycle, c.OutputProcessing,
                               c.SDOCycle, c.SDOConcurrent, c.SDORetries, c.SDOPollDelay});
        }
    } else {
        v.insert(v.end(), {c.SlaveBaudRate, c.SlaveNodeAddress, c.RPDOTimeout, c.SlaveDelayStart});
    }
    for (int i = 0; i < c.InstructionCount; ++i) {
        const INSTRUCTION& x = c.Instructions[i];
        v.insert(v.end(), {x.InstructionType, x.CobId, x.Index, x.SubIndex, x.Bytes,
                           x.MappingAddress, g.isMaster() ? x.NodeAddress : ""});
    }
    return v;
}

TEST(Upload, ReadsBackWhatADownloadSent) {
    GatewayConfiguration master = sampleMaster();
    master.Config.NMT = "Enable";
    master.Config.SDOTimeout = "150";
    master.Config.BuadRate = "1M";
    master.Config.SYNC = "20";
    master.Config.DelayStart = "30";
    GatewayConfiguration newMaster = master;
    newMaster.Fieldbus.InportNum = "96";
    newMaster.Config.ControlStatus = "Enable";
    newMaster.Config.ErrorControl = "300";
    newMaster.Config.RPDOCycle = "12";
    newMaster.Config.OutputProcessing = "Clear";
    newMaster.Config.SDOCycle = "40";
    newMaster.Config.SDOConcurrent = "Disable";
    newMaster.Config.SDORetries = "3";
    newMaster.Config.SDOPollDelay = "250";
    newMaster.Config.TPDOTimeout = "1000";
    GatewayConfiguration slave = newConfiguration(kCanopenSlave);
    slave.Config.SlaveBaudRate = "50K";
    slave.Config.SlaveNodeAddress = "9";
    slave.Config.RPDOTimeout = "7";
    slave.Config.SlaveDelayStart = "12";
    slave.Fieldbus.InportNum = "48";
    addCommand(slave, kTransmitPdo, 9, 0x189, 0, 2, 0);
    addCommand(slave, kTransmitPdo, 9, 0x289, 0, 3, 2);
    addCommand(slave, kReceivePdo, 9, 0x209, 0, 8, 0);

    const std::tuple<const char*, GatewayConfiguration, DownloadFormat> cases[] = {
        {"compatible", master, DownloadFormat::Tavo20Compatible},
        {"new", newMaster, DownloadFormat::Tavo20New},
        {"slave format 5", slave, DownloadFormat::Tavo20SCompatible},
        {"slave format 6", slave, DownloadFormat::Tavo20SNew},
    };
    for (const auto& [name, sent, format] : cases) {
        ScriptedGateway gw = servingDownloadOf(sent, format);
        gw.optionsReply = sdoOptionsReply(0, 4, 250); // as stored by the options frame
        const TransferRun run = upload(openDocument(sent.ConfigType), gw);
        EXPECT_EQ(run.result, code(TransferResult::Success)) << name;
        EXPECT_EQ(carried(run.cfg, format == DownloadFormat::Tavo20New),
                  carried(sent, format == DownloadFormat::Tavo20New))
            << name;
    }
}

TEST(Upload, FailureLeavesTheConfigurationAsItWas) {
    struct Case {
        const char* name;
        int type, format;
        std::map<std::size_t, Frame> replies;
        long failWriteAt;
        std::uint8_t storedFormat;
        int result;
        bool applied;
    };
    const Case cases[] = {
        {"no identification", kCanopenMaster, 4, {{0, {}}}, -1, 1, 2, false},
        {"unknown stored format", kCanopenMaster, 4, {}, -1, 7, 2, false},
        {"stored format not answered", kCanopenMaster, 4, {{1, {}}}, -1, 0, 2, false},
        {"stored format cut short", kCanopenMaster, 4, {{1, {0xFC, 0x02, 0x0D}}}, -1, 0, 2, false},
        {"data frame silent", kCanopenMaster, 4, {{9, {}}}, -1, 1, 2, false},
        {"data request not written", kCanopenMaster, 0, {}, 6, 1, 1, false},
        {"options reply wrong", kCanopenMaster, 4, {{16, {0x07}}}, -1, 1, 3, true},
        {"slave header silent", kCanopenSlave, 6, {{1, {}}}, -1, 1, 2, false},
        {"slave last request not written", kCanopenSlave, 5, {}, 13, 1, 1, false},
    };
    for (const Case& c : cases) {
        GatewayConfiguration sent = c.type == kCanopenMaster ? sampleMaster() : [] {
            GatewayConfiguration s = newConfiguration(kCanopenSlave);
            addCommand(s, kTransmitPdo, 1, 0x181, 0, 2, 0);
            return s;
        }();
        ScriptedGateway gw = servingDownloadOf(sent, static_cast<DownloadFormat>(c.format));
        gw.replaceReply = c.replies;
        gw.storedFormat = c.storedFormat;
        const GatewayConfiguration before = openDocument(c.type);
        const TransferRun run = upload(before, gw, c.failWriteAt);
        EXPECT_EQ(run.result, c.result) << c.name;
        EXPECT_EQ(run.cfg == before, !c.applied) << c.name;
        EXPECT_LE(run.progress.finished, 1) << c.name;
    }
}

// Every reply that carries configuration data, in every upload sequence, is taken only whole:
// a reply cut short, with any one byte changed (the checksum too) or another frame number ends the
// upload with result 3 and leaves the configuration as it was (the SDO options reply, read after
// every frame, keeps its result 3 and leaves those three fields at their reset values). Bytes
// behind a reply's checksum, in the same burst or later, change nothing.
TEST(Upload, EveryDataReplyIsCheckedWhole) {
    GatewayConfiguration newMaster = sampleMaster();
    newMaster.Config.SDOConcurrent = "Disable";
    newMaster.Config.SDORetries = "2";
    GatewayConfiguration slave = newConfiguration(kCanopenSlave);
    addCommand(slave, kTransmitPdo, 1, 0x181, 0, 2, 0);
    addCommand(slave, kReceivePdo, 1, 0x201, 0, 1, 0);
    const std::pair<GatewayConfiguration, DownloadFormat> sequences[] = {
        {sampleMaster(), DownloadFormat::Tavo20Compatible},
        {newMaster, DownloadFormat::Tavo20New},
        {slave, DownloadFormat::Tavo20SCompatible},
        {slave, DownloadFormat::Tavo20SNew},
    };
    enum class Fault { CutShort, ByteChanged, OtherNumber, Trailing, LateTrailing };
    for (const auto& [sent, format] : sequences) {
        ScriptedGateway gw = servingDownloadOf(sent, format);
        gw.optionsReply = sdoOptionsReply(0, 3, 20);
        const GatewayConfiguration before = openDocument(sent.ConfigType);
        const TransferRun clean = upload(before, gw);
        ASSERT_EQ(clean.result, code(TransferResult::Success)) << code(format);
        // The replies in the order they are asked for, with the index of their request.
        std::vector<std::pair<std::size_t, Frame>> replies;
        for (std::size_t i = 0; i < clean.written.size(); ++i) {
            const std::uint8_t op = clean.written[i][0];
            if (op == 0x06) {
                replies.emplace_back(i, gw.optionsReply);
            } else if (op == 0x01 || op == 0x03) {
                replies.emplace_back(i, replies.empty() ? gw.uploadHeader
                                                        : gw.uploadData.at(replies.size() - 1));
            }
        }
        ASSERT_EQ(replies.size(), format == DownloadFormat::Tavo20New ? 14u : 13u);
        GatewayConfiguration optionsLost = clean.cfg;
        optionsLost.Config.SDOConcurrent = "Enable";
        optionsLost.Config.SDORetries = "0";
        optionsLost.Config.SDOPollDelay = "0";

        for (std::size_t k = 0; k < replies.size(); ++k) {
            const auto& [request, reply] = replies[k];
            const bool options = reply[0] == 0x06;
            struct Variant {
                Fault fault;
                std::size_t position;
            };
            std::vector<Variant> variants = {
                {Fault::CutShort, 0}, {Fault::Trailing, 0}, {Fault::LateTrailing, 0}};
            if (!options) {
                variants.push_back({Fault::OtherNumber, 0});
            }
            for (std::size_t p = 0; p < reply.size(); ++p) {
                variants.push_back({Fault::ByteChanged, p});
            }
            for (const Variant& v : variants) {
                SCOPED_TRACE(testing::Message()
                             << "format " << code(format) << ", reply " << k << ", fault "
                             << static_cast<int>(v.fault) << ", byte " << v.position);
                ScriptedGateway faulty = gw;
                Frame bad = reply;
                switch (v.fault) {
                case Fault::CutShort:
                    bad.pop_back();
                    break;
                case Fault::ByteChanged:
                    ++bad[v.position];
                    break;
                case Fault::OtherNumber:
                    ++bad[bad.size() - 2];
                    bad = sealed(Frame(bad.begin(), bad.end() - 1));
                    break;
                case Fault::Trailing:
                    bad.insert(bad.end(), {0x01, 0x5D, 0x0D});
                    break;
                case Fault::LateTrailing:
                    faulty.lateBytes[request] = {0x01, 0x2C, 0x03};
                    break;
                }
                faulty.replaceReply[request] = bad;
                const TransferRun run = upload(before, faulty);
                if (v.fault == Fault::Trailing || v.fault == Fault::LateTrailing) {
                    EXPECT_EQ(run.result, code(TransferResult::Success));
                    EXPECT_TRUE(run.cfg == clean.cfg);
                } else {
                    EXPECT_EQ(run.result, code(TransferResult::Validation));
                    EXPECT_TRUE(run.cfg == (options ? optionsLost : before));
                    EXPECT_EQ(run.progress.finished, 1);
                }
            }
        }
    }
}

TEST(Tavo20SUpload, IdentificationPicksTheFormat) {
    struct Case {
        Frame reply;
        std::uint8_t ioCode;
        const char* inport;
    };
    const Case cases[] = {
        {{0xFE, 1, 0, 1}, 7, "112"}, // format 5 leaves the size
        {{0xFE, 0, 0, 0, 9}, 7, "112"},
        {{0xFE, 1, 0, 2}, 7, "Setting through Hardware Configuration of PROFIBUS DP"},
        {{0xFE, 1, 0, 1}, 2, "96"},
        {{0xFE, 1, 0, 2}, 0, "16"},
    };
    for (const Case& c : cases) {
        ScriptedGateway gw = identifyingAs(c.reply);
        gw.uploadHeader = configurationFrame(0x03, 13, 1, {c.ioCode, 3, 1});
        for (std::uint8_t n = 2; n <= 13; ++n) {
            gw.uploadData.push_back(configurationFrame(0x03, 47, n));
        }
        GatewayConfiguration start = newConfiguration(kCanopenSlave);
        start.Fieldbus.InportNum = "48";
        const TransferRun run = upload(start, gw);
        EXPECT_EQ(run.result, code(TransferResult::Success));
        EXPECT_EQ(run.cfg.Fieldbus.InportNum, c.inport) << int(c.ioCode);
        EXPECT_EQ(run.cfg.Config.SlaveNodeAddress, "3");
        EXPECT_EQ(run.cfg.Config.SlaveBaudRate, "500K");
        EXPECT_EQ(
            std::count(run.written.begin(), run.written.end(), Frame{0x03, 0x02, 0x01, 0x01, 0x07}),
            13);
    }
}

// The virtual times of the writes, then of the end, from runs of equal gaps: every wait of the
// protocol shows here, as removing or shortening one shifts the times after it.
std::vector<std::int64_t> fromGaps(std::initializer_list<std::pair<int, std::int64_t>> runs,
                                   std::int64_t tail) {
    std::vector<std::int64_t> times;
    std::int64_t now = 0;
    for (const auto& [count, gap] : runs) {
        for (int k = 0; k < count; ++k) {
            times.push_back(now += gap);
        }
    }
    times.push_back(now + tail);
    return times;
}

TEST(TransferTiming, EveryWaitOfEverySequence) {
    const GatewayConfiguration master = sampleMaster();
    const GatewayConfiguration slave = newConfiguration(kCanopenSlave);
    const Frame firmware51 = {0xFE, 1, 0, 0, 5, 1};
    ScriptedGateway options = servingDownloadOf(master, DownloadFormat::Tavo20New);
    ScriptedGateway noOptions = options;
    noOptions.identification = firmware51;
    struct Case {
        const char* name;
        GatewayConfiguration cfg;
        ScriptedGateway gateway;
        bool download;
        std::vector<std::int64_t> expected; // write times, then the end
    };
    const Case cases[] = {
        {"download compatible", master, identifyingAs({0xFE, 0, 0, 0, 0, 0}), true,
         fromGaps({{1, 50}, {1, 150}, {1, 1250}, {10, 1150}, {1, 650}}, 2100)},
        {"download new, options", master, ScriptedGateway{}, true,
         fromGaps({{1, 50}, {1, 150}, {12, 250}, {1, 3150}}, 200)},
        {"download new, no options", master, identifyingAs(firmware51), true,
         fromGaps({{1, 50}, {1, 150}, {12, 250}}, 3100)},
        {"download slave", slave, identifyingAs({0xFE, 1, 0, 2}), true,
         fromGaps({{1, 50}, {1, 650}, {12, 1150}}, 600)},
        {"upload compatible", master, servingDownloadOf(master, DownloadFormat::Tavo20Compatible),
         false, fromGaps({{1, 50}, {1, 150}, {12, 650}}, 600)},
        {"upload new, options", master, options, false,
         fromGaps({{1, 50}, {2, 150}, {1, 200}, {13, 150}}, 100)},
        {"upload new, no options", master, noOptions, false,
         fromGaps({{1, 50}, {2, 150}, {1, 200}, {12, 150}}, 100)},
        {"upload slave", slave, servingDownloadOf(slave, DownloadFormat::Tavo20SNew), false,
         fromGaps({{1, 50}, {1, 150}, {1, 650}, {11, 150}}, 100)},
    };
    for (const Case& c : cases) {
        const TransferRun run = transfer(c.download, c.cfg, c.gateway);
        EXPECT_EQ(run.result, code(TransferResult::Success)) << c.name;
        std::vector<std::int64_t> times = run.writtenAt;
        times.push_back(run.end);
        EXPECT_EQ(times, c.expected) << c.name;
    }
}

} // namespace
} // namespace torvane::test
