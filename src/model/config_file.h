#pragma once

#include "model/configuration.h"
#include "model/message.h"
#include "model/xml_file.h"

#include <string>
#include <vector>

namespace torvane {

// True when the text after the last dot of the file name is exactly "xml" (letter case counts).
bool isXmlFileName(const std::string& path);

// Loads an archive or an XML file (chosen by isXmlFileName) into the live configuration; an XML
// file starts from a new configuration of the type it names (readXml).
// Returns false with a message naming the file when it cannot be read or parsed; the live
// configuration and `doc` are then left exactly as they were. On success `doc` gets FileKind and
// CurrentFilePath of the file (an archive also sets LoadedFromArchive and OldEditionLoaded).
// `damagedLine`, when given, gets the line where a damaged XML file stopped being readable (it
// is still loaded as far as it goes), 0 otherwise.
bool loadConfigurationFile(const std::string& path, GatewayConfiguration& live, DocumentState& doc,
                           Message& error, int* damagedLine = nullptr);

// Writes an archive or an XML file (chosen by isXmlFileName) atomically. Returns false with
// "cannot save <path>: <reason>" on failure; the previous file is then intact.
bool saveConfigurationFile(const std::string& path, const GatewayConfiguration& cfg,
                           Message& error);

// The fields a save to `path` leaves out: fieldsXmlDrops for an XML name, none for an archive.
std::vector<DroppedField> fieldsLeftOut(const std::string& path, const GatewayConfiguration& cfg);

// "<path>: damaged at line <line>; read as far as it goes".
Message damagedXmlMessage(const std::string& path, int line);

} // namespace torvane
