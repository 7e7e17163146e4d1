#include "compare/configuration_compare.h"

#include "comm/frame_layout.h"
#include "comm/tavo20_down.h"
#include "mapping/mapping_calculation.h"
#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_codec.h"
#include "model/text_number.h"
#include "model/xml_file.h"

#include <algorithm>
#include <array>
#include <span>
#include <unordered_map>

namespace torvane {

namespace {

using namespace frame;

// ---- Where a field travels ------------------------------------------------------------------

enum class WireFrame { None, Header, SdoOptions };

struct WireSpan {
    WireFrame frame = WireFrame::None;
    std::size_t offset = 0;
    std::size_t width = 0;
};

constexpr WireSpan header(std::size_t offset, std::size_t width) {
    return {WireFrame::Header, offset, width};
}
constexpr WireSpan options(std::size_t offset, std::size_t width) {
    return {WireFrame::SdoOptions, offset, width};
}

// One parameter: its page, grid label, record field and where each layout carries it.
struct ParamField {
    PlaceKind page;
    Text label;
    std::string CONFIG::*field; // null: FIELDBUS::InportNum or the firmware version (see `io`)
    bool io;                    // Fieldbus.InportNum
    WireSpan compatible;        // compatible master layout, or the slave layout
    WireSpan current;           // new master layout
};

constexpr WireSpan kNone{};

const std::array<ParamField, 17>& masterFields() {
    namespace oh = compatible_header;
    namespace nh = new_header;
    namespace op = sdo_options;
    static const std::array<ParamField, 17> fields = {{
        {PlaceKind::Profibus, str::ParamNumberOfBytes, nullptr, true, header(oh::kIoSize, 1),
         header(nh::kIoSize, 1)},
        {PlaceKind::Profibus, str::ParamFirmwareVersion, nullptr, false, kNone, kNone},
        {PlaceKind::Canopen, str::ParamBaudRate, &CONFIG::BuadRate, false, header(oh::kCanBaud, 2),
         header(nh::kCanBaud, 2)},
        {PlaceKind::Canopen, str::ParamNodeId, &CONFIG::SlaveAddress, false, header(oh::kNodeId, 1),
         header(nh::kNodeId, 1)},
        {PlaceKind::Canopen, str::ParamSdoTimeout, &CONFIG::SDOTimeout, false,
         header(oh::kSdoTimeout, 1), header(nh::kSdoTimeout, 2)},
        {PlaceKind::Canopen, str::ParamEnableNmt, &CONFIG::NMT, false, header(oh::kEnableNmt, 1),
         header(nh::kEnableNmt, 1)},
        {PlaceKind::Canopen, str::ParamClearTpdo, &CONFIG::TPDOTimeout, false,
         header(oh::kTpdoClearTime, 1), header(nh::kTpdoClearTime, 2)},
        {PlaceKind::Canopen, str::ParamDelayStart, &CONFIG::DelayStart, false,
         header(oh::kDelayStartup, 1), header(nh::kDelayStartup, 2)},
        {PlaceKind::Canopen, str::ParamSyncCycle, &CONFIG::SYNC, false, header(oh::kSync, 1),
         header(nh::kSync, 2)},
        {PlaceKind::Canopen, str::ParamControlStatus, &CONFIG::ControlStatus, false, kNone,
         header(nh::kControlStatus, 1)},
        {PlaceKind::Canopen, str::ParamErrorControl, &CONFIG::ErrorControl, false, kNone,
         header(nh::kErrorControl, 2)},
        {PlaceKind::Canopen, str::ParamRpdoCycle, &CONFIG::RPDOCycle, false, kNone,
         header(nh::kRpdoCycle, 2)},
        {PlaceKind::Canopen, str::ParamOutputProcessing, &CONFIG::OutputProcessing, false, kNone,
         header(nh::kOutputProcessing, 1)},
        {PlaceKind::Canopen, str::ParamSdoCycle, &CONFIG::SDOCycle, false, kNone,
         header(nh::kSdoCycle, 2)},
        {PlaceKind::Canopen, str::ParamSdoConcurrent, &CONFIG::SDOConcurrent, false, kNone,
         options(op::kConcurrent, 1)},
        {PlaceKind::Canopen, str::ParamSdoRetries, &CONFIG::SDORetries, false, kNone,
         options(op::kRetries, 1)},
        {PlaceKind::Canopen, str::ParamSdoPollDelay, &CONFIG::SDOPollDelay, false, kNone,
         options(op::kPollDelay, 2)},
    }};
    return fields;
}

const std::array<ParamField, 6>& slaveFields() {
    namespace sh = slave_header;
    static const std::array<ParamField, 6> fields = {{
        {PlaceKind::Profibus, str::ParamNumberOfBytes, nullptr, true, header(sh::kIoSize, 1),
         kNone},
        {PlaceKind::Profibus, str::ParamFirmwareVersion, nullptr, false, kNone, kNone},
        {PlaceKind::Canopen, str::ParamBaudRate, &CONFIG::SlaveBaudRate, false,
         header(sh::kCanBaud, 2), kNone},
        {PlaceKind::Canopen, str::ParamNodeId, &CONFIG::SlaveNodeAddress, false,
         header(sh::kNodeId, 1), kNone},
        {PlaceKind::Canopen, str::ParamClearRpdo, &CONFIG::RPDOTimeout, false,
         header(sh::kClearTime, 1), kNone},
        {PlaceKind::Canopen, str::ParamDelayStart, &CONFIG::SlaveDelayStart, false,
         header(sh::kDelayStartup, 1), kNone},
    }};
    return fields;
}

std::string storedValue(const GatewayConfiguration& cfg, const ParamField& f) {
    if (f.io) {
        return cfg.Fieldbus.InportNum;
    }
    if (f.field == nullptr) {
        return cfg.FirmwareVersion;
    }
    return cfg.Config.*f.field;
}

Message placeOf(const ParamField& f) {
    return {str::Colon, f.page == PlaceKind::Profibus ? str::ParamProfibus : str::ParamCanopen,
            f.label};
}

// ---- A side as the comparison sees it ---------------------------------------------------------

struct FieldView {
    Text label;
    std::string shownText; // as the grid shows it (UTF-8)
    std::string key;       // what is compared
    bool carried = true;   // false: a transfer does not carry it
};

struct ComparedCommand {
    std::string key;
    Message place;    // "Node 5 / Transmit PDO COB-ID 389"
    int position = 0; // 1-based in its configuration
    bool notSent = false;
    std::vector<FieldView> fields;
};

struct ComparedNode {
    std::string key;
    std::string address;
    std::string name; // UTF-8
    int position = 0;
    std::string storedName; // the bytes compared
};

struct SideView {
    std::vector<std::pair<const ParamField*, FieldView>> params;
    std::vector<ComparedNode> nodes;
    std::vector<ComparedCommand> commands;
};

std::string bytesKey(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Numbers compare by value: "05" and "5" name one node.
std::string numberKey(const DecodedNumber& n) {
    return decimalText(n.number);
}

Message commandPlace(const GatewayConfiguration& cfg, const CommandView& view) {
    const INSTRUCTION& cmd = *view.record;
    const std::string type = view.kind ? view.type()->label : cmd.InstructionType;
    Message place = view.isPdo() ? Message(str::ComparePdoPlace, type, cmd.CobId)
                                 : Message(str::CompareSdoPlace, type, cmd.Index, cmd.SubIndex);
    if (cfg.isMaster()) {
        return {str::CompareCommandOfNode, Message(str::CompareNodePlace, cmd.NodeAddress), place};
    }
    return place;
}

// Key of a command in the all-fields scope.
std::string storedCommandKey(const GatewayConfiguration& cfg, const CommandView& cmd) {
    std::string key = cmd.record->InstructionType + '|';
    if (cfg.isMaster()) {
        key += numberKey(cmd.nodeAddress);
    }
    key += '|';
    if (cmd.isPdo()) {
        key += numberKey(cmd.cobId);
    } else {
        key += numberKey(cmd.index) + '/' + numberKey(cmd.subIndex);
    }
    return key;
}

// Shown decoded, compared as the bytes stored: texts that differ only in bytes that do not
// decode are different.
FieldView descriptionField(const INSTRUCTION& cmd, bool carried) {
    return {str::CmdRowDescription, configTextToUtf8(cmd.Description), cmd.Description, carried};
}

void addNodes(const GatewayConfiguration& cfg, const RecordView& record, SideView& view) {
    if (!cfg.isMaster()) {
        return;
    }
    for (const NodeView& node : record.nodes()) {
        const NodeEntry& n = *node.record;
        view.nodes.push_back({numberKey(node.address), n.NodeAddress, configTextToUtf8(n.NodeName),
                              node.position + 1, n.NodeName});
    }
}

SideView allFieldsView(const GatewayConfiguration& cfg) {
    const RecordView record(cfg.Config);
    SideView view;
    auto addParams = [&](const auto& table) {
        for (const ParamField& f : table) {
            const std::string text = shownValue(storedValue(cfg, f));
            view.params.push_back({&f, FieldView{f.label, text, text, true}});
        }
    };
    if (cfg.isMaster()) {
        addParams(masterFields());
    } else {
        addParams(slaveFields());
    }
    addNodes(cfg, record, view);
    for (const CommandView& cmd : record.commands()) {
        ComparedCommand c{
            storedCommandKey(cfg, cmd), commandPlace(cfg, cmd), cmd.position + 1, false, {}};
        const std::string bytes = shownValue(cmd.record->Bytes);
        const std::string mapping = shownValue(cmd.record->MappingAddress);
        c.fields.push_back({str::ParamNumberOfBytes, bytes, bytes, true});
        c.fields.push_back({str::CmdRowMappingAddress, mapping, mapping, true});
        c.fields.push_back(descriptionField(*cmd.record, true));
        view.commands.push_back(std::move(c));
    }
    return view;
}

// The record layout of a download format.
enum class RecordLayout { Compatible, New, Slave };

struct Encoded {
    DownloadFrames frames;
    Frame sdoOptions;
    RecordLayout layout = RecordLayout::New;
    std::size_t recordSize = new_record::kSize;
};

// Command positions (0-based) a download puts into each slot, in the order the download class
// fills them; commands given no slot are not sent.
std::vector<std::pair<int, int>> slotAssignment(const RecordView& record, RecordLayout layout) {
    std::vector<std::pair<int, int>> slots; // (position, slot)
    if (layout == RecordLayout::Slave) {
        const std::pair<CommandKind, int> groups[] = {{CommandKind::TransmitPdo, kSlaveTpdoSlot},
                                                      {CommandKind::ReceivePdo, kSlaveRpdoSlot}};
        for (const auto& [kind, first] : groups) {
            int s = first;
            for (const CommandView* cmd : record.ofKind(kind)) {
                if (s < first + kSlavePdoLimit) {
                    slots.emplace_back(cmd->position, s++);
                }
            }
        }
        return slots;
    }
    if (layout == RecordLayout::Compatible) {
        for (const auto& [kind, first] : kCompatibleSlotGroups) {
            int s = first;
            for (const CommandView* cmd : record.ofKind(kind)) {
                slots.emplace_back(cmd->position, s++);
            }
        }
        return slots;
    }
    int s = 0;
    for (const CommandKind kind : {CommandKind::UploadSdo, CommandKind::TransmitPdo,
                                   CommandKind::DownloadSdo, CommandKind::ReceivePdo}) {
        for (const CommandView* cmd : record.ofKind(kind)) {
            if (s < kCommandCap) {
                slots.emplace_back(cmd->position, s++);
            }
        }
    }
    return slots;
}

std::span<const std::uint8_t> recordAt(const Encoded& e, int slot) {
    const auto index = static_cast<std::size_t>(slot);
    const Frame& f = e.frames.data[slotFrame(index)];
    return std::span(f).subspan(slotOffset(index, e.recordSize), e.recordSize);
}

ComparedCommand carriedCommand(const GatewayConfiguration& cfg, const Encoded& e,
                               const CommandView& view, int slot) {
    const INSTRUCTION& cmd = *view.record;
    ComparedCommand c{
        cmd.InstructionType + '|', commandPlace(cfg, view), view.position + 1, false, {}};
    const auto r = recordAt(e, slot);
    std::size_t bytesAt = 0;
    std::size_t mappingAt = 0;
    std::size_t mappingWidth = 1;
    switch (e.layout) {
    case RecordLayout::Compatible: {
        namespace cr = compatible_record;
        c.key += bytesKey(r.subspan(cr::kKey, 3)) + bytesKey(r.subspan(cr::kNode, 1));
        bytesAt = cr::kBytes;
        mappingAt = cr::kMapping;
        break;
    }
    case RecordLayout::New: {
        namespace nr = new_record;
        c.key += bytesKey(r.subspan(nr::kNode, 1));
        c.key +=
            view.isPdo() ? bytesKey(r.subspan(nr::kCobId, 4)) : bytesKey(r.subspan(nr::kIndex, 3));
        bytesAt = nr::kBytes;
        mappingAt = nr::kMapping;
        mappingWidth = 4;
        break;
    }
    case RecordLayout::Slave: {
        namespace sr = slave_record;
        c.key += bytesKey(r.subspan(sr::kCobId, 4));
        bytesAt = sr::kBytes;
        mappingAt = sr::kMapping;
        break;
    }
    }
    c.fields.push_back(
        {str::ParamNumberOfBytes, shownValue(cmd.Bytes), bytesKey(r.subspan(bytesAt, 1)), true});
    c.fields.push_back({str::CmdRowMappingAddress, shownValue(cmd.MappingAddress),
                        bytesKey(r.subspan(mappingAt, mappingWidth)), true});
    c.fields.push_back(descriptionField(cmd, false));
    return c;
}

DownloadFormat formatFor(const GatewayConfiguration& cfg, DownloadFormat masterFormat) {
    const bool compatible = masterFormat == DownloadFormat::Tavo20Compatible ||
                            masterFormat == DownloadFormat::Tavo20SCompatible;
    if (cfg.isMaster()) {
        return compatible ? DownloadFormat::Tavo20Compatible : DownloadFormat::Tavo20New;
    }
    return compatible ? DownloadFormat::Tavo20SCompatible : DownloadFormat::Tavo20SNew;
}

// The carried view of `source`: as a download would take it (84 cut, slave mapping) unless
// `asUploaded`, encoded by the download classes. Returns the transfer result of the encoding.
TransferResult carriedView(const GatewayConfiguration& source, const CompareOptions& options,
                           bool asUploaded, SideView& view) {
    GatewayConfiguration cfg = source;
    if (!asUploaded) {
        cfg.Config.InstructionCount = std::min(usedCommandCount(cfg.Config), kCommandCap);
        if (!cfg.isMaster()) {
            calculateMapping(cfg);
        }
    }
    const DownloadFormat format = formatFor(cfg, options.format);
    Encoded e;
    const TransferResult built = buildDownloadFrames(cfg, format, e.frames, &e.sdoOptions);
    if (built != TransferResult::Success) {
        return built;
    }
    const bool compatibleMaster = format == DownloadFormat::Tavo20Compatible;
    e.layout = !cfg.isMaster()    ? RecordLayout::Slave
               : compatibleMaster ? RecordLayout::Compatible
                                  : RecordLayout::New;
    e.recordSize = e.layout == RecordLayout::New ? new_record::kSize : compatible_record::kSize;

    auto addParams = [&](const auto& table) {
        for (const ParamField& f : table) {
            WireSpan span = cfg.isMaster() && !compatibleMaster ? f.current : f.compatible;
            if (span.frame == WireFrame::SdoOptions && !options.sdoOptions) {
                span = kNone;
            }
            FieldView v{
                f.label, shownValue(storedValue(source, f)), {}, span.frame != WireFrame::None};
            if (v.carried) {
                const Frame& frame =
                    span.frame == WireFrame::Header ? e.frames.header : e.sdoOptions;
                v.key = bytesKey(std::span(frame).subspan(span.offset, span.width));
            }
            view.params.emplace_back(&f, std::move(v));
        }
    };
    if (cfg.isMaster()) {
        addParams(masterFields());
    } else {
        addParams(slaveFields());
    }
    const RecordView sourceRecord(source.Config);
    addNodes(source, sourceRecord, view);

    const RecordView sentRecord(cfg.Config);
    const auto slots = slotAssignment(sentRecord, e.layout);
    std::vector<bool> sent(sourceRecord.commands().size(), false);
    for (const auto& [position, slot] : slots) {
        sent[static_cast<std::size_t>(position)] = true;
        view.commands.push_back(carriedCommand(cfg, e, *sentRecord.command(position + 1), slot));
    }
    // Commands a download leaves out: the 84 cut, a slave's SDOs or PDOs beyond 42.
    for (const CommandView& cmd : sourceRecord.commands()) {
        if (!sent[static_cast<std::size_t>(cmd.position)]) {
            view.commands.push_back({storedCommandKey(source, cmd),
                                     commandPlace(source, cmd),
                                     cmd.position + 1,
                                     true,
                                     {}});
        }
    }
    return TransferResult::Success;
}

// Pairs items of two lists by key, in list order within a key. Calls pair(ourIndex, theirIndex)
// with -1 for a missing partner: ours in order first, then the unpaired of theirs.
template <typename T, typename Pair>
void pairByKey(const std::vector<T>& ours, const std::vector<T>& theirs, Pair pair) {
    std::unordered_map<std::string, std::vector<int>> byKey;
    byKey.reserve(theirs.size());
    for (std::size_t i = 0; i < theirs.size(); ++i) {
        byKey[theirs[i].key].push_back(static_cast<int>(i));
    }
    std::unordered_map<std::string, std::size_t> used;
    std::vector<bool> paired(theirs.size(), false);
    for (std::size_t i = 0; i < ours.size(); ++i) {
        int partner = -1;
        if (auto it = byKey.find(ours[i].key); it != byKey.end()) {
            std::size_t& next = used[ours[i].key];
            if (next < it->second.size()) {
                partner = it->second[next++];
                paired[static_cast<std::size_t>(partner)] = true;
            }
        }
        pair(static_cast<int>(i), partner);
    }
    for (std::size_t i = 0; i < theirs.size(); ++i) {
        if (!paired[i]) {
            pair(-1, static_cast<int>(i));
        }
    }
}

void compareViews(const SideView& ours, const SideView& theirs, bool carried,
                  CompareResult& result) {
    for (std::size_t i = 0; i < ours.params.size() && i < theirs.params.size(); ++i) {
        const auto& [field, a] = ours.params[i];
        const FieldView& b = theirs.params[i].second;
        if (!a.carried || !b.carried) {
            if (a.key != b.key || a.shownText != b.shownText) {
                result.notCompared.add(a.label);
            }
        } else if (a.key != b.key) {
            result.differences.push_back({placeOf(*field), Message::plain(a.shownText),
                                          Message::plain(b.shownText), field->page, 0});
        }
    }

    pairByKey(ours.nodes, theirs.nodes, [&](int i, int j) {
        const ComparedNode* a = i >= 0 ? &ours.nodes[static_cast<std::size_t>(i)] : nullptr;
        const ComparedNode* b = j >= 0 ? &theirs.nodes[static_cast<std::size_t>(j)] : nullptr;
        if (a != nullptr && b != nullptr && a->storedName == b->storedName) {
            return;
        }
        if (carried) {
            result.notCompared.add(a != nullptr && b != nullptr ? str::CompareNodeName
                                                                : str::CompareNode);
            return;
        }
        const ComparedNode& some = a != nullptr ? *a : *b;
        const auto name = [](const ComparedNode* n) {
            return n != nullptr ? Message::plain(n->name) : Message(str::CompareAbsent);
        };
        result.differences.push_back({Message(str::CompareNodePlace, some.address), name(a),
                                      name(b), PlaceKind::Node, a != nullptr ? a->position : 0});
    });

    // Commands a download leaves out pair only with the other side's left-out commands.
    auto split = [](const std::vector<ComparedCommand>& all, bool notSent) {
        std::vector<ComparedCommand> part;
        for (const ComparedCommand& c : all) {
            if (c.notSent == notSent) {
                part.push_back(c);
            }
        }
        return part;
    };
    for (const bool notSent : {false, true}) {
        const auto mine = notSent ? split(ours.commands, true) : split(ours.commands, false);
        const auto other = notSent ? split(theirs.commands, true) : split(theirs.commands, false);
        const Text presence = notSent ? str::CompareNotSent : str::ComparePresent;
        pairByKey(mine, other, [&](int i, int j) {
            const ComparedCommand* a = i >= 0 ? &mine[static_cast<std::size_t>(i)] : nullptr;
            const ComparedCommand* b = j >= 0 ? &other[static_cast<std::size_t>(j)] : nullptr;
            if (a == nullptr || b == nullptr) {
                const ComparedCommand& some = a != nullptr ? *a : *b;
                result.differences.push_back({some.place,
                                              a != nullptr ? presence : str::CompareAbsent,
                                              b != nullptr ? presence : str::CompareAbsent,
                                              PlaceKind::Command, a != nullptr ? a->position : 0});
                return;
            }
            for (std::size_t k = 0; k < a->fields.size() && k < b->fields.size(); ++k) {
                const FieldView& x = a->fields[k];
                const FieldView& y = b->fields[k];
                if (!x.carried || !y.carried) {
                    if (x.key != y.key || x.shownText != y.shownText) {
                        result.notCompared.add(x.label);
                    }
                } else if (x.key != y.key) {
                    result.differences.push_back(
                        {Message(str::Colon, a->place, x.label), Message::plain(x.shownText),
                         Message::plain(y.shownText), PlaceKind::Command, a->position});
                }
            }
        });
    }
}

Message typeText(const GatewayConfiguration& cfg) {
    return Message::plain(cfg.isMaster() ? str::CompareMaster : str::CompareSlave);
}

} // namespace

void NotCompared::add(const Message& field, int n) {
    count += n;
    if (std::find(fields.begin(), fields.end(), field) == fields.end()) {
        fields.push_back(field);
    }
}

void NotCompared::merge(const NotCompared& other) {
    count += other.count;
    for (const Message& f : other.fields) {
        if (std::find(fields.begin(), fields.end(), f) == fields.end()) {
            fields.push_back(f);
        }
    }
}

CompareResult compareConfigurations(const GatewayConfiguration& ours,
                                    const GatewayConfiguration& theirs,
                                    const CompareOptions& options) {
    CompareResult result;
    if (ours.isMaster() != theirs.isMaster()) {
        result.differences.push_back({str::CompareConfigurationType, typeText(ours),
                                      typeText(theirs), PlaceKind::Configuration, 0});
        return result;
    }
    if (options.scope == CompareScope::AllFields) {
        compareViews(allFieldsView(ours), allFieldsView(theirs), false, result);
        return result;
    }
    SideView a;
    SideView b;
    const TransferResult ra = carriedView(ours, options, false, a);
    const TransferResult rb = ra == TransferResult::Success
                                  ? carriedView(theirs, options, options.theirsUploaded, b)
                                  : ra;
    if (rb != TransferResult::Success) {
        result.outcome = CompareOutcome::NotDownloadable;
        result.message = Message(str::CompareNotDownloadable, transferResultText(rb));
        return result;
    }
    compareViews(a, b, true, result);
    return result;
}

namespace {

const Text* commandFieldLabel(std::string INSTRUCTION::*field) {
    if (field == &INSTRUCTION::Bytes) {
        return &str::ParamNumberOfBytes;
    }
    if (field == &INSTRUCTION::MappingAddress) {
        return &str::CmdRowMappingAddress;
    }
    if (field == &INSTRUCTION::Description) {
        return &str::CmdRowDescription;
    }
    return nullptr; // a part of the command's key: matched, not counted
}

constexpr std::string INSTRUCTION::*kCommandTexts[] = {
    &INSTRUCTION::NodeAddress,    &INSTRUCTION::InstructionType, &INSTRUCTION::Index,
    &INSTRUCTION::SubIndex,       &INSTRUCTION::CobId,           &INSTRUCTION::Bytes,
    &INSTRUCTION::MappingAddress, &INSTRUCTION::Description,
};

Text parameterLabel(std::string CONFIG::*field) {
    for (const auto& table : {std::span<const ParamField>(masterFields()),
                              std::span<const ParamField>(slaveFields())}) {
        for (const ParamField& f : table) {
            if (f.field == field) {
                return f.label;
            }
        }
    }
    return {};
}

} // namespace

bool readXmlSide(std::string_view bytes, GatewayConfiguration& out, UnheldFields& unheld,
                 Message& error, int* damagedLine) {
    GatewayConfiguration read;
    if (!readXml(bytes, read, error, damagedLine)) {
        return false;
    }
    // Which fields the file holds: read it once more over a marked configuration of its type
    // and see which marks survive.
    static const std::string kMark = "\x01unread\x01";
    GatewayConfiguration marked = newConfiguration(read.ConfigType);
    marked.Fieldbus.InportNum = kMark;
    const auto& table = read.isMaster() ? std::span<const ParamField>(masterFields())
                                        : std::span<const ParamField>(slaveFields());
    for (const ParamField& f : table) {
        if (f.field != nullptr) {
            marked.Config.*f.field = kMark;
        }
    }
    for (NodeEntry& n : marked.Config.Nodes) {
        n = {kMark, kMark};
    }
    for (INSTRUCTION& c : marked.Config.Instructions) {
        for (std::string INSTRUCTION::*field : kCommandTexts) {
            c.*field = kMark;
        }
    }
    Message ignored;
    readXmlOver(bytes, marked, ignored);

    UnheldFields found;
    found.inportNum = marked.Fieldbus.InportNum == kMark;
    for (const ParamField& f : table) {
        if (f.field != nullptr && marked.Config.*f.field == kMark) {
            found.parameters.push_back(f.field);
        }
    }
    const RecordView markedRecord(marked.Config);
    for (const NodeView& node : markedRecord.nodes()) {
        if (node.record->NodeName == kMark || node.record->NodeAddress == kMark) {
            found.nodes.push_back(node.position);
        }
    }
    for (const CommandView& cmd : markedRecord.commands()) {
        for (std::string INSTRUCTION::*field : kCommandTexts) {
            if (cmd.record->*field == kMark) {
                found.commandFields.emplace_back(cmd.position, field);
            }
        }
    }
    out = std::move(read);
    unheld = std::move(found);
    return true;
}

void setAsideUnheld(GatewayConfiguration& a, const UnheldFields* aUnheld, GatewayConfiguration& b,
                    const UnheldFields* bUnheld, NotCompared& notCompared) {
    UnheldFields all;
    for (const UnheldFields* u : {aUnheld, bUnheld}) {
        if (u == nullptr) {
            continue;
        }
        auto addOnce = [](auto& list, const auto& item) {
            if (std::find(list.begin(), list.end(), item) == list.end()) {
                list.push_back(item);
            }
        };
        for (const auto field : u->parameters) {
            addOnce(all.parameters, field);
        }
        all.inportNum = all.inportNum || u->inportNum;
        for (const int node : u->nodes) {
            addOnce(all.nodes, node);
        }
        for (const auto& field : u->commandFields) {
            addOnce(all.commandFields, field);
        }
    }
    if (all.inportNum) {
        b.Fieldbus.InportNum = a.Fieldbus.InportNum;
        notCompared.add(str::ParamNumberOfBytes);
    }
    for (const auto field : all.parameters) {
        b.Config.*field = a.Config.*field;
        notCompared.add(parameterLabel(field));
    }
    for (const int node : all.nodes) {
        b.Config.Nodes[static_cast<std::size_t>(node)] =
            a.Config.Nodes[static_cast<std::size_t>(node)];
        notCompared.add(str::CompareNodeName);
    }
    for (const auto& [position, field] : all.commandFields) {
        const auto at = static_cast<std::size_t>(position);
        b.Config.Instructions[at].*field = a.Config.Instructions[at].*field;
        if (const Text* label = commandFieldLabel(field)) {
            notCompared.add(*label);
        }
    }
}

namespace {

// A part of a difference line, printable; in double quotes (a quote inside as \") when it holds
// the arrow or starts with a quote, so the line splits at its own arrow only.
std::string linePart(const std::string& text) {
    std::string part = printableText(text);
    if (part.find(" -> ") == std::string::npos && (part.empty() || part.front() != '"')) {
        return part;
    }
    std::string quoted = "\"";
    for (const char c : part) {
        if (c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::string differenceLine(const Difference& d) {
    return linePart(d.place.english()) + ": " + linePart(d.ours.english()) + " -> " +
           linePart(d.theirs.english());
}

Message notComparedMessage(const NotCompared& notCompared) {
    return {str::CompareNotCompared, notCompared.count, joined(notCompared.fields, str::ListJoin)};
}

} // namespace torvane
