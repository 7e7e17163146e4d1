#pragma once

// The INI form of EDS and DCF files, split into sections and keys with their line numbers.
// Forgiving: every line that is no section, key, comment or blank is a note and skipped.
//
// Not libinih: Debian's build hands its callback no line numbers, cuts lines at 200 bytes,
// joins an indented line to the key before it and strips text after ';' from every value,
// and it reports only the first malformed line. The notes need all of these per line.

#include "devices/device_texts.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace torvane {

struct EdsKey {
    std::string name;  // as written
    std::string value; // blanks at either end removed
    int line = 0;
};

struct EdsSection {
    std::string name;  // as written between the brackets
    std::string lower; // lower case: sections and keys are found regardless of case
    int line = 0;
    std::vector<EdsKey> keys; // in file order; a repeated key only once, its first value
    std::unordered_map<std::string, std::size_t> keyIndex; // lower-case name -> keys[i]

    // The key named `lowerName` (lower case); nullptr when the section has none.
    const EdsKey* find(const std::string& lowerName) const;
};

// Splits `utf8` (the whole file as UTF-8) into sections, in file order; a section that
// appears again is read into the first. Comments start with ';' or '#'.
std::vector<EdsSection> lexEds(std::string_view utf8, DeviceNotes& notes);

// Calls `line` with each line of `text` and its number (from 1); lines end in CR LF, LF or a
// lone CR, the line ends of every system.
void forEachLine(std::string_view text, const std::function<void(std::string_view, int)>& line);

// `text` in lower case (ASCII letters only).
std::string lowerAscii(std::string_view text);

} // namespace torvane
