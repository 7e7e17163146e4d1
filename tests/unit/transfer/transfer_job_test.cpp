#include "../../support/english.h"
#include "../../support/fake_line.h"
#include "mapping/predownload_checks.h"
#include "transfer/transfer_job.h"

#include <gtest/gtest.h>
#include <random>

namespace torvane::test {
namespace {

struct JobCase {
    const char* name;
    std::function<GatewayConfiguration()> config;
    bool upload;
    int portIndex;
    bool portBusy;
    bool started;
    int result;
    std::string textStart;
};

// Services that open a port on `line` and wait in its virtual time.
TransferServices servicesOn(FakeLine& line) {
    TransferServices services;
    services.openPort = [&line] { return std::make_unique<FakePort>(line); };
    services.clock = &line.clock;
    return services;
}

GatewayConfiguration ninetyCommands() {
    GatewayConfiguration cfg = masterWithCounts(28, 14, 28, 14);
    for (int k = 0; k < 6; ++k) {
        addCommand(cfg, kReceivePdo, 1, 0x300 + k, 0, 1, 60 + k);
    }
    return cfg;
}

GatewayConfiguration overlapping() {
    GatewayConfiguration cfg = sampleMaster();
    cfg.Config.Instructions[1].MappingAddress = "1";
    return cfg;
}

GatewayConfiguration slowRpdoCycle() {
    GatewayConfiguration cfg = sampleMaster();
    cfg.Config.BuadRate = "10K";
    cfg.Config.RPDOCycle = "1";
    return cfg;
}

GatewayConfiguration slave() {
    GatewayConfiguration cfg = newConfiguration(kCanopenSlave);
    addCommand(cfg, kTransmitPdo, 1, 0x181, 0, 3, 50);
    addCommand(cfg, kTransmitPdo, 1, 0x182, 0, 2, 50);
    return cfg;
}

TEST(TransferJob, FlowAndResultTexts) {
    const JobCase cases[] = {
        {"download", sampleMaster, false, 0, false, true, 18, "Operation is successful"},
        {"upload", sampleMaster, true, 0, false, true, 18, "Operation is successful"},
        {"check fails: no port touched", overlapping, false, 0, false, false, -1,
         "Mapping address conflict !\n"},
        {"cycle question cancelled", slowRpdoCycle, false, 0, false, false, -1, ""},
        {"negative port index", sampleMaster, true, -1, false, true, 0,
         "Failed to open serial port\n"},
        {"port busy", sampleMaster, false, 0, true, true, 0, "Failed to open serial port"},
    };
    for (const JobCase& c : cases) {
        FakeLine line;
        ScriptedGateway gw;
        if (c.upload) {
            gw.identification = {0xFE, 0, 0, 0, 0, 0};
            gw.uploadHeader =
                configurationFrame(0x01, 18, 1, {0x00, 0x05, 0x02, 0x00, 0, 0xC8, 0, 0x64});
            for (std::uint8_t n = 2; n <= 13; ++n) {
                gw.uploadData.push_back(configurationFrame(0x01, 47, n));
            }
        }
        line.gateway = std::ref(gw);
        line.open = c.portBusy; // another transfer holds the port
        RecordingProgress progress;
        TransferServices services = servicesOn(line);
        services.progress = &progress;
        TransferRequest request{c.config(), false, {"/dev/a"}, c.portIndex};
        const TransferOutcome out =
            c.upload ? runUpload(request, services) : runDownload(request, services);
        EXPECT_EQ(out.started, c.started) << c.name;
        EXPECT_EQ(out.resultCode, c.result) << c.name;
        EXPECT_EQ(out.text.english().rfind(c.textStart, 0), 0u) << c.name << ": " << out.text;
        EXPECT_EQ(out.text.empty(), c.textStart.empty()) << c.name;
        EXPECT_EQ(out.port, c.started && c.portIndex == 0 ? "/dev/a" : "") << c.name;
        if (c.result == 18) {
            EXPECT_EQ(progress.range, 13) << c.name;
            EXPECT_EQ(progress.steps, 13) << c.name;
            EXPECT_EQ(progress.finished, 1) << c.name;
            EXPECT_TRUE(out.configurationChanged) << c.name;
        }
        if (c.result == 0 || !c.started) {
            EXPECT_TRUE(line.written.empty()) << c.name;
            EXPECT_FALSE(c.upload && out.configurationChanged) << c.name;
        }
        EXPECT_EQ(line.open, c.portBusy) << c.name << ": the port is closed after the transfer";
    }
}

// What a download changed reaches the live configuration and names its undo step; a download
// that changed nothing names none.
TEST(TransferJob, DownloadChangesReachTheLiveConfiguration) {
    FakeLine line;
    ScriptedGateway gw;
    line.gateway = std::ref(gw);
    const TransferServices services = servicesOn(line);
    GatewayConfiguration mappedSlave = slave();
    mappedSlave.Config.Instructions[0].MappingAddress = "0";
    mappedSlave.Config.Instructions[1].MappingAddress = "4";
    GatewayConfiguration oldLayout = sampleMaster();
    oldLayout.Config.ConfigEdition = 220;
    const struct {
        const char* name;
        GatewayConfiguration live;
        int count;
        std::int32_t edition;
        const char* mapping1; // the second command's mapping address afterwards
        std::string step;
        const char* bytes1 = nullptr; // the second command's size, edited while the transfer ran
    } cases[] = {
        // The new format's edition 320 behaves as 500: no change.
        {"nothing changes", sampleMaster(), 4, 500, "2", ""},
        {"cut", ninetyCommands(), 84, 500, "1", "Download (84-command cut)"},
        {"slave mapping", slave(), 2, 500, "4", "Download (mapping addresses)"},
        {"slave already mapped", mappedSlave, 2, 500, "4", ""},
        {"slave command resized meanwhile keeps its address", slave(), 2, 500, "50",
         "Download (mapping addresses)", "5"},
        {"old layout opens up", oldLayout, 4, 320, "2", "Download (configuration layout)"},
    };
    for (const auto& c : cases) {
        GatewayConfiguration live = c.live;
        const TransferOutcome out = runDownload({live, false, {"/dev/a"}, 0}, services);
        ASSERT_EQ(out.resultCode, 18) << c.name;
        live.Config.SYNC = "12"; // edited while the transfer ran
        if (c.bytes1 != nullptr) {
            live.Config.Instructions[1].Bytes = c.bytes1;
        }
        const DownloadChanges changes = applyDownloadChanges(live, out);
        EXPECT_EQ(downloadStepName(changes), c.step) << c.name;
        EXPECT_EQ(changes.any(), !c.step.empty()) << c.name;
        EXPECT_EQ(live.Config.InstructionCount, c.count) << c.name;
        EXPECT_EQ(live.Config.ConfigEdition, c.edition) << c.name;
        EXPECT_EQ(live.Config.Instructions[1].MappingAddress, c.mapping1) << c.name;
        EXPECT_EQ(live.Config.SYNC, "12") << c.name;
    }
    EXPECT_EQ(downloadStepName({true, true, true}),
              "Download (84-command cut, mapping addresses, configuration layout)");
}

TEST(TransferJob, GarbageFromTheLineGivesResultCodes) {
    std::mt19937 rng(20261206);
    for (int round = 0; round < 400; ++round) {
        const bool master = rng() % 2 == 0;
        const bool isUpload = rng() % 2 == 0;
        FakeLine line;
        ScriptedGateway proper;
        proper.identification = {0xFE, static_cast<std::uint8_t>(rng() % 2),
                                 0,    static_cast<std::uint8_t>(rng() % 3),
                                 5,    static_cast<std::uint8_t>(rng() % 4)};
        proper.storedFormat = static_cast<std::uint8_t>(rng() % 3);
        Frame frame(96);
        for (auto& b : frame) {
            b = static_cast<std::uint8_t>(rng());
        }
        proper.uploadHeader = frame;
        proper.uploadData.assign(12, frame);
        line.gateway = [&](FakeLine& l, const Frame& f, std::size_t index) {
            switch (rng() % 4) {
            case 0: { // random bytes, sometimes none, sometimes too many
                Frame junk(rng() % 130);
                for (auto& b : junk) {
                    b = static_cast<std::uint8_t>(rng());
                }
                l.reply(junk, static_cast<int>(rng() % 400));
                break;
            }
            case 1: { // the proper answer, cut short
                FakeLine scratch;
                proper(scratch, f, index);
                Frame cut;
                for (std::size_t i = 0; i < scratch.incoming.size() / 2; ++i) {
                    cut.push_back(scratch.incoming[i].second);
                }
                l.reply(cut);
                break;
            }
            default:
                proper(l, f, index);
            }
        };
        RecordingProgress progress;
        FixedFormat question(static_cast<FormatChoice>(rng() % 4));
        TransferServices services = servicesOn(line);
        services.progress = &progress;
        services.formatQuestion = &question;
        TransferRequest request{master ? sampleMaster() : slave(), rng() % 2 == 0, {"/dev/a"}, 0};
        const TransferOutcome out =
            isUpload ? runUpload(request, services) : runDownload(request, services);
        EXPECT_GE(out.resultCode, 0) << round;
        EXPECT_LE(out.resultCode, 18) << round;
        EXPECT_FALSE(out.text.empty()) << round;
        EXPECT_LE(progress.finished, 1) << round;
        EXPECT_LE(line.written.size(), 17u) << round;
        EXPECT_LT(line.clock.now, 40000) << round;
        EXPECT_FALSE(line.open) << round;
    }
}

} // namespace
} // namespace torvane::test
