#include "editor/cell_notes.h"

#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_number.h"

#include <algorithm>

namespace torvane {

Message rangeNote(std::string_view typed, long lo, long hi) {
    const std::string low = decimalText(lo);
    const std::string high = decimalText(hi);
    if (typed.empty()) {
        return {str::NoteValueNeeded, low, high};
    }
    const bool digits =
        std::all_of(typed.begin(), typed.end(), [](char c) { return c >= '0' && c <= '9'; });
    const long value = decodeNumber(typed).number;
    // Digits naming an allowed value were kept out for their form ("007").
    if (!digits || (value >= lo && value <= hi)) {
        return {str::NoteNotPlainDecimal, typed, low, high};
    }
    return {str::NoteOutOfRange, typed, low, high};
}

Message listNote(std::string_view typed) {
    return {str::NoteNotInList, typed};
}

} // namespace torvane
