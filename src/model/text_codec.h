#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torvane {

// Configuration texts (descriptions, node names, every grid value) are byte strings in GB18030,
// a superset of the "gb2312" the XML file declares; ASCII is identical. Everything shown to a
// person (messages, the screen, the workbook, JSON) is UTF-8. These functions are the program's
// only conversion between the two; paths are never passed through them.

// UTF-8 of a configuration text. A byte that does not begin a GB18030 character (or a character
// cut short at the end) becomes U+FFFD and decoding goes on with the next byte.
std::string configTextToUtf8(std::string_view bytes);

// UTF-8 of a configuration text, or nullopt when any byte does not decode.
std::optional<std::string> decodeConfigText(std::string_view bytes);

// The configuration bytes of a UTF-8 text. A character GB18030 cannot hold (only a surrogate or
// no converter at all) and each byte of malformed UTF-8 become '?'.
std::string configTextFromUtf8(std::string_view utf8);

// The text in the terminal's encoding `codeset` (nl_langinfo(CODESET)): the bytes as they are when
// the terminal is GB18030-compatible, else converted, with '?' for what the codeset cannot show.
std::string configTextForTerminal(std::string_view bytes, const char* codeset);

} // namespace torvane
