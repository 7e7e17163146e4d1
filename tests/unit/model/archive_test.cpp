#include "model/archive.h"
#include "model/atomic_file.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace torvane {
namespace {

std::string dataFile(const std::string& name) {
    std::string bytes;
    Message error;
    EXPECT_TRUE(readWholeFile(std::string(TORVANE_TEST_DATA_DIR) + "/" + name, bytes, error))
        << error;
    return bytes;
}

// Archive bytes put together by hand, so the tests do not lean on the writer.
struct Bytes {
    std::string s;
    Bytes& u16(unsigned v) {
        s += static_cast<char>(v & 0xFF);
        s += static_cast<char>((v >> 8) & 0xFF);
        return *this;
    }
    Bytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& text(const std::string& t) {
        s += static_cast<char>(t.size());
        s += t;
        return *this;
    }
    Bytes& header(const std::string& name) {
        u16(0xFFFF).u16(1).u16(static_cast<unsigned>(name.size()));
        s += name;
        return *this;
    }
};

// Reads bytes the reader must accept.
ArchiveContents readGood(const std::string& bytes) {
    ArchiveContents read;
    Message error;
    EXPECT_TRUE(readArchive(bytes, read, error)) << error;
    return read;
}

// Reads bytes the reader must accept and applies them to `live`; returns the file state.
DocumentState load(const std::string& bytes, GatewayConfiguration& live) {
    DocumentState doc;
    applyArchive(readGood(bytes), live, doc);
    return doc;
}

// Nodes, commands and a text longer than a length byte holds, as the writer stored them.
GatewayConfiguration richConfiguration(int type) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    load(dataFile(type == kCanopenMaster ? "model/rich_master.chg" : "model/rich_slave.chg"), cfg);
    return cfg;
}

TEST(ArchiveWriter, NewMasterConfigurationMatchesTheGoldenFile) {
    EXPECT_EQ(writeArchive(newConfiguration(kCanopenMaster)), dataFile("new_master.chg"));
}

TEST(ArchiveReader, ReadingAndWritingAgainGivesTheSameBytes) {
    for (const std::string& bytes : {dataFile("new_master.chg"), dataFile("model/rich_master.chg"),
                                     dataFile("model/rich_slave.chg")}) {
        GatewayConfiguration live = newConfiguration(kCanopenMaster);
        load(bytes, live);
        EXPECT_EQ(writeArchive(live), bytes);
    }
}

TEST(ArchiveWriter, LengthPrefixGrowsWithTheText) {
    const struct {
        std::size_t n;
        std::string prefix;
    } cases[] = {
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {65533, "\xFF\xFD\xFF"},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
    };
    for (const auto& c : cases) {
        GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
        cfg.Config.ControlStatus = std::string(c.n, 'x'); // the last field of the file
        const std::string bytes = writeArchive(cfg);
        ASSERT_GE(bytes.size(), c.n + c.prefix.size());
        EXPECT_EQ(bytes.substr(bytes.size() - c.n - c.prefix.size(), c.prefix.size()), c.prefix)
            << c.n;
        EXPECT_EQ(readGood(bytes).Config.ControlStatus, cfg.Config.ControlStatus);
    }
}

TEST(ArchiveReader, DecodesEveryPrefixFormIncludingWideTexts) {
    const struct {
        std::string counted;
        std::string expected;
    } cases[] = {
        // The shorter plain forms are read back by the writer's test.
        {std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x03\x00\x00\x00\x00\x00\x00\x00", 15) + "abc",
         "abc"},
        {std::string("\xFF\xFE\xFF\x02", 4) + std::string("4\0A\0", 4), "4A"},
        {std::string("\xFF\xFE\xFF\xFF\x01\x00", 6) + std::string("8\0", 2), "8"},
        // U+4E2D in the code page is D6 D0; an unpaired surrogate cannot be converted.
        {std::string("\xFF\xFE\xFF\x02\x2D\x4E\x31\x00", 8), "\xD6\xD0"
                                                             "1"},
        {std::string("\xFF\xFE\xFF\x01\x00\xD8", 6), "?"},
        // U+20000, a surrogate pair, is four bytes in the code page.
        {std::string("\xFF\xFE\xFF\x02\x40\xD8\x00\xDC", 8), "\x95\x32\x82\x36"},
    };
    const std::string golden = dataFile("new_master.chg");
    for (const auto& c : cases) {
        // Replace the InportNum text (03 "112" at offset 18).
        const std::string bytes = golden.substr(0, 18) + c.counted + golden.substr(22);
        const ArchiveContents read = readGood(bytes);
        EXPECT_EQ(read.Fieldbus.InportNum, c.expected);
        EXPECT_EQ(read.Fieldbus.AuxParam, "125K");
    }
}

// An archive of the given edition holding only the fields that edition carries.
std::string archiveOfEdition(std::uint32_t edition) {
    Bytes b;
    b.u32(0).header("FIELDBUS").text("48").text("a").text("b").text("c");
    b.header("CONFIG").u32(edition);
    for (const char* t : {"0", "500K", "300", "5", "r", "Enable", "7", "8", "9"}) {
        b.text(t);
    }
    if (edition >= 410) {
        b.text("12").text("Clear").text("14");
    }
    if (edition >= 220) {
        b.text("11");
    }
    if (edition >= 500) {
        b.text("Disable").text("3").text("99");
    }
    b.text("1M").text("6").text("20").text("30");
    b.u32(1).u32(1).text("6").text("Pump");
    b.text("6").text("1").text("4").text("2").text("sp").text("0x1000").text("1").text("").text(
        "x");
    b.u32(1);
    if (edition >= 220) {
        b.text("Enable");
    }
    return b.s;
}

