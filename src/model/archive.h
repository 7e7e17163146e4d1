#pragma once

#include "model/configuration.h"
#include "model/message.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace torvane {

// What a .chg archive holds, read into temporaries so a failed read changes nothing live.
struct ArchiveContents {
    std::int32_t ConfigType = kCanopenMaster; // the first word as stored (any value but 0 = slave)
    FIELDBUS Fieldbus;
    CONFIG Config;
};

// The archive bytes (edition 500) of a configuration.
std::string writeArchive(const GatewayConfiguration& cfg);

// Parses archive bytes. Returns false with a readable reason in `error` (no file name; the
// caller adds it) when the stream is short, a header is wrong or a table count is too large.
bool readArchive(std::string_view bytes, ArchiveContents& out, Message& error);

// Replaces the live configuration by a successfully read archive and updates the file state
// (OldEditionLoaded, LoadedFromArchive). Table entries beyond the counts keep their contents.
void applyArchive(const ArchiveContents& in, GatewayConfiguration& live, DocumentState& doc);

} // namespace torvane
