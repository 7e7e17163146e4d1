#pragma once

#include "model/configuration.h"

#include <string>
#include <string_view>

namespace torvane {

// The XML file bytes of a configuration (declaration version "1.0", encoding "gb2312").
std::string writeXml(const GatewayConfiguration& cfg);

// Reads XML file bytes into the live configuration, positionally and forgivingly: a missing
// element ends the reading and keeps what was read. Returns false (and changes nothing) only
// when the bytes hold no element at all; `error` then says so. `damagedLine`, when given, gets
// the line where a malformed text stopped being readable, 0 when the text was well-formed.
bool readXml(std::string_view bytes, GatewayConfiguration& live, std::string& error,
             int* damagedLine = nullptr);

} // namespace torvane
