#include "model/atomic_file.h"

#include "model/strings.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace torvane {
namespace {

namespace fs = std::filesystem;

// The system's words for `err`, shown as they are.
Message reason(int err) {
    return Message::plain(std::strerror(err));
}

// Owns one descriptor; close() reports the error a close of a written file may carry.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    int close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd);
    }

private:
    int fd_;
};

// Writes every byte; returns 0 or the errno of the failure. A reader that goes away mid-write
// gives EPIPE instead of a SIGPIPE that would end the whole program; a descriptor someone set
// non-blocking is waited for.
int writeAll(int fd, std::string_view bytes) {
    sigset_t pipeOnly;
    sigset_t previous;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    int err = 0;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd ready{fd, POLLOUT, 0};
            if (::poll(&ready, 1, -1) >= 0 || errno == EINTR) {
                continue;
            }
        }
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (err == EPIPE) {
        const timespec now{};
        sigtimedwait(&pipeOnly, nullptr, &now); // the signal this write raised
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return err;
}

// True when `folder` is this process's table of open descriptors (/proc/<pid>/fd, or a thread's
// /proc/<pid>/task/<tid>/fd), whatever name leads there (/dev/fd, /proc/self/fd).
bool isOwnDescriptorFolder(const fs::path& folder) {
    std::error_code ec;
    const fs::path real = fs::canonical(folder, ec);
    if (ec) {
        return false;
    }
    const std::string own = "/proc/" + std::to_string(::getpid());
    if (real == fs::path(own) / "fd") {
        return true;
    }
    const fs::path task = real.parent_path().parent_path();
    return task == fs::path(own) / "task" && real.filename() == "fd";
}

// The descriptor of this process that `path` names (/dev/stdout, /dev/stderr, /dev/fd/N,
// /proc/self/fd/N, or a link to one of them), or -1. Such a name leads through /proc to the
// file behind the descriptor; opening or replacing that file by its name would lose the
// descriptor's position and append mode, or recreate a deleted file as "name (deleted)".
int ownDescriptor(const std::string& path) {
    fs::path p(path);
    for (int hop = 0; hop < 40; ++hop) {
        const std::string name = p.filename().string();
        if (!name.empty() && name.size() <= 9 &&
            std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
            isOwnDescriptorFolder(p.parent_path().empty() ? fs::path(".") : p.parent_path())) {
            return std::stoi(name);
        }
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return -1;
        }
        std::error_code ec;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) {
            return -1;
        }
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    return -1;
}

// Writes at the descriptor's own position (or its end, in append mode); the descriptor stays
// open. Returns 0 or the errno of the failure.
int writeToDescriptor(int fd, std::string_view bytes) {
    if (::fcntl(fd, F_GETFL) < 0) {
        return errno;
    }
    // What this program printed before must come first on a shared stdout.
    std::fflush(nullptr);
    return writeAll(fd, bytes);
}

// `path` with every symlink followed, also when the last one names a file that does not exist
// yet. False with the errno when the links loop.
bool followLinks(const std::string& path, std::string& target, int& err) {
    fs::path p(path);
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = p.string();
            return true;
        }
        std::error_code ec;
        const fs::path next = fs::read_symlink(p, ec);
        if (ec) {
            err = ec.value();
            return false;
        }
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    err = ELOOP;
    return false;
}

// Six random letters and digits.
std::string randomTag() {
    static constexpr std::string_view kChars =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device rd;
    std::mt19937 gen(rd() ^ static_cast<unsigned>(std::time(nullptr)));
    std::uniform_int_distribution<std::size_t> pick(0, kChars.size() - 1);
    std::string tag(6, ' ');
    std::generate(tag.begin(), tag.end(), [&] { return kChars[pick(gen)]; });
    return tag;
}

// Writes into an existing file that is not a regular file (a device, a FIFO, a pipe reached
// through /dev/stdout). Returns 1 when it turned out to be a regular file after all.
int writeThrough(const std::string& path, const struct stat& seen, std::string_view bytes,
                 Message& why) {
    // Without O_NONBLOCK a FIFO nobody reads would hold the open forever.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        why = errno == ENXIO && S_ISFIFO(seen.st_mode) ? Message(str::FileNoPipeReader)
                                                       : reason(errno);
        return -1;
    }
    Descriptor file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        why = reason(errno);
        return -1;
    }
    if (S_ISREG(st.st_mode)) {
        return 1;
    }
    // A reader is there now; let it take the bytes at its own pace.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    if (const int err = writeAll(fd, bytes); err != 0) {
        why = reason(err);
        return -1;
    }
    if (file.close() != 0) {
        why = reason(errno);
        return -1;
    }
    return 0;
}

