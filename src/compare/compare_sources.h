#pragma once

// The two comparisons the program offers: the open configuration (or a file) against a
// configuration file, and against what an upload read from the gateway. The command line's diff
// and verify and the window's Compare commands run them alike.

#include "compare/configuration_compare.h"
#include "model/message.h"

#include <string>

namespace torvane {

// A configuration file read as one side of a comparison.
struct FileSide {
    GatewayConfiguration configuration;
    UnheldFields unheld; // what an XML file does not hold; nothing for an archive
    Message warning;     // how far a damaged XML file was read; empty for a sound file
};

// Reads `path` as a side: an XML file (by its name) as File -> Open reads it, anything else as an
// archive over a new master configuration. Returns false with the message naming the file in
// `error`; `side` is then unchanged.
bool readFileSide(const std::string& path, FileSide& side, Message& error);

// `ours` against a file in the scope of `options`. The fields that either side's XML file does
// not hold are set aside and counted as not compared; `oursUnheld` is null for a side that holds
// every field (the open configuration, an archive). NotDownloadable as compareConfigurations.
CompareResult compareWithFile(const GatewayConfiguration& ours, const UnheldFields* oursUnheld,
                              const FileSide& file, const CompareOptions& options = {});

// `ours` against the configuration a successful upload read, in the carried scope of the format
// the gateway stores; `sdoOptionsRead`: its firmware answered the SDO options request.
// NotDownloadable when `ours` cannot be put in that format.
CompareResult compareWithUpload(const GatewayConfiguration& ours,
                                const GatewayConfiguration& uploaded, DownloadFormat format,
                                bool sdoOptionsRead);

} // namespace torvane
