#include "model/atomic_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace torvane {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() /
            ("torvane-atomic-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    fs::path dir_;
};

TEST_F(AtomicFileTest, ReplacesTheTargetAndLeavesNoTemporaryBehind) {
    const std::string path = (dir_ / "a.chg").string();
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, "old", error)) << error;
    ASSERT_TRUE(writeFileAtomically(path, std::string("new\0bytes", 9), error)) << error;
    std::string back;
    ASSERT_TRUE(readWholeFile(path, back, error));
    EXPECT_EQ(back, std::string("new\0bytes", 9));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(AtomicFileTest, AFailedWriteKeepsThePreviousFile) {
    const std::string path = (dir_ / "a.chg").string();
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, "precious", error));
    if (::geteuid() == 0) {
        // Root ignores folder permissions; a missing folder fails the same way for everyone.
        EXPECT_FALSE(writeFileAtomically((dir_ / "missing" / "a.chg").string(), "x", error));
        EXPECT_NE(error.find("missing"), std::string::npos);
    } else {
        fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_FALSE(writeFileAtomically(path, "lost", error));
        fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::add);
    }
    std::string back;
    ASSERT_TRUE(readWholeFile(path, back, error));
    EXPECT_EQ(back, "precious");
}

TEST_F(AtomicFileTest, ReadingAMissingFileNamesIt) {
    std::string bytes;
    std::string error;
    EXPECT_FALSE(readWholeFile((dir_ / "nope.chg").string(), bytes, error));
    EXPECT_NE(error.find("nope.chg"), std::string::npos);
}

} // namespace
} // namespace torvane
