#include "../../support/english.h"
#include "../../support/fake_line.h"
#include "compare/configuration_compare.h"
#include "model/strings.h"
#include "model/xml_file.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace torvane::test {
namespace {

// A difference with its texts in English, as the command line shows them.
struct Shown {
    std::string place;
    std::string ours;
    std::string theirs;
    PlaceKind kind = PlaceKind::Configuration;
    int position = 0;
    bool operator==(const Shown&) const = default;
};

Shown shown(const Difference& d) {
    return {d.place.english(), d.ours.english(), d.theirs.english(), d.kind, d.position};
}

GatewayConfiguration sampleSlave() {
    GatewayConfiguration cfg = newConfiguration(kCanopenSlave);
    addCommand(cfg, kTransmitPdo, 1, 0x181, 0, 3, 0);
    addCommand(cfg, kReceivePdo, 1, 0x201, 0, 2, 0);
    return cfg;
}

// Two parts of one PDO: the same node and COB-ID, different sizes.
GatewayConfiguration sharedKey() {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    addCommand(cfg, kTransmitPdo, 5, 389, 0, 2, 0);
    addCommand(cfg, kTransmitPdo, 5, 389, 0, 4, 2);
    addCommand(cfg, kUploadSdo, 5, 0x6000, 1, 1, 6);
    return cfg;
}

GatewayConfiguration enabledNmt() {
    GatewayConfiguration cfg = sampleMaster();
    cfg.Config.NMT = str::Enable;
    return cfg;
}

void swapCommands(GatewayConfiguration& cfg, int a, int b) {
    std::swap(cfg.Config.Instructions[static_cast<std::size_t>(a)],
              cfg.Config.Instructions[static_cast<std::size_t>(b)]);
}

using Config = GatewayConfiguration;

std::vector<std::string> places(const CompareResult& r) {
    std::vector<std::string> all;
    for (const Difference& d : r.differences) {
        all.push_back(d.place.english());
    }
    return all;
}

TEST(Compare, DifferencesByScope) {
    const CompareScope all = CompareScope::AllFields;
    const CompareScope carried = CompareScope::Carried;
    const struct { // NOLINT(clang-analyzer-optin.performance.Padding)
        const char* name;
        std::function<Config()> base;
        std::function<void(Config&)> editTheirs;
        CompareScope scope;
        std::vector<std::string> places; // places of the differences, in order
        int notCompared = 0;
    } cases[] = {
        // clang-format off
        {"Profibus size", sampleMaster, [](Config& c) { c.Fieldbus.InportNum = "48"; }, all, {"Profibus: Number of Bytes"}},
        {"CANopen parameter", sampleMaster, [](Config& c) { c.Config.SDOTimeout = "300"; }, carried, {"CANopen: SDO Response Timeout"}},
        {"NMT Yes is Enable on the wire", enabledNmt, [](Config& c) { c.Config.NMT = str::Yes; }, carried, {}},
        {"NMT Yes is not Enable as stored", enabledNmt, [](Config& c) { c.Config.NMT = str::Yes; }, all, {"CANopen: Enable NMT"}},
        {"node name is not carried", sampleMaster, [](Config& c) { c.Config.Nodes[0].NodeName = "Pump"; }, carried, {}, 1},
        {"command field", sampleMaster, [](Config& c) { c.Config.Instructions[1].Bytes = "8"; }, carried,
         {"Node 1 / Transmit PDO COB-ID 385: Number of Bytes"}},
        {"shared key in list order", sharedKey, [](Config& c) {
             swapCommands(c, 0, 2); // SDO, second part, first part
             swapCommands(c, 1, 2); // SDO, first part, second part
         }, all, {}},
        {"shared key reordered", sharedKey, [](Config& c) { swapCommands(c, 0, 1); }, all,
         {"Node 5 / Transmit PDO COB-ID 389: Number of Bytes", "Node 5 / Transmit PDO COB-ID 389: Mapping Address (Decimal)",
          "Node 5 / Transmit PDO COB-ID 389: Number of Bytes", "Node 5 / Transmit PDO COB-ID 389: Mapping Address (Decimal)"}},
        {"command on one side only", sampleMaster, [](Config& c) { addCommand(c, kReceivePdo, 2, 514, 0, 1, 7); }, carried,
         {"Node 2 / Receive PDO COB-ID 514"}, 1},
        {"slave mapping is recalculated", sampleSlave, [](Config& c) { c.Config.Instructions[1].MappingAddress = "40"; }, carried, {}},
        {"master and slave", sampleMaster, [](Config& c) { c = newConfiguration(kCanopenSlave); }, all, {"Configuration Type"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Config ours = c.base();
        Config theirs = ours;
        c.editTheirs(theirs);
        const CompareResult r = compareConfigurations(ours, theirs, {c.scope});
        EXPECT_EQ(places(r), c.places);
        EXPECT_EQ(r.notCompared.count, c.notCompared);
        EXPECT_EQ(r.equal(), c.places.empty());
    }
}

TEST(Compare, ValuesPositionsAndCut) {
    // 85 commands: the 85th is not sent, so the gateway's 84 differ by exactly that command.
    GatewayConfiguration ours = masterWithCounts(28, 14, 28, 14);
    addCommand(ours, kReceivePdo, 2, 0x2FF, 0, 1, 60);
    GatewayConfiguration gateway = ours;
    gateway.Config.InstructionCount = kCommandCap;
    CompareOptions carried;
    carried.scope = CompareScope::Carried;
    carried.theirsUploaded = true;
    CompareResult r = compareConfigurations(ours, gateway, carried);
    ASSERT_EQ(r.differences.size(), 1u);
    EXPECT_EQ(shown(r.differences[0]),
              (Shown{"Node 2 / Receive PDO COB-ID 767", str::CompareNotSent.source,
                     str::CompareAbsent.source, PlaceKind::Command, 85}));

    // A slave carries 42 Transmit PDOs; the 43rd is not sent either.
    GatewayConfiguration slave = newConfiguration(kCanopenSlave);
    for (int k = 0; k < 43; ++k) {
        addCommand(slave, kTransmitPdo, 1, 0x181 + k, 0, 1, k);
    }
    GatewayConfiguration slaveGateway = slave;
    --slaveGateway.Config.InstructionCount;
    r = compareConfigurations(slave, slaveGateway, {CompareScope::Carried});
    ASSERT_EQ(r.differences.size(), 1u);
    EXPECT_EQ(r.differences[0].ours.english(), str::CompareNotSent.source);

    // Both sides cut the same command: nothing of it reaches either gateway.
    r = compareConfigurations(ours, ours, {CompareScope::Carried});
    EXPECT_TRUE(r.equal());
    // The last carried command still differs.
    GatewayConfiguration changed = gateway;
    changed.Config.Instructions[kCommandCap - 1].Bytes = "2";
    EXPECT_EQ(compareConfigurations(gateway, changed, carried).differences.size(), 1u);

    // The compatible format refuses more than 14 RPDOs.
    CompareOptions compatible{CompareScope::Carried, DownloadFormat::Tavo20Compatible};
    r = compareConfigurations(masterWithCounts(10, 10, 10, 15), ours, compatible);
    EXPECT_EQ(r.outcome, CompareOutcome::NotDownloadable);
    EXPECT_FALSE(r.equal());

    // Positions are ours.
    GatewayConfiguration a = sampleMaster();
    GatewayConfiguration b = a;
    b.Config.Instructions[3].Bytes = "6";
    swapCommands(b, 0, 3);
    r = compareConfigurations(a, b);
    ASSERT_EQ(r.differences.size(), 1u);
    EXPECT_EQ(shown(r.differences[0]), (Shown{"Node 1 / Receive PDO COB-ID 513: Number of Bytes",
                                              "2", "6", PlaceKind::Command, 4}));
    addCommand(a, kUploadSdo, 2, 0x6000, 1, 2, 10);
    b = a;
    b.Config.Nodes[1].NodeName = "Renamed";
    r = compareConfigurations(a, b);
    ASSERT_EQ(r.differences.size(), 1u);
    EXPECT_EQ(r.differences[0].position, 2);

    // Compatible format: the status fields are not carried, the 8-bit SDO time-out wraps.
    a = sampleMaster();
    b = a;
    b.Config.ControlStatus = a.Config.ControlStatus == str::Enable ? str::Disable : str::Enable;
    b.Config.SDOTimeout = decimalText(decimalValue(a.Config.SDOTimeout) + 256);
    r = compareConfigurations(a, b, compatible);
    EXPECT_TRUE(r.equal());
    EXPECT_EQ(r.notCompared.count, 1);
    r = compareConfigurations(a, b, carried);
    EXPECT_EQ(r.differences.size(), 2u);
}

// An .xml side is read as File -> Open reads it. Whichever side it is on, the fields its file
// does not hold are left out and counted, so both directions give the same differences and the
// same count.
TEST(Compare, XmlSideIsReadAsOpenedAndComparedBothWays) {
    GatewayConfiguration cycles = sampleMaster();
    cycles.Config.RPDOCycle = "55";
    cycles.Config.OutputProcessing = str::Clear;
    GatewayConfiguration otherBytes = sampleMaster();
    otherBytes.Config.Instructions[1].Bytes = "8";
    GatewayConfiguration named = sampleMaster();
    named.Config.Instructions[0].Description = "level";
    const struct {
        const char* name;
        GatewayConfiguration archive;
        GatewayConfiguration saved; // written as XML
        std::string cutAt;          // the XML text ends before its last occurrence
        std::vector<std::string> places;
        int notCompared;
    } cases[] = {
        // clang-format off
        {"master: six rows not held", cycles, otherBytes, "", {"Node 1 / Transmit PDO COB-ID 385: Number of Bytes"}, 6},
        // A damaged file: the last command's description, mapping and bytes are not held.
        {"cut off", named, named, "<Bytes", {}, 9},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string xml = writeXml(c.saved);
        if (!c.cutAt.empty()) {
            xml.resize(xml.rfind(c.cutAt));
        }
        GatewayConfiguration fromXml;
        UnheldFields unheld;
        Message error;
        ASSERT_TRUE(readXmlSide(xml, fromXml, unheld, error)) << error;
        const auto compared = [](GatewayConfiguration a, const UnheldFields* ua,
                                 GatewayConfiguration b, const UnheldFields* ub) {
            NotCompared aside;
            setAsideUnheld(a, ua, b, ub, aside);
            CompareResult r = compareConfigurations(a, b);
            r.notCompared.merge(aside);
            return r;
        };
        const CompareResult ab = compared(c.archive, nullptr, fromXml, &unheld);
        const CompareResult ba = compared(fromXml, &unheld, c.archive, nullptr);
        EXPECT_EQ(places(ab), c.places);
        EXPECT_EQ(places(ba), c.places);
        EXPECT_EQ(ab.notCompared.count, c.notCompared);
        EXPECT_EQ(ba.notCompared.count, ab.notCompared.count);
        EXPECT_EQ(ba.equal(), ab.equal());
    }
}

TEST(Compare, XmlSideThatHoldsNoConfigurationIsRefused) {
    GatewayConfiguration out = sampleMaster();
    UnheldFields unheld;
    Message error;
    EXPECT_FALSE(readXmlSide("<html><body/></html>", out, unheld, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(out, sampleMaster());
}

// Texts that do not decode look alike on screen; they still differ.
TEST(Compare, TextsAreComparedAsBytes) {
    GatewayConfiguration a = sampleMaster();
    GatewayConfiguration b = a;
    a.Config.Instructions[0].Description = "\x80";
    b.Config.Instructions[0].Description = "\xFF";
    a.Config.NodeCount = b.Config.NodeCount = 1;
    a.Config.Nodes[0] = {"1", "\x80"};
    b.Config.Nodes[0] = {"1", "\xFF"};
    EXPECT_EQ(compareConfigurations(a, b).differences.size(), 2U);
}

} // namespace
} // namespace torvane::test
