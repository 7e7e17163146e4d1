#pragma once

// The device layer's messages: an id into one table of marked texts (context "Devices", English
// with numbered placeholders), the arguments, and the line of the file they are about. An id
// lets tests and the command line tell the notes apart; deviceMessage() makes the Message the
// command line prints in English and the window translates.

#include "model/message.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

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
    Count
};

// One message: what it says, what fills its placeholders, and where (0: no line).
struct DeviceMessage {
    DeviceText id = DeviceText::ReadFailed;
    std::vector<Message> args;
    int line = 0;
};

// The marked text of `id`; an empty source for an id out of range.
Text deviceText(DeviceText id);

// Texts read from a file or given by the system, as arguments shown as they are.
std::vector<Message> plainTexts(std::vector<std::string> texts);

// `message` without its line, as a Message.
Message deviceMessage(const DeviceMessage& message);

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
