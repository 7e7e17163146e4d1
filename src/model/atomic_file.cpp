#include "model/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace torvane {
namespace {

std::string temporaryNameBeside(const std::filesystem::path& target) {
    std::random_device rd;
    const unsigned long tag = (static_cast<unsigned long>(rd()) << 8) ^ rd();
    std::filesystem::path tmp = target;
    tmp += ".tmp" + std::to_string(tag);
    return tmp.string();
}

bool flushToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

} // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    const std::filesystem::path target(path);
    const std::string tmp = temporaryNameBeside(target);
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (f == nullptr) {
        error = "cannot create " + tmp + ": " + std::strerror(errno);
        return false;
    }
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int savedErrno = errno;
    if (ok && !flushToDisk(f)) {
        ok = false;
        savedErrno = errno;
    }
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        error = "cannot write " + path + ": " + std::strerror(savedErrno);
        std::remove(tmp.c_str());
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(tmp, target, ec);
    if (ec) {
        error = "cannot replace " + path + ": " + ec.message();
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "cannot read " + path + ": it is a folder";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    bytes = std::move(data);
    return true;
}

} // namespace torvane
