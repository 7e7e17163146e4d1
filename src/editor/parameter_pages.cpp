#include "editor/parameter_pages.h"

#include "editor/cell_notes.h"
#include "model/record_view.h"
#include "model/strings.h"

#include <algorithm>
#include <array>

namespace torvane {

namespace {

constexpr long kNoRange = -1;

// One parameter row as the tables define it; `field` is null for display-only rows.
struct ParamRow {
    Text label;
    std::string CONFIG::*field;
    EditorKind editor;
    std::vector<const char*> choices;
    long lo;
    long hi;
    int helpId;
    Message helpText;
};

// The grid offers the rates down to 50K.
const std::vector<const char*> kBaudChoices = [] {
    std::vector<const char*> texts;
    for (const CanBaudRate& b : kCanBaudRates) {
        texts.push_back(b.text);
        if (std::string_view(b.text) == "50K") {
            break;
        }
    }
    return texts;
}();
const std::vector<const char*> kSwitchChoices = {str::Disable, str::Enable};

const std::array<ParamRow, 16>& masterRows() {
    static const std::array<ParamRow, 16> rows = {{
        {str::ParamTypeOfProtocol,
         nullptr,
         EditorKind::None,
         {},
         kNoRange,
         kNoRange,
         kHelpClear,
         {}},
        {str::ParamBaudRate, &CONFIG::BuadRate, EditorKind::List, kBaudChoices, kNoRange, kNoRange,
         61205, str::Help61205},
        {str::ParamNodeId,
         &CONFIG::SlaveAddress,
         EditorKind::Text,
         {},
         1,
         127,
         61206,
         str::Help61206},
        {str::ParamSdoTimeout,
         &CONFIG::SDOTimeout,
         EditorKind::Text,
         {},
         1,
         2000,
         61207,
         str::Help61207},
        {str::ParamEnableNmt,
         &CONFIG::NMT,
         EditorKind::List,
         {str::Enable, str::Disable},
         kNoRange,
         kNoRange,
         61208,
         str::Help61208},
        {str::ParamClearTpdo,
         &CONFIG::TPDOTimeout,
         EditorKind::Text,
         {},
         0,
         2000,
         61209,
         str::Help61209},
        {str::ParamDelayStart,
         &CONFIG::DelayStart,
         EditorKind::Text,
         {},
         0,
         6000,
         61210,
         str::Help61210},
        {str::ParamSyncCycle, &CONFIG::SYNC, EditorKind::Text, {}, 0, 2000, 61211, str::Help61211},
        {str::ParamControlStatus, &CONFIG::ControlStatus, EditorKind::List, kSwitchChoices,
         kNoRange, kNoRange, 61212, str::Help61212},
        {str::ParamErrorControl,
         &CONFIG::ErrorControl,
         EditorKind::Text,
         {},
         0,
         2000,
         61319,
         str::Help61319},
        {str::ParamRpdoCycle,
         &CONFIG::RPDOCycle,
         EditorKind::Text,
         {},
         0,
         60000,
         61491,
         str::Help61491},
        {str::ParamOutputProcessing,
         &CONFIG::OutputProcessing,
         EditorKind::List,
         {str::Clear, str::Hold},
         kNoRange,
         kNoRange,
         61494,
         str::Help61494},
        {str::ParamSdoCycle,
         &CONFIG::SDOCycle,
         EditorKind::Text,
         {},
         0,
         60000,
         61496,
         str::Help61496},
        {str::ParamSdoConcurrent, &CONFIG::SDOConcurrent, EditorKind::List, kSwitchChoices,
         kNoRange, kNoRange, 65502, str::Help65502},
        {str::ParamSdoRetries,
         &CONFIG::SDORetries,
         EditorKind::Text,
         {},
         0,
         5,
         65503,
         str::Help65503},
        {str::ParamSdoPollDelay,
         &CONFIG::SDOPollDelay,
         EditorKind::Text,
         {},
         0,
         60000,
         65504,
         str::Help65504},
    }};
    return rows;
}

const std::array<ParamRow, 4>& slaveRows() {
    static const std::array<ParamRow, 4> rows = {{
        {str::ParamBaudRate, &CONFIG::SlaveBaudRate, EditorKind::List, kBaudChoices, kNoRange,
         kNoRange, 61205, str::Help61205},
        {str::ParamNodeId,
         &CONFIG::SlaveNodeAddress,
         EditorKind::Text,
         {},
         1,
         127,
         61301,
         str::Help61206},
        {str::ParamClearRpdo,
         &CONFIG::RPDOTimeout,
         EditorKind::Text,
         {},
         0,
         200,
         61300,
         str::Help61300},
        {str::ParamDelayStart,
         &CONFIG::SlaveDelayStart,
         EditorKind::Text,
         {},
         0,
         200,
         61302,
         str::Help61302},
    }};
    return rows;
}

constexpr int kSdoConcurrentRow = 13;

std::vector<std::string> choiceTexts(const std::vector<const char*>& choices) {
    return sortedChoices(std::vector<std::string>(choices.begin(), choices.end()));
}

bool contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

GridRow makeRow(const ParamRow& def, const CONFIG& c) {
    GridRow row;
    row.label = def.label;
    if (def.field != nullptr) {
        row.value = shownValue(c.*def.field);
    }
    row.editor = def.editor;
    row.choices = choiceTexts(def.choices);
    if (!row.choices.empty()) {
        row.listSelection = contains(row.choices, row.value) ? row.value : row.choices.front();
    }
    row.helpId = def.helpId;
    row.helpText = def.helpText;
    return row;
}

void makeReadOnly(GridRow& row) {
    row.grey = true;
    row.editor = EditorKind::None;
    row.choices.clear();
    row.listSelection.clear();
}

std::vector<std::string> profibusChoices(int firmwareIndex) {
    std::vector<const char*> choices;
    for (const IoSize& s : kIoSizes) {
        if (s.fixed || firmwareIndex >= 2) {
            choices.push_back(s.text);
        }
    }
    return choiceTexts(choices);
}

GridPage masterPage(const GatewayConfiguration& cfg, const EditorState& state) {
    const CONFIG& c = cfg.Config;
    GridPage page{PageKind::Canopen, {}};
    const bool fullLayout = state.firmwareIndex >= 2;
    const int rowCount = fullLayout ? 16 : 10;
    for (int r = 0; r < rowCount; ++r) {
        page.rows.push_back(makeRow(masterRows()[static_cast<std::size_t>(r)], c));
    }
    page.rows[0].value = str::ParamCanopen;
    page.rows[0].grey = true;
    if (!fullLayout) {
        // The older layout labels row 9 by the RPDO cycle but keeps row 9's editor and help.
        page.rows[9].label = str::ParamRpdoCycle;
        page.rows[9].value.clear();
    }
    if (c.ConfigEdition < kEditionNewLayout) {
        for (int r = 8; r <= std::min(12, rowCount - 1); ++r) {
            makeReadOnly(page.rows[static_cast<std::size_t>(r)]);
        }
    }
    if (fullLayout) {
        page.rows[kSdoConcurrentRow].listSelection = page.rows[kSdoConcurrentRow].choices.front();
        if (c.SDOConcurrent == str::Enable) {
            for (int r : {14, 15}) {
                makeReadOnly(page.rows[static_cast<std::size_t>(r)]);
                page.rows[static_cast<std::size_t>(r)].value.clear();
            }
        }
    }
    return page;
}

GridPage slavePage(const GatewayConfiguration& cfg) {
    GridPage page{PageKind::Canopen, {}};
    for (const ParamRow& def : slaveRows()) {
        page.rows.push_back(makeRow(def, cfg.Config));
    }
    return page;
}

// The limit the I/O byte count sets on mapped commands.
long ioLimitOf(const std::string& inportNum) {
    const IoSize* size = findIoSize(inportNum);
    return size != nullptr ? size->byteLimit : decodeNumber(inportNum).number;
}

// The warning a new I/O byte count raises against the mapped commands, or null.
const Text* ioSizeWarning(const CONFIG& c, const std::string& inportNum) {
    const long limit = ioLimitOf(inportNum);
    const RecordView view(c);
    // The numbers as stored: a command without an address or byte count counts with its own.
    const auto endOf = [](const CommandView& cmd) {
        return static_cast<long>(cmd.mappingAddress.number) + cmd.bytes.number;
    };
    if (limit == 96) {
        for (const CommandView& cmd : view.commands()) {
            const long m = cmd.mappingAddress.number;
            const long end = endOf(cmd);
            if ((m < 32 && end > 32) || (m < 64 && end > 64)) {
                return &str::AcrossCriticalValue;
            }
        }
    }
    for (const CommandView& cmd : view.commands()) {
        if (endOf(cmd) > limit) {
            return &str::MappingOverflow;
        }
    }
    return nullptr;
}

bool clashesWithNodeAddress(const CONFIG& c, const std::string& text) {
    const RecordView view(c);
    return std::any_of(view.nodes().begin(), view.nodes().end(), [&](const NodeView& node) {
        return node.address.entered() && node.record->NodeAddress == text;
    });
}

CommitResult unchanged() {
    CommitResult result;
    result.keepCell = true;
    result.modified = false;
    return result;
}

} // namespace

bool passesRangeCheck(const std::string& text, long lo, long hi) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
        return false;
    }
    const long value = decodeNumber(text).number;
    return value >= lo && value <= hi;
}

