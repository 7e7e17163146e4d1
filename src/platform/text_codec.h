#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace torvane::platform {

// Configuration texts are GB18030 byte strings (a superset of the "gb2312" the XML file declares;
// ASCII is identical). These two are the only place the program converts them.

// The text shown for configuration bytes; undecodable bytes show as U+FFFD.
QString fromConfigText(std::string_view bytes);

// The configuration bytes of an edited text (GB18030 holds every Unicode character).
std::string toConfigText(const QString& text);

// The bytes to store for an edited text that was shown from `original`: `original` itself when the
// user left the text as it was shown, so bytes that do not decode survive a click on the cell.
std::string toConfigText(const QString& text, const std::string& original);

} // namespace torvane::platform
