#pragma once

namespace torvane {

// A text the core marks for translation: the context it is translated under and its English
// source. The core, the command-line tools and every file written keep the English; the desktop
// program translates the source under its context where it shows it.
struct Text {
    const char* context;
    const char* source;
};

} // namespace torvane

// TORVANE_TR(context, text) marks a core text. The translation catalogue is collected from these
// marks (lupdate reads the macro as QT_TRANSLATE_NOOP); numbered placeholders (%1 to %9) stand
// for the arguments a Message gives them.
#define TORVANE_TR(context, text)                                                                  \
    ::torvane::Text {                                                                              \
        context, text                                                                              \
    }
