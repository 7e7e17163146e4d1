#pragma once

// TORVANE_TR(context, text) marks a core text the desktop program shows translated. It is the
// English text itself: the core, the command-line tools and every file written keep English.
// The translation catalogue is collected from these marks (lupdate reads the macro as
// QT_TRANSLATE_NOOP), and the GUI translates a text under its context where it shows it.
#define TORVANE_TR(context, text) text
