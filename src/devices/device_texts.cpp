#include "devices/device_texts.h"

#include "model/translatable.h"

#include <algorithm>
#include <array>

namespace torvane {
namespace {

struct Entry {
    DeviceText id;
    Text text;
};

// Every text of the device layer. Section names stand in brackets as the file writes them.
constexpr std::array kTexts{
    Entry{DeviceText::ReadFailed, TORVANE_TR("Devices", "%1")},
    Entry{DeviceText::NoDevice,
          TORVANE_TR("Devices",
                     "holds no device description: no [DeviceInfo] section and no objects")},
    Entry{DeviceText::NotUtf8,
          TORVANE_TR("Devices", "text that is not UTF-8 (first on this line); the whole "
                                "file is read as Windows-1252")},
    Entry{DeviceText::TextOutsideSection,
          TORVANE_TR("Devices", "text before the first section ignored: %1")},
    Entry{DeviceText::NotAKey,
          TORVANE_TR("Devices", "line is no key, section or comment; ignored: %1")},
    Entry{DeviceText::UnclosedSection,
          TORVANE_TR("Devices", "section name [%1 has no closing bracket; read as [%1]")},
    Entry{DeviceText::TextAfterSection,
          TORVANE_TR("Devices", "text after the section name [%1] ignored: %2")},
    Entry{DeviceText::DuplicateSection,
          TORVANE_TR("Devices", "section [%1] appears again (first at line %2); its keys are "
                                "added to the first, whose values are kept")},
    Entry{
        DeviceText::DuplicateKey,
        TORVANE_TR("Devices", "[%1] %2 appears again (first at line %3); the first value is kept")},
    Entry{DeviceText::UnknownSection, TORVANE_TR("Devices", "unknown section [%1] ignored")},
    Entry{DeviceText::ModularSection,
          TORVANE_TR("Devices",
                     "[%1] describes a modular device; modules are not supported and ignored")},
    Entry{DeviceText::NoDeviceInfo,
          TORVANE_TR("Devices", "no [DeviceInfo] section: the device has no names or numbers")},
    Entry{DeviceText::NoObjectLists,
          TORVANE_TR("Devices", "no object lists ([MandatoryObjects], [OptionalObjects], "
                                "[ManufacturerObjects]); every object section is read")},
    Entry{DeviceText::ListedMissing,
          TORVANE_TR("Devices", "[%1] lists object %2, which has no section")},
    Entry{DeviceText::NotListed,
          TORVANE_TR("Devices", "object [%1] is in no object list; read all the same")},
    Entry{DeviceText::ListCount,
          TORVANE_TR("Devices", "[%1] says SupportedObjects=%2 but lists %3 objects")},
    Entry{DeviceText::BadListEntry,
          TORVANE_TR("Devices", "[%1] %2=%3 is no object index; ignored")},
    Entry{DeviceText::SubWithoutObject,
          TORVANE_TR("Devices", "sub-object [%1] has no object section [%2]")},
    Entry{DeviceText::MissingName, TORVANE_TR("Devices", "[%1] has no ParameterName")},
    Entry{DeviceText::NameTooLong,
          TORVANE_TR("Devices", "[%1] %2 is longer than the 241 characters CiA 306 allows; cut")},
    Entry{DeviceText::BadObjectType,
          TORVANE_TR("Devices", "[%1] ObjectType=%2 is unknown; read as %3")},
    Entry{DeviceText::SubNumberMismatch,
          TORVANE_TR("Devices", "[%1] says SubNumber=%2 but has %3 sub-objects")},
    Entry{DeviceText::NoSubObjects, TORVANE_TR("Devices", "[%1] (%2) has no sub-objects")},
    Entry{DeviceText::CompactNotArray,
          TORVANE_TR("Devices", "[%1] has CompactSubObj but is no ARRAY; CompactSubObj ignored")},
    Entry{DeviceText::CompactWithSubs,
          TORVANE_TR("Devices", "[%1] has CompactSubObj and sub-object sections; the sections "
                                "are read")},
    Entry{DeviceText::CompactTooLong,
          TORVANE_TR("Devices", "[%1] CompactSubObj=%2: the texts its sub-objects would share "
                                "are too long; the sub-objects are left out")},
    Entry{DeviceText::MissingDataType, TORVANE_TR("Devices", "[%1] has no DataType")},
    Entry{DeviceText::UnknownDataType,
          TORVANE_TR("Devices", "[%1] DataType=%2 is no CiA 301 basic type; its size is unknown")},
    Entry{DeviceText::MissingAccessType, TORVANE_TR("Devices", "[%1] has no AccessType")},
    Entry{DeviceText::UnknownAccessType,
          TORVANE_TR("Devices", "[%1] AccessType=%2 is unknown; neither read nor written")},
    Entry{DeviceText::EmptyValue, TORVANE_TR("Devices", "[%1] %2 is empty")},
    Entry{DeviceText::BadValue, TORVANE_TR("Devices", "[%1] %2=%3 is no valid %4 value; ignored")},
    Entry{DeviceText::BadNumber, TORVANE_TR("Devices", "[%1] %2=%3 is no number; ignored")},
    Entry{DeviceText::ParameterValueInEds,
          TORVANE_TR("Devices", "ParameterValue belongs to DCF files; in this EDS file the "
                                "default PDOs use DefaultValue")},
    Entry{DeviceText::PdoCountMismatch,
          TORVANE_TR("Devices", "[DeviceInfo] says %1=%2 but the file describes %3 such PDOs")},
    Entry{DeviceText::PdoNoCobId, TORVANE_TR("Devices", "%1 has no usable COB-ID in [%2]")},
    Entry{DeviceText::PdoExtendedId,
          TORVANE_TR("Devices", "%1 has a 29-bit COB-ID (%2), which the gateway cannot use")},
    Entry{DeviceText::PdoNoMapping, TORVANE_TR("Devices", "%1 has no mapping object [%2]")},
    Entry{DeviceText::PdoEntryMissing,
          TORVANE_TR("Devices", "%1 maps %2 objects but mapping entry %3 is missing")},
    Entry{DeviceText::PdoBadEntry,
          TORVANE_TR("Devices", "%1 mapping entry %2 (%3) maps nothing; ignored")},
    Entry{DeviceText::PdoUnknownObject,
          TORVANE_TR("Devices", "%1 maps %2 sub %3, which the file does not describe")},
    Entry{DeviceText::PdoEntrySize,
          TORVANE_TR("Devices", "%1 maps %2 sub %3 with %4 bits, but its type %5 has %6 bits")},
    Entry{DeviceText::PdoTooLong,
          TORVANE_TR("Devices", "%1 maps %2 bits, more than the 64 of a CAN frame")},
    Entry{DeviceText::NotesLeftOut, TORVANE_TR("Devices", "%1 more notes left out")},
    Entry{DeviceText::LibraryFolderFailed,
          TORVANE_TR("Devices", "cannot create the device library %1: %2")},
    Entry{DeviceText::LibrarySaveFailed,
          TORVANE_TR("Devices", "not imported, the library is left as it was: %1")},
    Entry{DeviceText::LibrarySameDevice,
          TORVANE_TR("Devices", "describes the same device as %1 (%2); import one of them")},
    Entry{
        DeviceText::LibraryNameTaken,
        TORVANE_TR("Devices", "would replace %1 of the library, which holds another device (%2)")},
    Entry{DeviceText::LibraryNotFound, TORVANE_TR("Devices", "no device %1 in the library %2")},
    Entry{DeviceText::LibraryRemoveFailed, TORVANE_TR("Devices", "cannot remove %1: %2")},
    Entry{DeviceText::LibraryStoredUnreadable,
          TORVANE_TR("Devices", "%1 of the library is left out: %2")},
};
static_assert(kTexts.size() == static_cast<std::size_t>(DeviceText::Count));

constexpr bool inOrder() {
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        if (static_cast<std::size_t>(kTexts[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(inOrder(), "the table follows the order of DeviceText");

} // namespace

Text deviceText(DeviceText id) {
    const auto i = static_cast<std::size_t>(id);
    return i < kTexts.size() ? kTexts[i].text : Text{"Devices", ""};
}

std::vector<Message> plainTexts(std::vector<std::string> texts) {
    std::vector<Message> out;
    out.reserve(texts.size());
    for (std::string& t : texts) {
        out.push_back(Message::plain(std::move(t)));
    }
    return out;
}

Message deviceMessage(const DeviceMessage& message) {
    return {deviceText(message.id), message.args};
}

std::string englishText(const DeviceMessage& message) {
    return deviceMessage(message).english();
}

std::string shortened(std::string_view utf8, std::size_t limit) {
    if (utf8.size() <= limit) {
        return std::string(utf8);
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(utf8.substr(0, cut)) + "...";
}

void DeviceNotes::add(int line, DeviceText id, std::vector<std::string> args) {
    if (notes_.size() < kLimit) {
        notes_.push_back({id, plainTexts(std::move(args)), line});
    } else {
        ++leftOut_;
    }
}

std::vector<DeviceMessage> DeviceNotes::take() {
    std::stable_sort(
        notes_.begin(), notes_.end(),
        [](const DeviceMessage& a, const DeviceMessage& b) { return a.line < b.line; });
    if (leftOut_ > 0) {
        notes_.push_back({DeviceText::NotesLeftOut, {Message::plain(std::to_string(leftOut_))}, 0});
        leftOut_ = 0;
    }
    std::vector<DeviceMessage> out = std::move(notes_);
    notes_.clear();
    return out;
}

} // namespace torvane
