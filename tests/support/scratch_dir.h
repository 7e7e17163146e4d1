#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace torvane::test {

// A folder of one's own under /tmp, removed with everything in it, also where a test took
// away its permissions.
struct ScratchDir {
    ScratchDir() {
        char name[] = "/tmp/torvane-testXXXXXX";
        if (::mkdtemp(name) != nullptr) {
            path = name;
        }
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

} // namespace torvane::test
