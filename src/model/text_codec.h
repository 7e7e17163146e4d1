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

// Whether printableText doubles a backslash. A message of the program's own keeps its
// backslashes, which separate the parts of a path there ("\"CANopen Network\SYNC\"is empty").
enum class Backslash { Escape, Keep };

// The one form in which the command line prints a text: each control character (U+0000 to
// U+001F, U+007F to U+009F) and each byte that is no UTF-8 as \xNN, a line end as \n, a
// backslash as \\; everything else as it is. No file name, device text or configuration can
// then move the cursor, recolour the terminal or split one line of output into two.
std::string printableText(std::string_view utf8, Backslash backslash = Backslash::Escape);

// A configuration text as printableText shows it, decoded from GB18030 first; a byte that does
// not decode is shown as \xNN too.
std::string printableConfigText(std::string_view bytes);

// printableConfigText in the terminal's encoding `codeset` (nl_langinfo(CODESET)), with '?'
// for what the codeset cannot show.
std::string configTextForTerminal(std::string_view bytes, const char* codeset);

// Whether `bytes` is well-formed UTF-8: no stray or missing continuation byte, no overlong
// form, no surrogate, nothing above U+10FFFF.
bool isUtf8(std::string_view bytes);

// UTF-8 of a text in Windows-1252, the code page of older device description files; the five
// bytes that code page leaves undefined become U+FFFD.
std::string windows1252ToUtf8(std::string_view bytes);

} // namespace torvane
