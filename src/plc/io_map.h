#pragma once

// The printable I/O map: what a commissioning file keeps of a configuration, as one
// self-contained HTML page (the PDF is this page printed by the platform layer).

#include "model/configuration.h"
#include "model/message.h"

#include <functional>
#include <string>

namespace torvane {

// A marked text (context, English source) in the reader's language; null gives English.
using TextTranslator = Message::Translate;

struct IoMapOptions {
    std::string fileName; // the configuration's file as the reader should see it; empty: unsaved
    std::string date;     // when the map was made, as it is to be printed
    int inputStart = 0;   // PLC byte address of the first input byte
    int outputStart = 0;  // PLC byte address of the first output byte
};

// The map's page: identity (file, date, configuration type, gateway parameters), a table per
// buffer in mapping-address order, the free bytes, the pre-download checks and the least cycle
// times. Values from the configuration are shown as they are; labels go through `translate`.
// Never fails: a command without a mapping address is listed at the end of its buffer.
std::string ioMapHtml(const GatewayConfiguration& cfg, const IoMapOptions& options,
                      const TextTranslator& translate);

// The English page, for the command line.
std::string ioMapHtml(const GatewayConfiguration& cfg, const IoMapOptions& options);

} // namespace torvane
