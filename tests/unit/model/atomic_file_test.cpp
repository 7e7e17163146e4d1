#include "../../support/scratch_dir.h"
#include "model/atomic_file.h"

#include <array>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace torvane {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    test::ScratchDir scratch_;
    const fs::path dir_{scratch_.path};
};

// What a save wrote, read back through readWholeFile; holds a NUL so no step may stop at one.
const std::string kNew("new\0bytes", 9);

std::string contents(const fs::path& p) {
    std::string bytes;
    Message error;
    EXPECT_TRUE(readWholeFile(p.string(), bytes, error)) << error;
    return bytes;
}

void put(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// A character device node like /dev/null; false where the process may not make one.
bool makeNullNode(const fs::path& p, unsigned minor = 3) {
    return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0;
}

// A memory device of our own where the process may make one (as root a broken writer would
// otherwise rename its file over the system's), else the system's /dev/<name>.
std::string memoryDevice(const fs::path& dir, const char* name, unsigned minor) {
    return makeNullNode(dir / name, minor) ? (dir / name).string() : std::string("/dev/") + name;
}

// A file-size limit fails the write for root too (folder permissions would not).
TEST_F(AtomicFileTest, AFailedWriteKeepsThePreviousFile) {
    const fs::path path = dir_ / "a.chg";
    put(path, "precious");
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 4;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    Message error;
    const bool written = writeFileAtomically(path.string(), "longer than the limit", error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.english().empty());
    EXPECT_EQ(contents(path), "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(AtomicFileTest, OnlyARegularFileWithinTheLimitIsRead) {
    const fs::path fifo = dir_ / "fifo.chg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path five = dir_ / "five.chg";
    put(five, "12345");
    fs::create_symlink(five, dir_ / "link.chg");
    const struct {
        std::string path;
        std::uint64_t limit;
        const char* error; // empty: read
    } cases[] = {
        {"/dev/zero", kMaxInputFileBytes, "cannot read /dev/zero: not a regular file"},
        {fifo.string(), kMaxInputFileBytes, "cannot read @: not a regular file"},
        {dir_.string(), kMaxInputFileBytes, "cannot read @: it is a folder"},
        {(dir_ / "nope.chg").string(), kMaxInputFileBytes,
         "cannot open @: No such file or directory"},
        {five.string(), 4, "cannot read @: larger than 4 bytes"},
        {five.string(), 5, ""},
        {(dir_ / "link.chg").string(), kMaxInputFileBytes, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string bytes = "untouched";
        Message error;
        std::string expected = c.error;
        if (const auto at = expected.find('@'); at != std::string::npos) {
            expected.replace(at, 1, c.path);
        }
        EXPECT_EQ(readWholeFile(c.path, bytes, error, c.limit), expected.empty());
        EXPECT_EQ(expected.empty() ? bytes : error.english(),
                  expected.empty() ? "12345" : expected);
        if (!expected.empty()) {
            EXPECT_EQ(bytes, "untouched");
        }
    }
}

TEST_F(AtomicFileTest, SavingOntoWhatIsAlreadyThereLeavesNoTemporaryBehind) {
    const bool root = ::geteuid() == 0;
    struct Case {
        const char* name;
        // Prepares the folder and returns the name to save to; empty when it cannot run here.
        std::function<std::string()> prepare;
        const char* error; // empty: saved; '@' stands for the name saved to
        std::function<void()> check;
    };
    const fs::path real = dir_ / "real.chg";
    const std::string longName(NAME_MAX, 'n');
    int readerFd = -1;
    int descriptor = -1;
    const Case cases[] = {
        {"symlink to a file",
         [&] {
             put(real, "old");
             fs::create_symlink("real.chg", dir_ / "link.chg");
             return (dir_ / "link.chg").string();
         },
         "",
         [&] {
             EXPECT_TRUE(fs::is_symlink(dir_ / "link.chg"));
             EXPECT_EQ(contents(real), kNew);
         }},
        {"dangling symlink",
         [&] {
             fs::create_directory(dir_ / "sub");
             fs::create_symlink("sub/made.chg", dir_ / "link.chg");
             return (dir_ / "link.chg").string();
         },
         "",
         [&] {
             EXPECT_TRUE(fs::is_symlink(dir_ / "link.chg"));
             EXPECT_EQ(contents(dir_ / "sub" / "made.chg"), kNew);
         }},
        {"private file",
         [&] {
             put(real, "old");
             fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
             if (root) {
                 EXPECT_EQ(::chown(real.c_str(), 4242, 4343), 0);
             }
             return real.string();
         },
         "",
         [&] {
             EXPECT_EQ(fs::status(real).permissions(),
                       fs::perms::owner_read | fs::perms::owner_write);
             struct stat st {};
             ASSERT_EQ(::stat(real.c_str(), &st), 0);
             if (root) {
                 EXPECT_EQ(st.st_uid, 4242U);
                 EXPECT_EQ(st.st_gid, 4343U);
             }
             EXPECT_EQ(contents(real), kNew);
         }},
        {"hard-linked file",
         [&] {
             put(real, "old");
             fs::create_hard_link(real, dir_ / "other.chg");
             return real.string();
         },
         "",
         [&] {
             EXPECT_EQ(contents(real), kNew);
             EXPECT_EQ(contents(dir_ / "other.chg"), "old");
             EXPECT_EQ(fs::hard_link_count(real), 1U);
         }},
        {"character device", [&] { return memoryDevice(dir_, "null", 3); }, "",
         [&] {
             EXPECT_TRUE(fs::is_character_file(fs::exists(dir_ / "null") ? dir_ / "null"
                                                                         : fs::path("/dev/null")));
         }},
        {"FIFO with a reader",
         [&] {
             const fs::path fifo = dir_ / "fifo";
             EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
             readerFd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
             EXPECT_GE(readerFd, 0);
             return fifo.string();
         },
         "",
         [&] {
             std::array<char, 16> got{};
             const ssize_t n = ::read(readerFd, got.data(), got.size());
             ::close(readerFd);
             EXPECT_EQ(std::string(got.data(), n > 0 ? static_cast<std::size_t>(n) : 0), kNew);
             EXPECT_TRUE(fs::is_fifo(dir_ / "fifo"));
         }},
        {"FIFO without a reader",
         [&] {
             EXPECT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
             return (dir_ / "fifo").string();
         },
         "cannot save @: no program is reading from the pipe",
         [&] { EXPECT_TRUE(fs::is_fifo(dir_ / "fifo")); }},
        {"full device", [&] { return memoryDevice(dir_, "full", 7); },
         "cannot save @: No space left on device", [] {}},
        {"longest name", [&] { return (dir_ / longName).string(); }, "",
         [&] { EXPECT_EQ(contents(dir_ / longName), kNew); }},
        {"name too long", [&] { return (dir_ / (longName + "n")).string(); },
         "cannot save @: File name too long", [] {}},
        {"missing folder", [&] { return (dir_ / "missing" / "a.chg").string(); },
         "cannot save @: the folder @ does not exist", [] {}},
        // Refused to everyone, root included.
        {"folder that takes no file", [] { return std::string("/sys/torvane.chg"); },
         "cannot save @: the folder @ is not writable: Permission denied", [] {}},
        // Descriptors of this process: their position and append mode hold, and nothing is
        // created or replaced by name.
        {"own descriptor in append mode",
         [&] {
             put(real, "kept ");
             descriptor = ::open(real.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
             return "/dev/fd/" + std::to_string(descriptor);
         },
         "",
         [&] {
             EXPECT_EQ(::write(descriptor, "+", 1), 1);
             ::close(descriptor);
             EXPECT_EQ(contents(real), "kept " + kNew + "+");
         }},
        {"own descriptor at its position",
         [&] {
             put(real, "0123456789abcdef");
             descriptor = ::open(real.c_str(), O_WRONLY | O_CLOEXEC);
             EXPECT_EQ(::lseek(descriptor, 2, SEEK_SET), 2);
             return "/proc/self/fd/" + std::to_string(descriptor);
         },
         "",
         [&] {
             EXPECT_EQ(::lseek(descriptor, 0, SEEK_CUR), 2 + static_cast<off_t>(kNew.size()));
             ::close(descriptor);
             EXPECT_EQ(contents(real), "01" + kNew + "bcdef");
         }},
        {"own descriptor of a deleted file",
         [&] {
             put(real, "");
             descriptor = ::open(real.c_str(), O_RDWR | O_CLOEXEC);
             fs::remove(real);
             fs::create_symlink("/dev/fd/" + std::to_string(descriptor), dir_ / "out.chg");
             return (dir_ / "out.chg").string();
         },
         "",
         [&] {
             std::array<char, 16> got{};
             const ssize_t n = ::pread(descriptor, got.data(), got.size(), 0);
             ::close(descriptor);
             EXPECT_EQ(std::string(got.data(), n > 0 ? static_cast<std::size_t>(n) : 0), kNew);
             EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
         }},
        {"closed descriptor", [] { return std::string("/dev/fd/1000"); },
         "cannot save @: Bad file descriptor", [] {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        const std::string path = c.prepare();
        std::string expected = c.error;
        if (const auto at = expected.find('@'); at != std::string::npos) {
            expected.replace(at, 1, path);
        }
        if (const auto at = expected.find('@'); at != std::string::npos) {
            expected.replace(at, 1, fs::path(path).parent_path().string());
        }
        Message error;
        EXPECT_EQ(writeFileAtomically(path, kNew, error), expected.empty());
        EXPECT_EQ(error.english(), expected);
        c.check();
        for (const auto& entry : fs::directory_iterator(dir_)) {
            EXPECT_NE(entry.path().filename().string().rfind(".tv", 0), 0U)
                << "left behind: " << entry.path();
        }
    }
}

} // namespace
} // namespace torvane