// Replaces the regular (or missing) file `target` through a temporary file beside it.
bool replaceFile(const std::string& target, std::string_view bytes, Message& why) {
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    fs::path folder = fs::path(target).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    // A short name: a target name the folder accepts must not fail for the temporary's sake.
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tmp = (folder / (".tv" + randomTag())).string();
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existed ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) {
            if (errno == ENOENT || errno == ENOTDIR) {
                why = Message(str::FileFolderMissing, folder.string());
            } else if (errno == EACCES || errno == EPERM || errno == EROFS) {
                // The file itself may be writable; the temporary beside it is what fails.
                why = Message(str::FileFolderNotWritable, folder.string(), reason(errno));
            } else {
                why = reason(errno);
            }
            return false;
        }
    }
    if (fd < 0) {
        why = reason(EEXIST);
        return false;
    }
    Descriptor file(fd);
    auto discard = [&](int err) {
        why = reason(err);
        ::unlink(tmp.c_str());
        return false;
    };
    if (existed) {
        // Owner first: a change of owner clears set-id bits that fchmod then restores. Only root
        // may give a file away; anyone else keeps their own ownership.
        const int chownResult = ::fchown(fd, old.st_uid, old.st_gid);
        static_cast<void>(chownResult);
        if (::fchmod(fd, old.st_mode & 07777) != 0) {
            return discard(errno);
        }
    }
    if (const int err = writeAll(fd, bytes); err != 0) {
        return discard(err);
    }
    if (::fsync(fd) != 0) {
        return discard(errno);
    }
    if (file.close() != 0) {
        return discard(errno);
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        return discard(errno);
    }
    // The rename itself reaches the disk with the folder.
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes, Message& error) {
    Message why;
    auto fail = [&] {
        error = Message(str::FileCannotSave, path, why);
        return false;
    };
    if (path.empty()) {
        why = reason(ENOENT);
        return fail();
    }
    if (const int fd = ownDescriptor(path); fd >= 0) {
        const int err = writeToDescriptor(fd, bytes);
        why = reason(err);
        return err == 0 || fail();
    }
    // stat() follows every link, also /proc's (/dev/stdout), to what the name reaches now.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        const int through = writeThrough(path, st, bytes, why);
        if (through < 0) {
            return fail();
        }
        if (through == 0) {
            return true;
        }
    }
    std::string target;
    int err = 0;
    if (!followLinks(path, target, err)) {
        why = reason(err);
        return fail();
    }
    return replaceFile(target, bytes, why) || fail();
}

bool readWholeFile(const std::string& path, std::string& bytes, Message& error,
                   std::uint64_t limit) {
    auto fail = [&](const Message& why) {
        error = Message(str::FileCannotRead, path, why);
        return false;
    };
    // Opening a device can have effects of its own (a serial line's modem lines), so what is
    // plainly not a file is refused unopened; the fstat below decides for the opened file.
    struct stat seen {};
    if (::stat(path.c_str(), &seen) == 0 && !S_ISREG(seen.st_mode) && !S_ISDIR(seen.st_mode)) {
        return fail(str::FileNotRegular);
    }
    // O_NONBLOCK: a FIFO put there since would otherwise wait for a writer in open().
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = Message(str::FileCannotOpen, path, reason(errno));
        return false;
    }
    Descriptor file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return fail(reason(errno));
    }
    if (S_ISDIR(st.st_mode)) {
        return fail(str::FileIsFolder);
    }
    if (!S_ISREG(st.st_mode)) {
        return fail(str::FileNotRegular);
    }
    const Message tooLarge(str::FileTooLarge, limit);
    if (static_cast<std::uint64_t>(st.st_size) > limit) {
        return fail(tooLarge);
    }
    // One byte more than the size, to notice a file that grows while it is read.
    std::string data(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == data.size()) {
            if (used > limit) {
                return fail(tooLarge);
            }
            data.resize(static_cast<std::size_t>(std::min<std::uint64_t>(limit + 1, used * 2)));
        }
        const ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return fail(reason(errno));
        }
        if (n == 0) {
            break;
        }
        used += static_cast<std::size_t>(n);
    }
    if (used > limit) {
        return fail(tooLarge);
    }
    data.resize(used);
    bytes = std::move(data);
    return true;
}

} // namespace torvane
