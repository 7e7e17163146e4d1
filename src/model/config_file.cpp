#include "model/config_file.h"

#include "model/archive.h"
#include "model/atomic_file.h"
#include "model/strings.h"
#include "model/xml_file.h"

namespace torvane {

bool isXmlFileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && name.compare(dot + 1, std::string::npos, "xml") == 0;
}

bool loadConfigurationFile(const std::string& path, GatewayConfiguration& live, DocumentState& doc,
                           Message& error, int* damagedLine) {
    if (damagedLine != nullptr) {
        *damagedLine = 0;
    }
    std::string bytes;
    Message why;
    if (!readWholeFile(path, bytes, why)) {
        error = why;
        return false;
    }
    if (isXmlFileName(path)) {
        // A new configuration of the file's type: nothing of the open one survives.
        if (!readXml(bytes, live, why, damagedLine)) {
            error = Message(str::Colon, path, why);
            return false;
        }
        doc.FileKind = kFileKindXml;
    } else {
        ArchiveContents read;
        if (!readArchive(bytes, read, why)) {
            error = Message(str::Colon, path, Message(str::FileNotArchive, why));
            return false;
        }
        applyArchive(read, live, doc);
        doc.FileKind = kFileKindArchive;
    }
    doc.CurrentFilePath = path;
    return true;
}

bool saveConfigurationFile(const std::string& path, const GatewayConfiguration& cfg,
                           Message& error) {
    const std::string bytes = isXmlFileName(path) ? writeXml(cfg) : writeArchive(cfg);
    return writeFileAtomically(path, bytes, error);
}

std::vector<DroppedField> fieldsLeftOut(const std::string& path, const GatewayConfiguration& cfg) {
    return isXmlFileName(path) ? fieldsXmlDrops(cfg) : std::vector<DroppedField>{};
}

Message damagedXmlMessage(const std::string& path, int line) {
    return {str::Colon, path, Message(str::XmlDamagedAtLine, line)};
}

} // namespace torvane
