#pragma once

#include "comm/frame_layout.h"
#include "comm/serial_link.h"
#include "comm/serial_port.h"
#include "comm/transfer_codes.h"
#include "model/configuration.h"
#include "model/vocabulary.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace torvane {

// Base of the gateway protocol objects. Owns the serial port for one transfer.
class CTAVOConfig {
public:
    // `configuration` is the one the transfer reads and, for an upload, replaces; it must outlive
    // the object.
    CTAVOConfig(std::unique_ptr<SerialPort> port, Clock& clock,
                GatewayConfiguration& configuration);
    virtual ~CTAVOConfig();
    CTAVOConfig(const CTAVOConfig&) = delete;
    CTAVOConfig& operator=(const CTAVOConfig&) = delete;

    // Returns the download format and stores it; None when the gateway did not answer.
    virtual DownloadFormat Identify() = 0;
    // Opens the port; Success, or OpenFailed (see openFailureReason()).
    virtual TransferResult Open(const std::string& portName, int baudRate, int parity);
    // Each check returns true when complete, false with the composed "is empty" text in
    // messageText().
    virtual bool CheckProfibusBytes();
    virtual bool CheckGatewayParameters();
    virtual bool CheckNodes();
    virtual bool CheckCommands();

    // Message of a result (FieldEmpty gives the last completeness complaint).
    Message ResultText(TransferResult code) const;

    void setProgressObserver(ProgressObserver* observer) { observer_ = observer; }
    void setFormatQuestion(FormatQuestion* question) { question_ = question; }
    // The document's OldEditionLoaded flag: asks the format question on new firmware.
    void setOldEditionLoaded(bool loaded) { oldEditionLoaded_ = loaded; }

    DownloadFormat downloadFormat() const { return format_; }
    const Message& messageText() const { return message_; }
    const std::string& portName() const { return portName_; }
    const Message& openFailureReason() const { return openReason_; }
    // Firmware generation reported by the last TAVO20 identification (0.0 before).
    int firmwareMajor() const { return firmwareMajor_; }
    int firmwareMinor() const { return firmwareMinor_; }
    bool isPortOpen() const { return portOpen_; }
    // True when the identified firmware takes the SDO options frame (5.2 and later).
    bool sdoOptionsSupported() const;

protected:
    SerialPort& port() { return *port_; }
    Clock& clock() { return clock_; }
    GatewayConfiguration& config() const { return config_.get(); }
    // Identification request and its reply (missing bytes read as 0); false when nothing came.
    bool requestIdentification(std::uint8_t (&reply)[frame::kIdentifyReplySize]);

    void notifyRange();
    void notifyStep();
    void notifyFinished();
    TransferResult finish(TransferResult code) {
        notifyFinished();
        return code;
    }

    std::unique_ptr<SerialPort> port_;
    Clock& clock_;
    // A wrapper rather than a reference: an upload works on a copy until every frame arrived.
    std::reference_wrapper<GatewayConfiguration> config_;
    std::string portName_;
    Message message_;
    Message openReason_;
    DownloadFormat format_ = DownloadFormat::None;
    int firmwareMajor_ = 0;
    int firmwareMinor_ = 0;
    bool portOpen_ = false;
    bool oldEditionLoaded_ = false;
    ProgressObserver* observer_ = nullptr;
    FormatQuestion* question_ = nullptr;
};

inline constexpr unsigned kNoCode = 0xFFFF;

// Common part of the two download classes: identification, converters and counting.
class CDownConfig : public CTAVOConfig {
public:
    using CTAVOConfig::CTAVOConfig;

    DownloadFormat Identify() override;
    // Identifies the gateway, runs Validate and sends in the format found; returns a transfer
    // result code.
    virtual TransferResult Download();
    // Sends the configuration in `format`, one the identification chose; a transfer result code.
    virtual TransferResult SendConfiguration(DownloadFormat format) = 0;
    // Returns Success to go on, or the result that stops the download.
    virtual TransferResult Validate(Message& textOut) = 0;

