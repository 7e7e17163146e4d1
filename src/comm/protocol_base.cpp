#include "comm/protocol_base.h"

#include "comm/frame_layout.h"
#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_codec.h"
#include "model/text_number.h"

#include <algorithm>
#include <utility>

namespace torvane {

namespace {

// An identification request: the operation with an empty body.
constexpr std::uint8_t kIdentifyRequest[] = {frame::kOpIdentify, 0, frame::kOpIdentify};

// A step of an empty field's path: a name as it is (a tree text, a node or command type's
// name) or a row label, which is translated.
struct PathPart {
    Message text;
    PathPart(const char* name) : text(Message::plain(name)) {}            // NOLINT
    PathPart(std::string name) : text(Message::plain(std::move(name))) {} // NOLINT
    PathPart(Text label) : text(label) {}                                 // NOLINT
};

// "\"a\\b\"is empty" and "\"a\\b\\c\"is empty".
Message emptyMessage(std::initializer_list<PathPart> parts) {
    std::vector<Message> steps;
    for (const PathPart& part : parts) {
        steps.push_back(part.text);
    }
    return {str::CheckIsEmpty, joined(steps, str::PathStep)};
}

// A parameter as the gateway receives it: the bits of the value read.
unsigned number(const std::string& text) {
    return static_cast<unsigned>(decodeNumber(text).number);
}

// The edition a TAVO20 identification leaves in the configuration.
std::int32_t editionOf(DownloadFormat format) {
    return format == DownloadFormat::Tavo20New ? kEditionNewLayout : kEditionCompatible;
}

} // namespace

// ---- CTAVOConfig --------------------------------------------------------------------------------

CTAVOConfig::CTAVOConfig(std::unique_ptr<SerialPort> port, Clock& clock,
                         GatewayConfiguration& configuration)
    : port_(std::move(port)), clock_(clock), config_(configuration) {}

CTAVOConfig::~CTAVOConfig() {
    if (port_ && portOpen_) {
        port_->close();
    }
}

TransferResult CTAVOConfig::Open(const std::string& portName, int baudRate, int parity) {
    portName_ = portName;
    openReason_ = {};
    portOpen_ = false;
    if (!port_) {
        return TransferResult::OpenFailed;
    }
    if (OpenSerialPort(*port_, portName, baudRate, parity, openReason_) != LinkResult::Ok) {
        return TransferResult::OpenFailed;
    }
    portOpen_ = true;
    return TransferResult::Success;
}

bool CTAVOConfig::CheckProfibusBytes() {
    if (config().Fieldbus.InportNum.empty()) {
        message_ = emptyMessage({str::ProfibusNetwork, str::ParamNumberOfBytes});
        return false;
    }
    return true;
}

bool CTAVOConfig::CheckGatewayParameters() {
    const CONFIG& c = config().Config;
    struct Field {
        const std::string* value;
        PathPart label;
    };
    const Field always[] = {
        {&c.BuadRate, str::ParamBaudRate},
        {&c.SlaveAddress, str::ParamNodeId},
        {&c.SDOTimeout, str::ParamSdoTimeout},
        {&c.NMT, str::ParamEnableNmt},
        {&c.TPDOTimeout, str::ParamClearTpdo},
        {&c.DelayStart, str::ParamDelayStart},
        {&c.SYNC, str::PathSync},
    };
    const Field newFormat[] = {
        {&c.ControlStatus, str::ParamControlStatus},
        {&c.ErrorControl, str::ParamErrorControl},
        {&c.RPDOCycle, str::ParamRpdoCycle},
        {&c.OutputProcessing, str::ParamOutputProcessing},
        {&c.SDOCycle, str::ParamSdoCycle},
    };
    auto check = [this](const Field& f) {
        if (f.value->empty()) {
            message_ = emptyMessage({str::CanopenNetwork, f.label});
            return false;
        }
        return true;
    };
    for (const Field& f : always) {
        if (!check(f)) {
            return false;
        }
    }
    if (format_ == DownloadFormat::Tavo20New) {
        for (const Field& f : newFormat) {
            if (!check(f)) {
                return false;
            }
        }
    }
    return true;
}

// The completeness checks look for empty texts only: the gateway takes any other text.
bool CTAVOConfig::CheckNodes() {
    for (const NodeEntry& node : usedNodes(config().Config)) {
        if (node.NodeAddress.empty()) {
            message_ = emptyMessage({configTextToUtf8(node.NodeName), str::CmdRowSlaveAddress});
            return false;
        }
    }
    return true;
}

bool CTAVOConfig::CheckCommands() {
    const CONFIG& c = config().Config;
    const RecordView view(c);
    for (const CommandView& command : view.commands()) {
        const INSTRUCTION& cmd = *command.record;
        // A NodeIndex outside the table names the first node rather than reading past it.
        const int nodeIndex =
            cmd.NodeIndex > 1 && cmd.NodeIndex <= kNodeTableSize ? cmd.NodeIndex - 1 : 0;
        const std::string nodeName = configTextToUtf8(c.Nodes[nodeIndex].NodeName);
        const bool pdo = command.isPdo();
        const CommandType* type = command.type();
        const char* typeName =
            (type != nullptr ? *type : commandType(CommandKind::DownloadSdo)).xmlName;
        const std::pair<const std::string*, Text> fields[] = {
            {&cmd.Bytes, str::ParamNumberOfBytes},
            {&cmd.MappingAddress, str::CmdRowMappingAddress},
            {pdo ? &cmd.CobId : &cmd.Index, pdo ? str::CmdRowCobId : str::CmdRowIndex},
            {pdo ? nullptr : &cmd.SubIndex, str::CmdRowSubIndex},
        };
        for (const auto& [value, label] : fields) {
            if (value != nullptr && value->empty()) {
                message_ = emptyMessage({nodeName, typeName, label});
                return false;
            }
        }
    }
    return true;
}

Message CTAVOConfig::ResultText(TransferResult code) const {
    return transferResultText(code, message_, openReason_);
}

bool CTAVOConfig::requestIdentification(std::uint8_t (&reply)[frame::kIdentifyReplySize]) {
    std::fill(std::begin(reply), std::end(reply), 0);
    WriteFrame(*port_, clock_, kIdentifyRequest);
    std::size_t count = 0;
    ReadAvailable(*port_, clock_, reply, sizeof reply, count);
    return count > 0;
}

bool CTAVOConfig::sdoOptionsSupported() const {
    return firmwareMajor_ >= 5 && firmwareMinor_ >= 2 &&
           !(firmwareMajor_ == 255 && firmwareMinor_ == 255);
}

void CTAVOConfig::notifyRange() {
    if (observer_ != nullptr) {
        observer_->progressRange(kProgressSteps);
    }
}

void CTAVOConfig::notifyStep() {
    if (observer_ != nullptr) {
        observer_->progressStep(1);
    }
}

void CTAVOConfig::notifyFinished() {
    if (observer_ != nullptr) {
        observer_->progressFinished();
    }
}

// ---- CDownConfig --------------------------------------------------------------------------------

DownloadFormat CDownConfig::Identify() {
    firmwareMajor_ = 0;
    firmwareMinor_ = 0;
    if (!portOpen_) {
        return DownloadFormat::None;
    }
    std::uint8_t r[frame::kIdentifyReplySize];
    if (!requestIdentification(r)) {
        return DownloadFormat::None;
    }
    const bool slave = isSlaveModel();
    auto ask = [&]() {
        const FormatChoice choice =
            question_ != nullptr ? question_->askDownloadFormat() : FormatChoice::Cancel;
        return formatAnswerCode(choice, slave);
    };
    DownloadFormat format = DownloadFormat::None;
    if (!slave) {
        if (r[1] == 0 && r[2] == 0 && r[3] == 0 && r[4] == 0) {
            format = DownloadFormat::Tavo20Compatible;
        } else if (oldEditionLoaded_) {
            format = ask();
            if (format != DownloadFormat::Tavo20Compatible && format != DownloadFormat::Tavo20New) {
                return format;
            }
        } else {
            format = DownloadFormat::Tavo20New;
        }
        config().Config.ConfigEdition = editionOf(format);
        firmwareMajor_ = r[frame::kFirmwareMajor];
        firmwareMinor_ = r[frame::kFirmwareMinor];
    } else {
        if (r[1] == 0 && r[2] == 0 && r[3] == 0) {
            format = DownloadFormat::Tavo20SCompatible;
        } else if (oldEditionLoaded_) {
            format = ask();
            if (format == DownloadFormat::Tavo20SNew) {
                if (!requestIdentification(r)) {
                    return DownloadFormat::None;
                }
            } else if (format != DownloadFormat::Tavo20SCompatible) {
                return format;
            }
        } else {
            format = DownloadFormat::Tavo20SNew;
        }
    }
    format_ = format;
    return format;
}

unsigned CDownConfig::IoSizeCode(DownloadFormat format) const {
    const IoSize* size = findIoSize(config().Fieldbus.InportNum);
    if (format == DownloadFormat::Tavo20New) {
        return size != nullptr ? size->newCode : kHardwareIoSize.newCode;
    }
    if (format == DownloadFormat::Tavo20Compatible) {
        return size != nullptr ? size->compatibleCode : kNoWireCode;
    }
    return kNoCode;
}

unsigned canBaudCode(std::string_view text) {
    const CanBaudRate* rate = findCanBaudRate(text);
    return rate != nullptr ? rate->wireCode : kNoCode;
}

unsigned CDownConfig::CanBaudCode() const {
    return canBaudCode(config().Config.BuadRate);
}

unsigned CDownConfig::EnableNmtCode() const {
    const std::string& s = config().Config.NMT;
    if (s == str::Enable || s == str::Yes) {
        return 1;
    }
    if (s == str::Disable || s == str::No) {
        return 0;
    }
    return kNoCode;
}

void CDownConfig::CountCommands(int& uploadSdo, int& tpdo, int& downloadSdo, int& rpdo) const {
    const RecordView view(config().Config);
    const auto count = [&view](CommandKind kind) {
        return static_cast<int>(view.ofKind(kind).size());
    };
    uploadSdo = count(CommandKind::UploadSdo);
    tpdo = count(CommandKind::TransmitPdo);
    downloadSdo = count(CommandKind::DownloadSdo);
    rpdo = count(CommandKind::ReceivePdo);
}

unsigned CDownConfig::ControlMonitorCode() const {
    const std::string& s = config().Config.ControlStatus;
    return s == str::Disable ? 0 : s == str::Enable ? 1 : kNoCode;
}

unsigned CDownConfig::OutputProcessingCode() const {
    const std::string& s = config().Config.OutputProcessing;
    return s == str::Clear ? 0 : s == str::Hold ? 1 : kNoCode;
}

unsigned CDownConfig::ErrorControlValue() const {
    return number(config().Config.ErrorControl);
}
unsigned CDownConfig::NodeIdValue() const {
    return number(config().Config.SlaveAddress);
}
unsigned CDownConfig::DelayStartupValue() const {
    return number(config().Config.DelayStart);
}
unsigned CDownConfig::TpdoClearTimeValue() const {
    return number(config().Config.TPDOTimeout);
}
unsigned CDownConfig::TpdoClearTimeByte() const {
    return number(config().Config.TPDOTimeout) % 256;
}
unsigned CDownConfig::SdoTimeoutByte() const {
    return number(config().Config.SDOTimeout) % 256;
}
unsigned CDownConfig::SyncByte() const {
    return number(config().Config.SYNC) % 256;
}

// ---- CUploadConfig ------------------------------------------------------------------------------

TransferResult CUploadConfig::Upload() {
    return runOnCopy([this] {
        const DownloadFormat format = Identify();
        return format == DownloadFormat::None ? TransferResult::ReadFailed
                                              : ReceiveConfiguration(format);
    });
}

DownloadFormat CUploadConfig::Identify() {
    firmwareMajor_ = 0;
    firmwareMinor_ = 0;
    if (!portOpen_) {
        return DownloadFormat::None;
    }
    std::uint8_t r[frame::kIdentifyReplySize];
    if (!requestIdentification(r)) {
        return DownloadFormat::None;
    }
    const bool slave = !config().isMaster();
    DownloadFormat format = DownloadFormat::None;
    if (slave) {
        if (r[1] == 0 && r[2] == 0 && r[3] == 0) {
            format = DownloadFormat::Tavo20SCompatible;
        } else {
            format = r[3] == 1 ? DownloadFormat::Tavo20SCompatible : DownloadFormat::Tavo20SNew;
        }
    } else {
        if (r[1] == 0 && r[2] == 0 && r[3] == 0 && r[4] == 0) {
            format = DownloadFormat::Tavo20Compatible;
        } else {
            static constexpr std::uint8_t kQuery[] = {frame::kOpFormatQuery, 0,
                                                      frame::kOpFormatQuery};
            WriteFrame(*port_, clock_, kQuery);
            std::uint8_t q[frame::kStoredFormatReplySize] = {};
            std::size_t count = 0;
            ReadAvailable(*port_, clock_, q, sizeof q, count);
            // An answer that never came is no answer of 0: that would pick the compatible
            // format for a gateway that may store the new one.
            if (count <= frame::kStoredFormat) {
                return DownloadFormat::None;
            }
            const std::uint8_t stored = q[frame::kStoredFormat];
            if (stored == 0) {
                format = DownloadFormat::Tavo20Compatible;
            } else if (stored == 1) {
                format = DownloadFormat::Tavo20New;
            } else {
                return DownloadFormat::None;
            }
            // The firmware bytes come from a second identification.
            WriteFrame(*port_, clock_, kIdentifyRequest);
            clock_.sleepMs(50);
            port_->bytesWaiting();
            std::fill(std::begin(r), std::end(r), 0);
            ReadAvailable(*port_, clock_, r, sizeof r, count);
            firmwareMajor_ = r[frame::kFirmwareMajor];
            firmwareMinor_ = r[frame::kFirmwareMinor];
        }
        config().Config.ConfigEdition = editionOf(format);
    }
    format_ = format;
    return format;
}

void CUploadConfig::SetIoSize(unsigned code, DownloadFormat format) {
    std::string& s = config().Fieldbus.InportNum;
    if (format == DownloadFormat::Tavo20Compatible) {
        for (const IoSize& size : kIoSizes) {
            if (size.compatibleCode != kNoWireCode && size.compatibleCode == code) {
                s = size.text;
            }
        }
    } else if (format == DownloadFormat::Tavo20New) {
        s = fixedIoSizeText(code);
    }
}

const char* fixedIoSizeText(unsigned code) {
    return code < kFixedIoSizeCount ? kIoSizes[code].text : kHardwareIoSize.text;
}

void CUploadConfig::SetNodeId(unsigned value) {
    config().Config.SlaveAddress = decimalText(value);
}
void CUploadConfig::SetCanBaud(unsigned code) {
    const CanBaudRate* rate = canBaudRateOfCode(code);
    if (rate != nullptr) {
        config().Config.BuadRate = rate->text;
    }
}
void CUploadConfig::SetTpdoClearTime(unsigned value) {
    config().Config.TPDOTimeout = decimalText(value);
}
void CUploadConfig::SetSdoTimeout(unsigned value16) {
    config().Config.SDOTimeout = decimalText(value16 & 0xFFFF);
}
void CUploadConfig::SetSdoTimeoutByte(unsigned value8) {
    config().Config.SDOTimeout = decimalText(value8 & 0xFF);
}
void CUploadConfig::SetEnableNmt(unsigned code) {
    // Stored as the texts the parameter grid offers, so a re-download sends the same byte.
    if (code <= 1) {
        config().Config.NMT = code == 1 ? str::Enable : str::Disable;
    }
}
void CUploadConfig::SetDelayStartup(unsigned value) {
    config().Config.DelayStart = decimalText(value);
}
void CUploadConfig::SetSync(unsigned value) {
    config().Config.SYNC = decimalText(value);
}
void CUploadConfig::SetControlMonitor(unsigned code) {
    config().Config.ControlStatus = code == 0 ? str::Disable : str::Enable;
}
void CUploadConfig::SetErrorControl(unsigned value) {
    config().Config.ErrorControl = decimalText(value);
}
void CUploadConfig::SetRpdoCycle(unsigned value) {
    config().Config.RPDOCycle = decimalText(value);
}
void CUploadConfig::SetOutputProcessing(unsigned code) {
    config().Config.OutputProcessing = code == 0 ? str::Clear : str::Hold;
}
void CUploadConfig::SetSdoCycle(unsigned value) {
    config().Config.SDOCycle = decimalText(value);
}

void ResetForUpload(GatewayConfiguration& cfg) {
    // The same values as a new configuration of the current type; the edition stays.
    const std::int32_t edition = cfg.Config.ConfigEdition;
    resetToNew(cfg, cfg.ConfigType);
    cfg.Config.ConfigEdition = edition;
}

} // namespace torvane