TEST(ArchiveReader, OlderEditionsGetTheirDefaults) {
    const struct {
        std::uint32_t edition;
        bool old;
        // ErrorControl, ControlStatus | RPDO cycle, output processing, SDO cycle | SDO options
        const char* fields;
    } cases[] = {
        {210, true, "  |  | Enable 0 0"},
        {220, true, "11 Enable |  | Enable 0 0"},
        {320, false, "11 Enable |0 Hold 0| Enable 0 0"},
        {410, false, "11 Enable |12 Clear 14| Enable 0 0"},
        {500, false, "11 Enable |12 Clear 14| Disable 3 99"},
        // Compared unsigned: a huge edition carries every field, yet as a signed value it is old.
        {0xFFFFFFFFU, true, "11 Enable |12 Clear 14| Disable 3 99"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edition);
        GatewayConfiguration live = newConfiguration(kCanopenSlave);
        const DocumentState doc = load(archiveOfEdition(c.edition), live);
        const CONFIG& k = live.Config;
        EXPECT_EQ(k.ErrorControl + " " + k.ControlStatus + " |" + k.RPDOCycle + " " +
                      k.OutputProcessing + " " + k.SDOCycle + "| " + k.SDOConcurrent + " " +
                      k.SDORetries + " " + k.SDOPollDelay,
                  c.fields);
        EXPECT_EQ(k.SYNC, "9");
        EXPECT_EQ(k.SlaveDelayStart, "30");
        EXPECT_EQ(k.Nodes[0], (NodeEntry{"6", "Pump"}));
        EXPECT_EQ(k.Instructions[0],
                  (INSTRUCTION{"6", "1", "0x1000", "1", "", "4", "2", "x", "sp", 1}));
        EXPECT_EQ(live.ConfigType, kCanopenMaster);
        EXPECT_EQ(doc.OldEditionLoaded, c.old);
        EXPECT_TRUE(doc.LoadedFromArchive);
    }
}

TEST(ArchiveReader, SlaveCommandsTakeTheSlaveNodeAddress) {
    for (const std::uint32_t word : {1U, 2U, 0xFFFFFFFFU}) {
        GatewayConfiguration cfg = richConfiguration(kCanopenSlave);
        cfg.Config.SlaveNodeAddress = "42";
        cfg.Config.Instructions[1].NodeAddress = "99";
        std::string bytes = writeArchive(cfg);
        bytes[0] = static_cast<char>(word & 0xFF);
        bytes[3] = static_cast<char>(word >> 24);
        GatewayConfiguration live = newConfiguration(kCanopenMaster);
        load(bytes, live);
        EXPECT_EQ(live.ConfigType, kCanopenSlave) << word;
        for (int i = 0; i < live.Config.InstructionCount; ++i) {
            EXPECT_EQ(live.Config.Instructions[i].NodeAddress, "42");
        }
    }
}

TEST(ArchiveReader, ApplyKeepsEntriesBeyondTheCountsAndTheTypeText) {
    GatewayConfiguration live = richConfiguration(kCanopenMaster);
    live.Config.ConfigTypeText = "kept";
    load(dataFile("new_master.chg"), live);
    EXPECT_EQ(live.Config.NodeCount, 0);
    EXPECT_EQ(live.Config.Nodes[2].NodeName, "Drive 2");
    EXPECT_EQ(live.Config.Instructions[3].SpareText, "spare");
    EXPECT_EQ(live.Config.ConfigTypeText, "kept");
    EXPECT_EQ(live.Config.ReservedText, "");
    EXPECT_EQ(live.Fieldbus.InportNum, "112");
}

TEST(ArchiveReader, RefusesKnownBadFilesSayingWhatIsWrong) {
    const std::pair<const char*, const char*> cases[] = {
        {"truncated.chg", "ends early"},
        {"wrong_tag.chg", "class tag"},
        {"wrong_schema.chg", "schema"},
        {"wrong_class.chg", "FIELDBOX"},
        {"huge_node_count.chg", "NodeCount 129"},
        {"huge_instruction_count.chg", "InstructionCount 257"},
        {"negative_node_count_no_table.chg", "InstructionCount 2147483647"},
        {"huge_length_16.chg", "InportNum"},
        {"huge_length_32.chg", "InportNum"},
        {"huge_length_64.chg", "InportNum"},
        {"huge_length_wide.chg", "wide characters"},
    };
    for (const auto& [file, words] : cases) {
        ArchiveContents read;
        read.Fieldbus.InportNum = "untouched";
        Message error;
        EXPECT_FALSE(readArchive(dataFile(std::string("bad/") + file), read, error));
        EXPECT_NE(error.english().find(words), std::string::npos) << file << ": " << error;
        EXPECT_EQ(read.Fieldbus.InportNum, "untouched") << file;
    }
}

} // namespace
} // namespace torvane
