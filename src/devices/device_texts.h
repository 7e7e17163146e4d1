#pragma once

// The device layer's messages as data: an id into one table of English texts with numbered
// placeholders (%1, %2, ...), the arguments, and the line of the file they are about. The
// command line renders them in English; the desktop program translates the text under
// kDeviceTextContext before it fills in the arguments.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

inline constexpr const char* kDeviceTextContext = "Devices";

enum class DeviceText : std::uint8_t {
    // Refusals of a whole file.
    ReadFailed,
    NoDevice,
    // Notes of the reader: the file was read all the same.
    NotUtf8,
    TextOutsideSection,
    NotAKey,
    UnclosedSection,
    TextAfterSection,
    DuplicateSection,
    DuplicateKey,
    UnknownSection,
    ModularSection,
    NoDeviceInfo,
    NoObjectLists,
    ListedMissing,
    NotListed,
    ListCount,
    BadListEntry,
    SubWithoutObject,
    MissingName,
    NameTooLong,
    BadObjectType,
    SubNumberMismatch,
    NoSubObjects,
    CompactNotArray,
    CompactWithSubs,
    CompactTooLong,
    MissingDataType,
    UnknownDataType,
    MissingAccessType,
    UnknownAccessType,
    EmptyValue,
    BadValue,
    BadNumber,
    ParameterValueInEds,
    PdoCountMismatch,
    // Notes about the default PDOs.
    PdoNoCobId,
    PdoExtendedId,
    PdoNoMapping,
    PdoEntryMissing,
    PdoBadEntry,
    PdoUnknownObject,
    PdoEntrySize,
    PdoTooLong,
    NotesLeftOut,
    // The device library.
    LibraryFolderFailed,
    LibrarySaveFailed,
    LibrarySameDevice,
    LibraryNameTaken,
    LibraryNotFound,
    LibraryRemoveFailed,
    LibraryStoredUnreadable,
    // Why a device's PDO or object cannot become a command, and what a command still needs.
    CommandNoCobId,
    CommandExtendedId,
    CommandNoData,
    CommandNotWholeBytes,
    CommandPdoTooLong,
    CommandNotEnabled,
    CommandNoObject,
    CommandNotReadable,
    CommandNotWritable,
    CommandSdoSize,
    CommandSdoNoSize,
    Count
};

// One message: what it says, what fills its placeholders, and where (0: no line).
struct DeviceMessage {
    DeviceText id = DeviceText::ReadFailed;
    std::vector<std::string> args;
    int line = 0;
};

// The English source text of `id`, with its placeholders; empty for an id out of range.
const char* deviceTextSource(DeviceText id);

// `source` with %1..%9 replaced by `args` (UTF-8); a placeholder without an argument stays.
std::string fillPlaceholders(std::string_view source, const std::vector<std::string>& args);

// The English text of `message`, without its line.
std::string englishText(const DeviceMessage& message);

// A text from a device file as a placeholder's argument: at most `limit` bytes, cut at a
// character boundary and marked with "...", so a line of binary junk stays one short note.
std::string shortened(std::string_view utf8, std::size_t limit = 60);

// Collects notes up to a limit; what comes after is counted in one last note, so that a file of
// junk cannot fill the memory with notes.
class DeviceNotes {
public:
    static constexpr std::size_t kLimit = 1000;

    void add(int line, DeviceText id, std::vector<std::string> args = {});
    // The notes ordered by line (notes of one line in the order they were added), then
    // the count of those left out.
    std::vector<DeviceMessage> take();

private:
    std::vector<DeviceMessage> notes_;
    std::size_t leftOut_ = 0;
};

} // namespace torvane
