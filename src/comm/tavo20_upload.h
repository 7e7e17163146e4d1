#pragma once

#include "comm/tavo_config.h"

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

    int ReceiveConfiguration(int format) override;
    void AddUploadSdo(const std::uint8_t* record, int format) override;
    void AddTpdo(const std::uint8_t* record, int format) override;
    void AddDownloadSdo(const std::uint8_t* record, int format) override;
    void AddRpdo(const std::uint8_t* record, int format) override;
    // Appends the command and, when its address is new, a node "Node-<address>".
    virtual void AddCommand(const UploadedCommand& fields);

private:
    int UploadCompatible();
    int UploadNew();
    void addSdo(const std::uint8_t* record, int format, const char* type);
    void addPdo(const std::uint8_t* record, int format, const char* type);
};

// Upload from the TAVO20S (CANopen slave configurations).
class CTAVO20SUpload : public CUploadConfig {
public:
    using CUploadConfig::CUploadConfig;
    ~CTAVO20SUpload() override;

    int ReceiveConfiguration(int format) override;
    void SetIoSize(unsigned code, int format) override;
    void SetNodeId(unsigned value) override;
    void SetCanBaud(unsigned code) override;
    void SetSdoTimeoutByte(unsigned value8) override;
    void SetDelayStartup(unsigned value) override;
    void AddUploadSdo(const std::uint8_t* record, int format) override;
    void AddTpdo(const std::uint8_t* record, int format) override;
    void AddDownloadSdo(const std::uint8_t* record, int format) override;
    void AddRpdo(const std::uint8_t* record, int format) override;

    virtual int ReadConfiguration(int format);
    virtual int UploadFormat5();
    virtual int UploadFormat6();

private:
    void addPdo(const std::uint8_t* record, const char* type);
};

} // namespace torvane