GridPage profibusPage(const GatewayConfiguration& cfg, EditorState& state) {
    state.firmwareIndex = firmwareVersionIndex(cfg.FirmwareVersion, state.firmwareIndex);
    GridPage page{PageKind::Profibus, {}};
    GridRow type;
    type.label = str::ParamTypeOfProtocol;
    type.value = str::ParamProfibus;
    type.grey = true;
    type.helpId = 61201;
    type.helpText = Message::plain(str::Help61201);
    page.rows.push_back(type);

    GridRow bytes;
    bytes.label = str::ParamNumberOfBytes;
    bytes.value = cfg.Fieldbus.InportNum;
    bytes.editor = EditorKind::List;
    bytes.choices = profibusChoices(state.firmwareIndex);
    bytes.listSelection =
        contains(bytes.choices, bytes.value) ? bytes.value : bytes.choices.front();
    bytes.helpId = 61204;
    bytes.helpText = str::Help61204;
    page.rows.push_back(bytes);

    if (state.firmwareIndex < 2) {
        GridRow firmware;
        firmware.label = str::ParamFirmwareVersion;
        firmware.value = cfg.FirmwareVersion;
        page.rows.push_back(firmware);
    }
    return page;
}

GridPage canopenPage(const GatewayConfiguration& cfg, EditorState& state) {
    state.firmwareIndex = firmwareVersionIndex(cfg.FirmwareVersion, state.firmwareIndex);
    return cfg.isMaster() ? masterPage(cfg, state) : slavePage(cfg);
}

