#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace torvane::platform {

// The grid and tree show and edit configuration texts through the core's conversion
// (model/text_codec.h); messages, paths and captions never pass through here.

// The text shown for configuration bytes; a byte that does not decode shows as U+FFFD.
QString fromConfigText(std::string_view bytes);

// The configuration bytes of an edited text (GB18030 holds every Unicode character; a lone
// surrogate becomes '?').
std::string toConfigText(const QString& text);

// The bytes to store for an edited text that was shown from `original`: `original` itself when the
// user left the text as it was shown, so bytes that do not decode survive a click on the cell.
std::string toConfigText(const QString& text, const std::string& original);

} // namespace torvane::platform
