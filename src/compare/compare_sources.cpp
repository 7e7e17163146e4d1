#include "compare/compare_sources.h"

#include "model/atomic_file.h"
#include "model/config_file.h"
#include "model/strings.h"

namespace torvane {

bool readFileSide(const std::string& path, FileSide& side, Message& error) {
    FileSide read;
    read.configuration = newConfiguration(kCanopenMaster);
    if (!isXmlFileName(path)) {
        DocumentState doc;
        if (!loadConfigurationFile(path, read.configuration, doc, error)) {
            return false;
        }
        side = std::move(read);
        return true;
    }
    std::string bytes;
    if (!readWholeFile(path, bytes, error)) {
        return false;
    }
    int damagedLine = 0;
    if (!readXmlSide(bytes, read.configuration, read.unheld, error, &damagedLine)) {
        error = Message(str::Colon, path, error);
        return false;
    }
    if (damagedLine > 0) {
        read.warning = damagedXmlMessage(path, damagedLine);
    }
    side = std::move(read);
    return true;
}

CompareResult compareWithFile(const GatewayConfiguration& ours, const UnheldFields* oursUnheld,
                              const FileSide& file, const CompareOptions& options) {
    GatewayConfiguration a = ours;
    GatewayConfiguration b = file.configuration;
    NotCompared unheld;
    setAsideUnheld(a, oursUnheld, b, &file.unheld, unheld);
    CompareResult result = compareConfigurations(a, b, options);
    if (result.outcome == CompareOutcome::Compared) {
        result.notCompared.merge(unheld);
    }
    return result;
}

CompareResult compareWithUpload(const GatewayConfiguration& ours,
                                const GatewayConfiguration& uploaded, DownloadFormat format,
                                bool sdoOptionsRead) {
    CompareOptions options;
    options.scope = CompareScope::Carried;
    options.format = format;
    options.theirsUploaded = true;
    options.sdoOptions = sdoOptionsRead;
    return compareConfigurations(ours, uploaded, options);
}

} // namespace torvane
