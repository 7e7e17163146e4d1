#pragma once

#include "comm/protocol_base.h"

#include <cstdint>
#include <string>

namespace torvane {

// One decoded command as texts, handed to CTAVO20Upload::AddCommand.
struct UploadedCommand {
    std::string NodeAddress;
    std::string InstructionType;
    std::string Index;
    std::string SubIndex;
    std::string CobId;
    std::string MappingAddress;
    std::string Bytes;
};

// Upload from the TAVO20 (CANopen master configurations), compatible and new format.
class CTAVO20Upload : public CUploadConfig {
public:
    using CUploadConfig::CUploadConfig;
    ~CTAVO20Upload() override;

    TransferResult ReceiveConfiguration(DownloadFormat format) override;
    void AddUploadSdo(const std::uint8_t* record, DownloadFormat format) override;
    void AddTpdo(const std::uint8_t* record, DownloadFormat format) override;
    void AddDownloadSdo(const std::uint8_t* record, DownloadFormat format) override;
    void AddRpdo(const std::uint8_t* record, DownloadFormat format) override;
    // Appends the command and, when its address is new, a node "Node-<address>".
    virtual void AddCommand(const UploadedCommand& fields);

private:
    TransferResult UploadCompatible();
    TransferResult UploadNew();
    void addSdo(const std::uint8_t* record, DownloadFormat format, const char* type);
    void addPdo(const std::uint8_t* record, DownloadFormat format, const char* type);
};

// Upload from the TAVO20S (CANopen slave configurations).
class CTAVO20SUpload : public CUploadConfig {
public:
    using CUploadConfig::CUploadConfig;
    ~CTAVO20SUpload() override;

    TransferResult ReceiveConfiguration(DownloadFormat format) override;
    void SetIoSize(unsigned code, DownloadFormat format) override;
    void SetNodeId(unsigned value) override;
    void SetCanBaud(unsigned code) override;
    void SetSdoTimeoutByte(unsigned value8) override;
    void SetDelayStartup(unsigned value) override;
    void AddUploadSdo(const std::uint8_t* record, DownloadFormat format) override;
    void AddTpdo(const std::uint8_t* record, DownloadFormat format) override;
    void AddDownloadSdo(const std::uint8_t* record, DownloadFormat format) override;
    void AddRpdo(const std::uint8_t* record, DownloadFormat format) override;

    virtual TransferResult ReadConfiguration(DownloadFormat format);
    virtual TransferResult UploadFormat5();
    virtual TransferResult UploadFormat6();

private:
    void addPdo(const std::uint8_t* record, const char* type);
};

} // namespace torvane
