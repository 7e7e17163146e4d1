#pragma once

#include <memory>
#include <string>

class QGuiApplication;

namespace torvane::platform {

// A GUI application on the offscreen platform for as long as it lives, so a program without a
// window (the command line) can lay out and print pages; nothing when an application runs.
class OffscreenApplication {
public:
    OffscreenApplication();
    ~OffscreenApplication();
    OffscreenApplication(const OffscreenApplication&) = delete;
    OffscreenApplication& operator=(const OffscreenApplication&) = delete;

private:
    std::unique_ptr<QGuiApplication> app_;
};

// The HTML page as an A4 PDF document in `pdf`, laid out by Qt's rich-text engine; a GUI
// application must be running (OffscreenApplication where there is none). Returns false with
// the reason in `error` when there is none or the document cannot be written.
bool htmlToPdf(const std::string& html, const std::string& title, std::string& pdf,
               std::string& error);

} // namespace torvane::platform
