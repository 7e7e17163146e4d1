#include "devices/device_library.h"

#include "devices/device_reader.h"
#include "devices/eds_lexer.h"
#include "model/atomic_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace torvane {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDcfSuffix = ":dcf";

// A file read for importing, with what the library holds under its name before.
struct Pending {
    std::string source;
    std::string bytes;
    std::string key;
    std::string path;
    bool replaces = false;
    std::string previous;
    std::size_t notes = 0;
};

LibraryOutcome failure(LibraryResult result, std::string file, DeviceText id,
                       std::vector<Message> args) {
    return {result, std::move(file), {id, std::move(args), 0}};
}

// Reads `source` and what the library stores under its name; Ok or NotRead/SameDevice.
LibraryOutcome prepare(const std::string& folder, const std::string& source, Pending& p) {
    Message error;
    if (!readWholeFile(source, p.bytes, error, kMaxDeviceFileBytes)) {
        return failure(LibraryResult::NotRead, source, DeviceText::ReadFailed, {error});
    }
    DeviceDescription device;
    if (const DeviceReadOutcome read = readDevice(p.bytes, source, device);
        read.result != DeviceReadResult::Ok) {
        return {LibraryResult::NotRead, source, read.message};
    }
    p.source = source;
    p.key = deviceKey(device, source);
    p.notes = device.notes.size();
    p.path = (fs::path(folder) / storedFileName(p.key, device.dcf)).string();
    std::error_code ec;
    if (!fs::exists(p.path, ec)) {
        return {};
    }
    if (!readWholeFile(p.path, p.previous, error, kMaxDeviceFileBytes)) {
        return failure(LibraryResult::NotSaved, source, DeviceText::LibrarySaveFailed, {error});
    }
    p.replaces = true;
    // Only the same device is replaced, never another one whose file took the name.
    DeviceDescription stored;
    if (readDevice(p.previous, p.path, stored).result == DeviceReadResult::Ok) {
        if (const std::string storedKey = deviceKey(stored, p.path); storedKey != p.key) {
            return failure(LibraryResult::SameDevice, source, DeviceText::LibraryNameTaken,
                           plainTexts({p.path, storedKey}));
        }
    }
    return {};
}

// Puts back what the library held before `done` were written.
void undo(const std::vector<Pending>& done) {
    for (const Pending& p : done) {
        Message ignored;
        std::error_code ec;
        if (p.replaces) {
            writeFileAtomically(p.path, p.previous, ignored);
        } else {
            fs::remove(p.path, ec);
        }
    }
}

} // namespace

std::string deviceKey(const DeviceDescription& device, const std::string& fileName) {
    const DeviceInfo& i = device.info;
    std::string key;
    if (i.vendorNumber.value_or(0) == 0 && i.productNumber.value_or(0) == 0 &&
        i.revisionNumber.value_or(0) == 0) {
        key = fs::path(fileName).stem().string();
        std::replace(key.begin(), key.end(), ':', '_');
        if (key.empty() || key.front() == '.') {
            key.insert(0, "_");
        }
    } else {
        char buf[40];
        std::snprintf(buf, sizeof buf, "0x%08X:0x%08X:0x%08X", i.vendorNumber.value_or(0),
                      i.productNumber.value_or(0), i.revisionNumber.value_or(0));
        key = buf;
    }
    return device.dcf ? key + std::string(kDcfSuffix) : key;
}

std::string storedFileName(const std::string& key, bool dcf) {
    std::string name =
        key.ends_with(kDcfSuffix) ? key.substr(0, key.size() - kDcfSuffix.size()) : key;
    std::replace(name.begin(), name.end(), ':', '_');
    return name + (dcf ? ".dcf" : ".eds");
}

LibraryOutcome importDevices(const std::string& folder, const std::vector<std::string>& files,
                             std::vector<ImportedDevice>& imported) {
    std::vector<Pending> pending;
    for (const std::string& source : files) {
        Pending p;
        if (LibraryOutcome o = prepare(folder, source, p); o.result != LibraryResult::Ok) {
            return o;
        }
        for (const Pending& other : pending) {
            if (other.key == p.key) {
                return failure(LibraryResult::SameDevice, source, DeviceText::LibrarySameDevice,
                               plainTexts({other.source, p.key}));
            }
        }
        pending.push_back(std::move(p));
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        return failure(LibraryResult::NotSaved, folder, DeviceText::LibraryFolderFailed,
                       plainTexts({folder, ec.message()}));
    }
    std::vector<Pending> done;
    for (Pending& p : pending) {
        Message error;
        if (!writeFileAtomically(p.path, p.bytes, error)) {
            undo(done);
            return failure(LibraryResult::NotSaved, p.source, DeviceText::LibrarySaveFailed,
                           {error});
        }
        done.push_back(std::move(p));
    }
    imported.clear();
    for (const Pending& p : done) {
        imported.push_back({p.source, p.key, p.path, p.replaces, p.notes});
    }
    return {};
}

std::vector<LibraryDevice> listDevices(const std::string& folder,
                                       std::vector<DeviceMessage>& problems) {
    std::vector<LibraryDevice> devices;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        return devices;
    }
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path& path = it->path();
        const std::string name = path.filename().string();
        const std::string ext = lowerAscii(path.extension().string());
        // Names starting with '.' are the temporary files of an interrupted save.
        if (name.starts_with(".") || (ext != ".eds" && ext != ".dcf")) {
            continue;
        }
        LibraryDevice d;
        d.path = path.string();
        if (const DeviceReadOutcome read = readDeviceFile(d.path, d.device);
            read.result != DeviceReadResult::Ok) {
            problems.push_back({DeviceText::LibraryStoredUnreadable,
                                {Message::plain(d.path), deviceMessage(read.message)},
                                0});
            continue;
        }
        d.key = deviceKey(d.device, d.path);
        devices.push_back(std::move(d));
    }
    if (ec) {
        problems.push_back(
            {DeviceText::LibraryStoredUnreadable, plainTexts({folder, ec.message()}), 0});
    }
    std::sort(devices.begin(), devices.end(),
              [](const LibraryDevice& a, const LibraryDevice& b) { return a.key < b.key; });
    return devices;
}

LibraryOutcome removeDevice(const std::string& folder, const std::string& key,
                            LibraryDevice& removed) {
    std::vector<DeviceMessage> ignored;
    std::vector<LibraryDevice> devices = listDevices(folder, ignored);
    auto it = std::find_if(devices.begin(), devices.end(),
                           [&](const LibraryDevice& d) { return d.key == key; });
    if (it == devices.end()) {
        it = std::find_if(devices.begin(), devices.end(), [&](const LibraryDevice& d) {
            return d.key.starts_with("0x") && lowerAscii(d.key) == lowerAscii(key);
        });
    }
    if (it == devices.end()) {
        return failure(LibraryResult::NotFound, folder, DeviceText::LibraryNotFound,
                       plainTexts({key, folder}));
    }
    std::error_code ec;
    if (!fs::remove(it->path, ec) || ec) {
        return failure(
            LibraryResult::NotRemoved, it->path, DeviceText::LibraryRemoveFailed,
            plainTexts(
                {it->path, (ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory))
                               .message()}));
    }
    removed = std::move(*it);
    return {};
}

} // namespace torvane
