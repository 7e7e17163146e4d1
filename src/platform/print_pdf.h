#pragma once

#include <string>

namespace torvane::platform {

// The HTML page as an A4 PDF document in `pdf`, laid out by Qt's rich-text engine. Without a
// running GUI application one is started on the offscreen platform, so no display is needed.
// Returns false with Qt's reason in `error` when the document cannot be written.
bool htmlToPdf(const std::string& html, const std::string& title, std::string& pdf,
               std::string& error);

} // namespace torvane::platform