CommitResult commitParameter(GatewayConfiguration& cfg, EditorState& state, PageKind page, int row,
                             const std::string& text) {
    const GridPage shown =
        page == PageKind::Profibus ? profibusPage(cfg, state) : canopenPage(cfg, state);
    if ((page != PageKind::Profibus && page != PageKind::Canopen) || row < 0 ||
        row >= static_cast<int>(shown.rows.size()) ||
        shown.rows[static_cast<std::size_t>(row)].editor == EditorKind::None) {
        return unchanged();
    }
    const GridRow& cell = shown.rows[static_cast<std::size_t>(row)];
    CommitResult result;
    CONFIG& c = cfg.Config;

    if (page == PageKind::Profibus) {
        // Warnings only: the new size is stored all the same.
        if (contains(cell.choices, text)) {
            if (const Text* warning = ioSizeWarning(c, text)) {
                result.messages.emplace_back(*warning);
            }
            cfg.Fieldbus.InportNum = text;
        } else {
            result.note = listNote(text);
        }
        result.cellText = cfg.Fieldbus.InportNum;
        return result;
    }

    const ParamRow& def = cfg.isMaster() ? masterRows()[static_cast<std::size_t>(row)]
                                         : slaveRows()[static_cast<std::size_t>(row)];
    std::string& field = c.*def.field;
    if (def.editor == EditorKind::List) {
        if (contains(cell.choices, text)) {
            field = text;
        } else {
            result.note = listNote(text);
        }
        result.refillPage = cfg.isMaster() && row == kSdoConcurrentRow;
    } else {
        bool accepted = true;
        if (cfg.isMaster() && def.field == &CONFIG::SlaveAddress &&
            clashesWithNodeAddress(c, text)) {
            result.messages.emplace_back(str::NodeAddressIsGateway);
            accepted = false;
        }
        if (accepted && passesRangeCheck(text, def.lo, def.hi)) {
            field = text;
        } else if (accepted) {
            result.note = rangeNote(text, def.lo, def.hi);
        }
    }
    result.cellText = shownValue(field);
    return result;
}

} // namespace torvane
