#include "model/xml_file.h"

#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_codec.h"
#include "model/text_number.h"

#include <algorithm>
#include <span>
#include <tinyxml2.h>
#include <vector>

namespace torvane {
namespace {

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;
using tinyxml2::XMLNode;

constexpr char kValue[] = "Value";
constexpr char kDeclaration[] = R"(xml version="1.0" encoding="gb2312")";
// Deeper nesting is refused by the XML library; the salvage scan stops there too.
constexpr int kMaxDepth = TINYXML2_MAX_ELEMENT_DEPTH;

// ---- Writing ---------------------------------------------------------------------------------

class XmlBuilder {
public:
    explicit XmlBuilder(XMLDocument& doc) : doc_(doc) {}

    XMLElement* add(XMLNode* parent, const char* name, const std::string& value) {
        XMLElement* e = doc_.NewElement(name);
        e->SetAttribute(kValue, value.c_str());
        parent->InsertEndChild(e);
        return e;
    }

private:
    XMLDocument& doc_;
};

// Any code but the four is written as a Download SDO.
const char* xmlCommandName(const std::string& type) {
    const CommandType* t = findCommandType(type);
    return (t != nullptr ? *t : commandType(CommandKind::DownloadSdo)).xmlName;
}

std::string commandCode(std::string_view xmlName) {
    for (const CommandType& t : kCommandTypes) {
        if (xmlName == t.xmlName) {
            return t.code;
        }
    }
    return {};
}

// ---- Salvaging a malformed file --------------------------------------------------------------

struct OpenElement {
    std::string_view name;
    int parent;
};

// A place where the text may be cut: the elements open there are closed after the cut.
struct Cut {
    std::size_t pos;
    int open;
};

std::string_view tagName(std::string_view s, std::size_t from) {
    std::size_t end = from;
    while (end < s.size() && s[end] != '>' && s[end] != '/' && s[end] != ' ' && s[end] != '\t' &&
           s[end] != '\r' && s[end] != '\n') {
        ++end;
    }
    return s.substr(from, end - from);
}

// Finds the '>' that ends a start tag, skipping quoted attribute values; npos when none.
std::size_t startTagEnd(std::string_view s, std::size_t from) {
    char quote = 0;
    for (std::size_t i = from; i < s.size(); ++i) {
        const char c = s[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '<') {
            return std::string_view::npos;
        } else if (c == '>') {
            return i;
        }
    }
    return std::string_view::npos;
}

// Lists the markup boundaries of `s` up to the first place where its structure breaks (a tag
// that never ends, a closing tag that does not match), with the elements open at each.
std::vector<Cut> scanCuts(std::string_view s, std::vector<OpenElement>& opens) {
    std::vector<Cut> cuts;
    int top = -1;
    int depth = 0;
    std::size_t i = 0;
    auto skipPast = [&](std::size_t from, std::string_view terminator) {
        const std::size_t at = s.find(terminator, from);
        return at == std::string_view::npos ? at : at + terminator.size();
    };
    for (;;) {
        const std::size_t lt = s.find('<', i);
        if (lt == std::string_view::npos) {
            cuts.push_back({s.size(), top});
            break;
        }
        cuts.push_back({lt, top});
        const std::string_view rest = s.substr(lt);
        std::size_t end = std::string_view::npos;
        if (rest.starts_with("<?")) {
            end = skipPast(lt + 2, "?>");
        } else if (rest.starts_with("<!--")) {
            end = skipPast(lt + 4, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            end = skipPast(lt + 9, "]]>");
        } else if (rest.starts_with("<!")) {
            end = skipPast(lt + 2, ">");
        } else if (rest.starts_with("</")) {
            const std::string_view name = tagName(s, lt + 2);
            if (top < 0 || opens[static_cast<std::size_t>(top)].name != name) {
                break;
            }
            end = skipPast(lt + 2, ">");
            top = opens[static_cast<std::size_t>(top)].parent;
            --depth;
        } else {
            const std::string_view name = tagName(s, lt + 1);
            const std::size_t gt = startTagEnd(s, lt + 1 + name.size());
            if (name.empty() || gt == std::string_view::npos) {
                break;
            }
            end = gt + 1;
            if (s[gt - 1] != '/') {
                if (depth >= kMaxDepth) {
                    break;
                }
                opens.push_back({name, top});
                top = static_cast<int>(opens.size()) - 1;
                ++depth;
            }
        }
        if (end == std::string_view::npos) {
            break;
        }
        i = end;
    }
    return cuts;
}

bool parsesAt(std::string_view s, const Cut& cut, const std::vector<OpenElement>& opens,
              XMLDocument& doc) {
    std::string text(s.substr(0, cut.pos));
    for (int t = cut.open; t >= 0; t = opens[static_cast<std::size_t>(t)].parent) {
        text += "</";
        text += opens[static_cast<std::size_t>(t)].name;
        text += '>';
    }
    const tinyxml2::XMLError result = doc.Parse(text.data(), text.size());
    return result == tinyxml2::XML_SUCCESS || result == tinyxml2::XML_ERROR_EMPTY_DOCUMENT;
}

// What was wrong with the whole text; line 0 when it was well-formed.
struct Complaint {
    Message words;
    int line = 0;
};

// The library's error in words a user reads, with the line where the reading stopped.
Complaint complaintOf(const XMLDocument& doc) {
    const int line = std::max(doc.ErrorLineNum(), 1);
    if (doc.ErrorID() == tinyxml2::XML_ERROR_EMPTY_DOCUMENT) {
        return {str::XmlEmpty, line};
    }
    return {Message(str::XmlMalformedAtLine, line), line};
}

// Parses `s`; when it is malformed, keeps the longest well-formed beginning (its open elements
// closed), so a damaged or cut-off file is still read as far as it goes. A well-formed
// beginning stays well-formed when shortened, so the longest one is found by bisection.
// Returns what was wrong with the whole text; its line is where the reading stopped.
Complaint parseForgiving(std::string_view s, XMLDocument& doc) {
    if (doc.Parse(s.data(), s.size()) == tinyxml2::XML_SUCCESS) {
        return {};
    }
    Complaint complaint = complaintOf(doc);
    std::vector<OpenElement> opens;
    const std::vector<Cut> cuts = scanCuts(s, opens);
    std::size_t lo = 0;
    std::size_t hi = cuts.size() - 1;
    while (lo < hi) {
        const std::size_t mid = (lo + hi + 1) / 2;
        if (parsesAt(s, cuts[mid], opens, doc)) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    if (!parsesAt(s, cuts[lo], opens, doc)) {
        doc.Clear();
        return complaint;
    }
    // What was read ends where the first markup left out begins.
    const std::string_view kept = s.substr(0, cuts[lo].pos);
    complaint.line = 1 + static_cast<int>(std::count(kept.begin(), kept.end(), '\n'));
    return complaint;
}

// ---- Reading ---------------------------------------------------------------------------------

// The Value attribute; an element without it reads as an empty text.
std::string valueOf(const XMLElement* e) {
    const char* v = e->Attribute(kValue);
    return v == nullptr ? std::string() : std::string(v);
}

const XMLElement* findChildByValue(const XMLElement* parent, std::string_view value) {
    for (const XMLElement* e = parent->FirstChildElement(); e != nullptr;
         e = e->NextSiblingElement()) {
        const char* v = e->Attribute(kValue);
        if (std::string_view(v == nullptr ? "" : v) == value) {
            return e;
        }
    }
    return nullptr;
}

// Reads one command into `ins` field by field; false when an element it needs is missing.
bool readCommand(const XMLElement* c, INSTRUCTION& ins) {
    const XMLElement* a = c->FirstChildElement();
    if (a == nullptr) {
        return false;
    }
    ins.InstructionType = commandCode(valueOf(a));
    const XMLElement* e = a->NextSiblingElement();
    if (e == nullptr) {
        return false;
    }
    ins.NodeAddress = valueOf(e);
    std::vector<std::string*> fields;
    if (isPdoCommand(ins.InstructionType)) {
        fields = {&ins.CobId};
    } else {
        fields = {&ins.Index, &ins.SubIndex};
    }
    fields.insert(fields.end(), {&ins.Bytes, &ins.MappingAddress, &ins.Description});
    for (std::string* field : fields) {
        e = e->NextSiblingElement();
        if (e == nullptr) {
            return false;
        }
        *field = valueOf(e);
    }
    e = e->NextSiblingElement();
    if (e == nullptr) {
        return false;
    }
    ins.NodeIndex = decodeNumber(valueOf(e)).number;
    return true;
}

// The element naming the configuration type; null when the file holds no configuration.
const XMLElement* typeElement(const XMLElement* first) {
    const XMLElement* second = first->NextSiblingElement();
    return second != nullptr && std::string_view(second->Name()) == "ConfigType" ? second : nullptr;
}

int typeNamedBy(const XMLElement* second) {
    return valueOf(second) == str::XmlMaster ? kCanopenMaster : kCanopenSlave;
}

// The reading steps proper; each returns at the first missing element, keeping what it stored.
void readDocument(const XMLElement* first, GatewayConfiguration& live) {
    const XMLElement* second = first->NextSiblingElement();
    if (second == nullptr) {
        return;
    }
    live.ConfigType = typeNamedBy(second);
    const XMLElement* inport = first->FirstChildElement();
    if (inport == nullptr) {
        return;
    }
    live.Fieldbus.InportNum = valueOf(inport);
    const XMLElement* third = second->NextSiblingElement();
    const XMLElement* fourth = third == nullptr ? nullptr : third->NextSiblingElement();
    if (fourth == nullptr) {
        return;
    }
    const XMLElement* master = findChildByValue(fourth, "Master");
    if (master == nullptr) {
        return;
    }

    CONFIG& c = live.Config;
    const XMLElement* p = master->FirstChildElement();
    for (std::string CONFIG::*field :
         {&CONFIG::BuadRate, &CONFIG::SlaveAddress, &CONFIG::SDOTimeout, &CONFIG::NMT,
          &CONFIG::TPDOTimeout, &CONFIG::DelayStart, &CONFIG::SYNC, &CONFIG::ControlStatus,
          &CONFIG::ErrorControl}) {
        if (p == nullptr) {
            return;
        }
        c.*field = valueOf(p);
        p = p->NextSiblingElement();
    }
    if (p == nullptr) {
        return;
    }
    // Counts beyond the tables cannot come from this program; the tables end the reading.
    c.NodeCount = std::clamp(decodeNumber(valueOf(p)).number, 0, kNodeTableSize);
    p = p->NextSiblingElement();
    if (p == nullptr) {
        return;
    }
    c.InstructionCount = std::clamp(decodeNumber(valueOf(p)).number, 0, kInstructionTableSize);

    const XMLElement* e = master->NextSiblingElement();
    for (NodeEntry& node : usedNodes(c)) {
        if (e == nullptr) {
            return;
        }
        const XMLElement* name = e->FirstChildElement();
        if (name == nullptr) {
            return;
        }
        node.NodeName = valueOf(name);
        const XMLElement* address = name->NextSiblingElement();
        if (address == nullptr) {
            return;
        }
        node.NodeAddress = valueOf(address);
        e = e->NextSiblingElement();
    }

    const XMLElement* command = findChildByValue(fourth, "Instruction");
    for (std::size_t k = 0; command != nullptr && k < c.Instructions.size(); ++k) {
        if (!readCommand(command, c.Instructions[k])) {
            return;
        }
        command = command->NextSiblingElement();
    }
}

// The parameter rows the XML file does not hold, by configuration type, in grid order.
struct UnheldRow {
    std::string CONFIG::*field;
    Text label;
};

constexpr UnheldRow kUnheldMasterRows[] = {
    {&CONFIG::RPDOCycle, str::ParamRpdoCycle},
    {&CONFIG::OutputProcessing, str::ParamOutputProcessing},
    {&CONFIG::SDOCycle, str::ParamSdoCycle},
    {&CONFIG::SDOConcurrent, str::ParamSdoConcurrent},
    {&CONFIG::SDORetries, str::ParamSdoRetries},
    {&CONFIG::SDOPollDelay, str::ParamSdoPollDelay},
};

constexpr UnheldRow kUnheldSlaveRows[] = {
    {&CONFIG::SlaveBaudRate, str::ParamBaudRate},
    {&CONFIG::SlaveNodeAddress, str::ParamNodeId},
    {&CONFIG::RPDOTimeout, str::ParamClearRpdo},
    {&CONFIG::SlaveDelayStart, str::ParamDelayStart},
};

// Parses `bytes` and finds the top-level element the reading starts at; null with `error`
// (and `damagedLine`) set when there is none or the file holds no configuration.
const XMLElement* firstElement(std::string_view bytes, XMLDocument& doc, Message& error,
                               int* damagedLine) {
    const Complaint complaint = parseForgiving(bytes, doc);
    const XMLElement* first = doc.FirstChildElement();
    if (damagedLine != nullptr) {
        *damagedLine = 0;
    }
    if (first == nullptr) {
        error = complaint.line == 0 ? Message(str::XmlNoElement)
                                    : Message(str::XmlNoReadableElement, complaint.words);
        return nullptr;
    }
    if (typeElement(first) == nullptr) {
        error = str::XmlNoConfiguration;
        return nullptr;
    }
    if (damagedLine != nullptr) {
        *damagedLine = complaint.line;
    }
    return first;
}

} // namespace

std::string writeXml(const GatewayConfiguration& cfg) {
    const CONFIG& c = cfg.Config;
    XMLDocument doc;
    XmlBuilder b(doc);
    doc.InsertEndChild(doc.NewDeclaration(kDeclaration));
    XMLElement* fieldbus = b.add(&doc, "FiledBus", "FiledBus");
    b.add(fieldbus, "InportNum", cfg.Fieldbus.InportNum);
    b.add(&doc, "ConfigType", cfg.isMaster() ? str::XmlMaster : str::XmlSlave);
    b.add(&doc, "ConfigEdition", "320");
    XMLElement* canopen = b.add(&doc, "CANopen", "CANopen");

    XMLElement* master = b.add(canopen, "Master", "Master");
    b.add(master, "BuadRate", c.BuadRate);
    b.add(master, "SlaveAddress", c.SlaveAddress);
    b.add(master, "SDOTimeout", c.SDOTimeout);
    b.add(master, "NMT", c.NMT);
    b.add(master, "TPDOTimeout", c.TPDOTimeout);
    b.add(master, "DelayStart", c.DelayStart);
    b.add(master, "SYNC", c.SYNC);
    b.add(master, "ControlStatus", c.ControlStatus);
    b.add(master, "ErrorControl", c.ErrorControl);
    b.add(master, "NodeCount", decimalText(usedNodeCount(c)));
    b.add(master, "InstructioinCount", decimalText(usedCommandCount(c)));

    for (const NodeEntry& n : usedNodes(c)) {
        XMLElement* node = b.add(canopen, "Node", "Node");
        b.add(node, "NodeName", n.NodeName);
        b.add(node, "NodeAddress", n.NodeAddress);
    }
    for (const INSTRUCTION& ins : usedCommands(c)) {
        XMLElement* e = b.add(canopen, "Instruction", "Instruction");
        b.add(e, "InstructionName", xmlCommandName(ins.InstructionType));
        b.add(e, "NodeAddress", ins.NodeAddress);
        if (isPdoCommand(ins.InstructionType)) {
            b.add(e, "COB-ID", ins.CobId);
        } else {
            b.add(e, "Index", ins.Index);
            b.add(e, "SubIndex", ins.SubIndex);
        }
        b.add(e, "Bytes", ins.Bytes);
        b.add(e, "MappingAddress", ins.MappingAddress);
        b.add(e, "Description", ins.Description);
        b.add(e, "NodeIndex", decimalText(ins.NodeIndex));
    }

    tinyxml2::XMLPrinter printer;
    doc.Print(&printer);
    return std::string(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
}

bool readXml(std::string_view bytes, GatewayConfiguration& cfg, Message& error, int* damagedLine) {
    XMLDocument doc;
    const XMLElement* first = firstElement(bytes, doc, error, damagedLine);
    if (first == nullptr) {
        return false;
    }
    GatewayConfiguration read = newConfiguration(typeNamedBy(typeElement(first)));
    readDocument(first, read);
    cfg = std::move(read);
    return true;
}

bool readXmlOver(std::string_view bytes, GatewayConfiguration& cfg, Message& error) {
    XMLDocument doc;
    const XMLElement* first = firstElement(bytes, doc, error, nullptr);
    if (first == nullptr) {
        return false;
    }
    readDocument(first, cfg);
    return true;
}

std::vector<DroppedField> fieldsXmlDrops(const GatewayConfiguration& cfg) {
    const GatewayConfiguration fresh = newConfiguration(cfg.ConfigType);
    std::vector<DroppedField> dropped;
    const std::span<const UnheldRow> rows = cfg.isMaster()
                                                ? std::span<const UnheldRow>(kUnheldMasterRows)
                                                : std::span<const UnheldRow>(kUnheldSlaveRows);
    for (const UnheldRow& row : rows) {
        const std::string& value = cfg.Config.*row.field;
        if (value != fresh.Config.*row.field) {
            dropped.push_back({row.label, configTextToUtf8(value)});
        }
    }
    return dropped;
}

Message droppedFieldsText(const std::vector<DroppedField>& fields) {
    std::vector<Message> named;
    named.reserve(fields.size());
    for (const DroppedField& f : fields) {
        named.emplace_back(str::DroppedFieldValue, f.label, f.value);
    }
    return joined(named, str::ListJoin);
}

} // namespace torvane
