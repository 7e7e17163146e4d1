#include "../../support/scratch_dir.h"
#include "devices/device_library.h"
#include "devices/device_reader.h"
#include "model/atomic_file.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace torvane {
namespace {

namespace fs = std::filesystem;

std::string devicePath(const std::string& name) {
    return std::string(TORVANE_TEST_DATA_DIR) + "/devices/" + name;
}

class DeviceLibrary : public ::testing::Test {
protected:
    // A copy of `text` as `name` outside the library.
    std::string source(const std::string& name, const std::string& text) {
        std::string path = (work_ / name).string();
        Message error;
        EXPECT_TRUE(writeFileAtomically(path, text, error)) << error;
        return path;
    }

    std::vector<std::string> keys() {
        std::vector<DeviceMessage> problems;
        std::vector<std::string> out;
        for (const LibraryDevice& d : listDevices(folder_, problems)) {
            out.push_back(d.key);
        }
        EXPECT_TRUE(problems.empty());
        return out;
    }

    test::ScratchDir scratch_;
    const fs::path work_{scratch_.path};
    const std::string folder_ = (work_ / "Geräte" / "devices").string();
};

TEST_F(DeviceLibrary, KeysNameTheDevice) {
    struct Case {
        std::string text;
        const char* file;
        const char* key;
    };
    const Case cases[] = {
        {"[DeviceInfo]\nVendorNumber=0x65\nProductNumber=25\nRevisionNumber=0x127\n", "a.eds",
         "0x00000065:0x00000019:0x00000127"},
        {"[DeviceInfo]\nVendorNumber=0\nProductNumber=0\n", "/x/Drive v2.eds", "Drive v2"},
        {"[DeviceInfo]\nVendorNumber=0x65\n", "/x/b.DCF", "0x00000065:0x00000000:0x00000000:dcf"},
        {"[DeviceInfo]\n[DeviceComissioning]\nNodeID=5\n", "/x/c.eds", "c:dcf"},
        {"[DeviceInfo]\n", "/x/a:b.eds", "a_b"},
        {"[DeviceInfo]\n", "/x/.eds", "_.eds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        DeviceDescription d;
        ASSERT_EQ(readDevice(c.text, c.file, d).result, DeviceReadResult::Ok);
        EXPECT_EQ(deviceKey(d, c.file), c.key);
    }
    EXPECT_EQ(storedFileName("0x00000065:0x00000019:0x00000127:dcf", true),
              "0x00000065_0x00000019_0x00000127.dcf");
}

TEST_F(DeviceLibrary, ImportsListsReplacesAndRemovesWhatReads) {
    std::vector<ImportedDevice> imported;
    const std::vector<std::string> files = {devicePath("e35.eds"), devicePath("sample.eds"),
                                            devicePath("datatypes.eds")};
    ASSERT_EQ(importDevices(folder_, files, imported).result, LibraryResult::Ok);
    ASSERT_EQ(imported.size(), 3U);
    EXPECT_FALSE(imported[0].replaced);
    EXPECT_EQ(imported[0].notes, 4U);
    EXPECT_EQ(keys(), (std::vector<std::string>{"0x00000001:0x00000000:0x00000000:dcf",
                                                "0x00000065:0x00000019:0x00000127", "datatypes"}));

    // Copied unchanged.
    std::string original;
    std::string stored;
    Message error;
    ASSERT_TRUE(readWholeFile(devicePath("e35.eds"), original, error));
    ASSERT_TRUE(readWholeFile(imported[0].path, stored, error));
    EXPECT_EQ(stored, original);

    // The same key again replaces it.
    ASSERT_EQ(importDevices(folder_, {devicePath("e35.eds")}, imported).result, LibraryResult::Ok);
    EXPECT_TRUE(imported.at(0).replaced);
    EXPECT_EQ(keys().size(), 3U);

    LibraryDevice removed;
    ASSERT_EQ(removeDevice(folder_, "0x00000065:0x00000019:0x00000127", removed).result,
              LibraryResult::Ok);
    EXPECT_FALSE(fs::exists(removed.path));
    // Hex digits in either case.
    ASSERT_EQ(removeDevice(folder_, "0X00000001:0x00000000:0x00000000:DCF", removed).result,
              LibraryResult::Ok);
    EXPECT_EQ(removeDevice(folder_, "datatypes.eds", removed).result, LibraryResult::NotFound);
    EXPECT_EQ(keys(), std::vector<std::string>{"datatypes"});

    // What no longer reads is left out and named; other files are not looked at.
    ASSERT_TRUE(writeFileAtomically(folder_ + "/broken.eds", "nothing", error));
    ASSERT_TRUE(writeFileAtomically(folder_ + "/.tv12345", "[DeviceInfo]\n", error));
    ASSERT_TRUE(writeFileAtomically(folder_ + "/notes.txt", "[DeviceInfo]\n", error));
    std::vector<DeviceMessage> problems;
    const std::vector<LibraryDevice> devices = listDevices(folder_, problems);
    ASSERT_EQ(devices.size(), 1U);
    EXPECT_EQ(devices[0].key, "datatypes");
    ASSERT_EQ(problems.size(), 1U);
    EXPECT_EQ(problems[0].id, DeviceText::LibraryStoredUnreadable);
    EXPECT_EQ(problems[0].args.at(0).english(), folder_ + "/broken.eds");
}

TEST_F(DeviceLibrary, FailedImportsWriteNothing) {
    const std::string device = source("drive.eds", "[DeviceInfo]\nVendorNumber=7\n");
    const std::string same = source("drive copy.eds", "[DeviceInfo]\nVendorNumber=7\n");
    const std::string noDevice = source("readme.eds", "[FileInfo]\nFileName=x\n");
    struct Case {
        const char* what;
        std::vector<std::string> files;
        LibraryResult result;
        std::string file;
    };
    const Case cases[] = {
        {"a file without a device", {device, noDevice}, LibraryResult::NotRead, noDevice},
        {"two files of one device", {device, same}, LibraryResult::SameDevice, same},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ImportedDevice> imported;
        const LibraryOutcome o = importDevices(folder_, c.files, imported);
        EXPECT_EQ(o.result, c.result);
        EXPECT_EQ(o.file, c.file);
        EXPECT_TRUE(imported.empty());
        EXPECT_FALSE(fs::exists(folder_));
    }

    // A stored file whose name another device took is never overwritten.
    fs::create_directories(folder_);
    const std::string other = (fs::path(folder_) / "0x00000007_0x00000000_0x00000000.eds").string();
    Message error;
    ASSERT_TRUE(writeFileAtomically(other, "[DeviceInfo]\nVendorNumber=8\n", error));
    std::vector<ImportedDevice> imported;
    EXPECT_EQ(importDevices(folder_, {device}, imported).result, LibraryResult::SameDevice);
    std::string kept;
    ASSERT_TRUE(readWholeFile(other, kept, error));
    EXPECT_EQ(kept, "[DeviceInfo]\nVendorNumber=8\n");
}

} // namespace
} // namespace torvane
