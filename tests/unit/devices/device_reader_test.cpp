#include "../../support/scratch_dir.h"
#include "devices/data_types.h"
#include "devices/device_reader.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <utility>
#include <vector>

namespace torvane {
namespace {

std::string devicePath(const std::string& name) {
    return std::string(TORVANE_TEST_DATA_DIR) + "/devices/" + name;
}

using Notes = std::vector<std::pair<DeviceText, int>>;

Notes notesOf(const DeviceDescription& d) {
    Notes out;
    for (const DeviceMessage& n : d.notes) {
        out.emplace_back(n.id, n.line);
    }
    return out;
}

// A small device around `body`: identity and one listed object 0x1000, so each case adds only
// the mess it is about. Its lines 1..14 are these; `body` starts on line 15.
std::string deviceWith(const std::string& body) {
    return "[DeviceInfo]\n"
           "VendorNumber=0x10\n"
           "ProductNumber=0x20\n"
           "RevisionNumber=0x30\n"
           "[MandatoryObjects]\n"
           "SupportedObjects=1\n"
           "1=0x1000\n"
           "[1000]\n"
           "ParameterName=Device type\n"
           "ObjectType=0x7\n"
           "DataType=0x0007\n"
           "AccessType=ro\n"
           "DefaultValue=0x00020192\n"
           "PDOMapping=0\n" +
           body;
}

TEST(DeviceReader, ReadsThePublicFiles) {
    struct Case {
        const char* file;
        const char* vendor;
        const char* product;
        std::optional<std::uint32_t> vendorNumber;
        std::size_t objects;
        std::size_t entries;
        std::size_t notes;
        std::vector<int> baudRates;
        bool dcf;
    };
    const std::vector<int> all = {10, 20, 50, 125, 250, 500, 800, 1000};
    const std::vector<int> no10 = {20, 50, 125, 250, 500, 800, 1000};
    const std::vector<int> no800 = {10, 20, 50, 125, 250, 500, 1000};
    const Case cases[] = {
        {"DS301_profile.eds", "", "New Product", std::nullopt, 33, 170, 19, all, false},
        {"cia402_slave.eds", "ROS-Industrial", "CIA402VTD", 0x555, 70, 154, 0, no10, false},
        {"e35.eds", "Manufacturer", "example", 101, 211, 995, 4, no800, false},
        // A DCF by its [DeviceComissioning] section, whatever its extension.
        {"sample.eds", "Vendor Name", "", 1, 50, 136, 64, {125, 250, 500, 1000}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DeviceDescription d;
        ASSERT_EQ(readDeviceFile(devicePath(c.file), d).result, DeviceReadResult::Ok);
        std::size_t entries = 0;
        for (const DeviceObject& o : d.objects) {
            entries += o.entries.size();
        }
        EXPECT_EQ(std::tie(d.info.vendorName, d.info.productName, d.info.vendorNumber,
                           d.info.baudRates, d.dcf),
                  std::tie(c.vendor, c.product, c.vendorNumber, c.baudRates, c.dcf));
        EXPECT_EQ(std::make_tuple(d.objects.size(), entries, d.notes.size()),
                  std::make_tuple(c.objects, c.entries, c.notes));
    }
}

TEST(DeviceReader, ReadsEntriesAsTheFilesWriteThem) {
    struct Case {
        const char* file;
        const char* name;
        const char* defaultValue;
        std::uint16_t index;
        std::uint16_t dataType;
        std::uint8_t sub;
        AccessType access;
        bool pdoMapping;
    };
    const Case cases[] = {
        {"DS301_profile.eds", "COB-ID used by TPDO", "$NODEID+0xC0000180", 0x1800, 0x0007, 1,
         AccessType::ReadWrite, false},
        // CompactSubObj: the count at sub-index 0, names from [3004Name] or made up.
        {"sample.eds", "Number of entries", "3", 0x3004, 0x0005, 0, AccessType::ReadOnly, false},
        {"sample.eds", "Valve 1 % Open 24", "", 0x3006, 0x0008, 24, AccessType::ReadWrite, false},
        // "[3010Sub0]": section names in any case.
        {"sample.eds", "Temperature", "0", 0x3010, 0x0008, 0, AccessType::ReadOnly, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.index));
        DeviceDescription d;
        ASSERT_EQ(readDeviceFile(devicePath(c.file), d).result, DeviceReadResult::Ok);
        const DeviceEntry* e = d.findEntry(c.index, c.sub);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(std::tie(e->name, e->dataType, e->access, e->pdoMapping, e->defaultValue),
                  std::tie(c.name, c.dataType, c.access, c.pdoMapping, c.defaultValue));
    }
}

// Each kind of mess vendors ship: noted at its line, and the rest of the file is read.
TEST(DeviceReader, NotesEveryRepairAndReadsOn) {
    struct Case {
        const char* what;
        std::string body; // from line 15
        Notes notes;
    };
    const Case cases[] = {
        {"stray text and a junk line",
         "[OptionalObjects]\nSupportedObjects=0\nthis is no key\n=no name\n",
         {{DeviceText::NotAKey, 17}, {DeviceText::NotAKey, 18}}},
        {"repeated key: the first value counts",
         "[1000]\nDefaultValue=7\n",
         {{DeviceText::DuplicateSection, 15}, {DeviceText::DuplicateKey, 16}}},
        {"unclosed section name and text after one",
         "[1001\nParameterName=x\nDataType=5\nAccessType=ro\n[2000] junk\n",
         {{DeviceText::UnclosedSection, 15},
          {DeviceText::NotListed, 15},
          {DeviceText::TextAfterSection, 19},
          {DeviceText::MissingName, 19},
          {DeviceText::MissingDataType, 19},
          {DeviceText::MissingAccessType, 19},
          {DeviceText::NotListed, 19}}},
        {"listed but missing, and the reverse",
         "[OptionalObjects]\nSupportedObjects=2\n1=0x1008\n2=1018h\n"
         "[2001]\nParameterName=x\nDataType=5\nAccessType=rw\n",
         {{DeviceText::ListedMissing, 17},
          {DeviceText::BadListEntry, 18},
          {DeviceText::NotListed, 19}}},
        {"empty and malformed values, unknown types",
         "[OptionalObjects]\nSupportedObjects=4\n1=0x2001\n2=0x2002\n3=0x2003\n4=0x2004\n"
         "[2001]\nParameterName=a\nDataType=0x0006\nAccessType=rw\nDefaultValue=\n"
         "[2002]\nParameterName=b\nDataType=0x0005\nAccessType=rw\nDefaultValue=0x100\n"
         "[2003]\nParameterName=c\nDataType=0x0099\nAccessType=read\n"
         "[2004]\nParameterName=d\nObjectType=0x3\nDataType=0x0008\nAccessType=ro\n",
         {{DeviceText::EmptyValue, 25},
          {DeviceText::BadValue, 30},
          {DeviceText::UnknownDataType, 33},
          {DeviceText::UnknownAccessType, 34},
          {DeviceText::BadObjectType, 37}}},
        {"sub-objects: count, orphan, CompactSubObj misplaced",
         "[OptionalObjects]\nSupportedObjects=3\n1=0x2001\n2=0x2002\n3=0x2003\n"
         "[2001]\nParameterName=r\nObjectType=0x9\nSubNumber=3\n"
         "[2001sub0]\nParameterName=n\nDataType=5\nAccessType=ro\nDefaultValue=1\n"
         "[2001subFF]\nParameterName=last\nDataType=5\nAccessType=ro\n"
         "[2002sub1]\nParameterName=o\nDataType=5\nAccessType=ro\n"
         "[2003]\nParameterName=v\nCompactSubObj=2\nDataType=5\nAccessType=ro\n",
         {{DeviceText::SubNumberMismatch, 23},
          {DeviceText::SubWithoutObject, 33},
          {DeviceText::CompactNotArray, 37}}},
        {"texts too long to keep or to share",
         "[OptionalObjects]\nSupportedObjects=2\n1=0x2001\n2=0x2002\n[2001]\nParameterName=" +
             std::string(242, 'x') +
             "\nDataType=5\nAccessType=ro\n[2002]\nParameterName=a\nObjectType=8\n"
             "CompactSubObj=254\nDataType=9\nAccessType=ro\nDefaultValue=" +
             std::string(1100, 'y') + "\n",
         {{DeviceText::NameTooLong, 20}, {DeviceText::CompactTooLong, 23}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceDescription d;
        ASSERT_EQ(readDevice(deviceWith(c.body), "mess.eds", d).result, DeviceReadResult::Ok);
        EXPECT_EQ(notesOf(d), c.notes);
        // Whatever the mess, the rest is read.
        ASSERT_NE(d.findEntry(0x1000, 0), nullptr);
        EXPECT_EQ(d.findEntry(0x1000, 0)->defaultValue, "0x00020192");
        EXPECT_EQ(d.info.productNumber, 0x20U);
    }
}

// Whole texts: what is missing around the objects, and the encodings and line ends of every system.
TEST(DeviceReader, NotesWhatIsMissingAndReadsEveryEncoding) {
    struct Case {
        const char* what;
        std::string text;
        const char* vendor;
        Notes notes;
    };
    const Case cases[] = {
        {"text before the first section, no object lists",
         "Exported by a tool\n; a comment\n# another\n[1000]\nParameterName=x\nDataType=7\n"
         "AccessType=ro\n",
         "",
         {{DeviceText::NoObjectLists, 0},
          {DeviceText::NoDeviceInfo, 0},
          {DeviceText::TextOutsideSection, 1}}},
        {"UTF-8 with a byte order mark, CR LF",
         "\xEF\xBB\xBF[DeviceInfo]\r\nVendorName=M\xC3\xBCller\r\n",
         "M\xC3\xBCller",
         {}},
        {"Windows-1252 from line 3, lone CR, no line end at the end",
         "[DeviceInfo]\rProductName=x\rVendorName=M\xFCller \x80",
         "M\xC3\xBCller \xE2\x82\xAC",
         {{DeviceText::NotUtf8, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceDescription d;
        ASSERT_EQ(readDevice(c.text, "x.eds", d).result, DeviceReadResult::Ok);
        EXPECT_EQ(d.info.vendorName, c.vendor);
        EXPECT_EQ(notesOf(d), c.notes);
    }
}

TEST(DeviceReader, RefusesOnlyWhatHoldsNoDevice) {
    const std::string garbage("\x00\xFF\x10[\n=\n\x7F", 8);
    for (const std::string& text : {std::string(), std::string("[FileInfo]\nFileName=x\n"),
                                    std::string("[Comments]\nLines=1\nLine1=[1000]\n"), garbage}) {
        SCOPED_TRACE(text);
        DeviceDescription d;
        d.info.vendorName = "kept";
        const DeviceReadOutcome o = readDevice(text, "x.eds", d);
        EXPECT_EQ(o.result, DeviceReadResult::NoDevice);
        EXPECT_EQ(englishText(o.message),
                  "holds no device description: no [DeviceInfo] section and no objects");
        EXPECT_EQ(d.info.vendorName, "kept");
    }
}

TEST(DeviceReader, RefusesAFifoWithoutWaiting) {
    const test::ScratchDir dir;
    const std::string fifo = dir.file("pipe.eds");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    DeviceDescription d;
    const DeviceReadOutcome o = readDeviceFile(fifo, d);
    EXPECT_EQ(o.result, DeviceReadResult::Unreadable);
    EXPECT_NE(englishText(o.message).find(fifo), std::string::npos);
}

} // namespace
} // namespace torvane
