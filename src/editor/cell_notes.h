#pragma once

// The notes a grid cell gives when it keeps a typed text out without a message box.

#include "model/message.h"

#include <string_view>

namespace torvane {

// A number cell kept `typed` out: it is empty, not a plain decimal number, or outside lo..hi.
Message rangeNote(std::string_view typed, long lo, long hi);

// A list cell kept `typed` out: it is none of the list's entries.
Message listNote(std::string_view typed);

} // namespace torvane