    // Wire codes of the parameters; 0xFFFF when the text is unknown.
    virtual unsigned IoSizeCode(DownloadFormat format) const;
    virtual unsigned CanBaudCode() const;
    unsigned EnableNmtCode() const;
    void CountCommands(int& uploadSdo, int& tpdo, int& downloadSdo, int& rpdo) const;
    unsigned ControlMonitorCode() const;
    unsigned ErrorControlValue() const;
    virtual unsigned NodeIdValue() const;
    virtual unsigned DelayStartupValue() const;
    virtual unsigned TpdoClearTimeValue() const;
    unsigned TpdoClearTimeByte() const;
    unsigned SdoTimeoutByte() const;
    unsigned SyncByte() const;
    unsigned OutputProcessingCode() const;

protected:
    bool isSlaveModel() const { return !config().isMaster(); }
    // Writes the last data frame, waits `waitMs` and reads its reply; Success, WriteError or
    // ReadFailed.
    TransferResult SendLastFrame(const Frame& frame, int waitMs);
};

// Common part of the two upload classes: identification and the setters of the decoded values.
class CUploadConfig : public CTAVOConfig {
public:
    using CTAVOConfig::CTAVOConfig;

    DownloadFormat Identify() override;
    // Identifies the gateway and reads the configuration in the format it stores; returns a
    // transfer result code. The configuration changes only when every header and data frame was
    // read; otherwise it stays exactly as it was.
    virtual TransferResult Upload();
    // Reads the configuration in `format`, one the identification chose; Success for a format the
    // model does not read. Returns a transfer result code.
    virtual TransferResult ReceiveConfiguration(DownloadFormat format) = 0;

    virtual void SetIoSize(unsigned code, DownloadFormat format);
    virtual void SetNodeId(unsigned value);
    virtual void SetCanBaud(unsigned code);
    void SetTpdoClearTime(unsigned value);
    void SetSdoTimeout(unsigned value16);
    virtual void SetSdoTimeoutByte(unsigned value8);
    void SetEnableNmt(unsigned code);
    virtual void SetDelayStartup(unsigned value);
    void SetSync(unsigned value);
    void SetControlMonitor(unsigned code);
    void SetErrorControl(unsigned value);
    void SetRpdoCycle(unsigned value);
    void SetOutputProcessing(unsigned code);
    void SetSdoCycle(unsigned value);

    // Record decoders; `record` points at one 6- or 13-byte record of a data frame.
    virtual void AddUploadSdo(const std::uint8_t* record, DownloadFormat format) = 0;
    virtual void AddTpdo(const std::uint8_t* record, DownloadFormat format) = 0;
    virtual void AddDownloadSdo(const std::uint8_t* record, DownloadFormat format) = 0;
    virtual void AddRpdo(const std::uint8_t* record, DownloadFormat format) = 0;

    // True after an Upload that read every header and data frame (and so changed the
    // configuration), even when the SDO options reply was wrong.
    bool framesComplete() const { return framesComplete_; }

protected:
    // Runs `sequence` on a copy of the configuration and applies the copy when
    // `framesComplete_` was set by the sequence.
    template <typename Sequence> TransferResult runOnCopy(Sequence sequence);
    bool framesComplete_ = false;
};

// Wire code of a CAN baud rate text; 0xFFFF for any other text.
unsigned canBaudCode(std::string_view text);
// The I/O size text of a new-format wire code: one of the four sizes for 0..3, otherwise the
// hardware-configuration choice.
const char* fixedIoSizeText(unsigned code);

// Clears the configuration to what an upload starts from (the view's reset before decoding).
void ResetForUpload(GatewayConfiguration& configuration);

template <typename Sequence> TransferResult CUploadConfig::runOnCopy(Sequence sequence) {
    GatewayConfiguration& attached = config_.get();
    GatewayConfiguration work = attached;
    config_ = work;
    framesComplete_ = false;
    const TransferResult result = sequence();
    config_ = attached;
    if (framesComplete_) {
        attached = std::move(work);
    }
    return result;
}

} // namespace torvane
