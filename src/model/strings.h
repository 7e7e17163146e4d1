#pragma once

// Every user-visible text of the program, defined once. Spelling and spacing are the program's
// own and must stay exactly as they are (stored files, the gateway and users' habits rely on them).

namespace torvane::str {

// ---- Configuration model ---------------------------------------------------------------------

inline constexpr const char* CanopenMaster = "CANopen Master";
inline constexpr const char* CanopenSlave = "CANopen Slave";
inline constexpr const char* XmlMaster = "TAVO20";
inline constexpr const char* XmlSlave = "TAVO20S";
inline constexpr const char* NewNode = "New node";

inline constexpr const char* LabelUploadSdo = "Upload SDO";
inline constexpr const char* LabelDownloadSdo = "Download SDO";
inline constexpr const char* LabelTransmitPdo = "Transmit PDO";
inline constexpr const char* LabelReceivePdo = "Receive PDO";

inline constexpr const char* XmlUploadSdo = "Upload-SDO";
inline constexpr const char* XmlDownloadSdo = "Download-SDO";
inline constexpr const char* XmlTransmitPdo = "Transmit-PDO";
inline constexpr const char* XmlReceivePdo = "Receive-PDO";

inline constexpr const char* Enable = "Enable";
inline constexpr const char* Disable = "Disable";
inline constexpr const char* Clear = "Clear";
inline constexpr const char* Hold = "Hold";
inline constexpr const char* HardwareConfigSize =
    "Setting through Hardware Configuration of PROFIBUS DP";

inline constexpr const char* BaudRates[] = {"10K",  "20K",  "50K",  "100K",
                                            "125K", "250K", "500K", "1M"};

// ---- Files -----------------------------------------------------------------------------------

inline constexpr const char* FilterArchive = "Config File(*.chg)";
inline constexpr const char* FilterXml = "XML File(*.xml)";

// ---- Mapping and checks ----------------------------------------------------------------------

inline constexpr const char* MappingConfirm =
    "Really want to calculate the mapping address automatically?";
inline constexpr const char* MappingMissingBytes =
    "Please fill in the number of data for each command!";
inline constexpr const char* MappingOverflow =
    "Mapping addresses beyond the maximum range,  please decrease some commands!";
inline constexpr const char* MappingSuccessful = "Automatic mapping is successful";

// Bus-load questions (printf formats: command count, least cycle in ms).
inline constexpr const char* RpdoCycleQuestion =
    "At this CAN baud rate, to configure %d RPDO commands, RPDO send cycle takes at least %d "
    "milliseconds! Do you want to continue the download?";
inline constexpr const char* SdoCycleQuestion =
    "At this CAN baud rate, to configure %d SDO commands, SDO send cycle takes at least %d "
    "milliseconds! Do you want to continue the download?";
inline constexpr const char* CheckRangeFailed = "Mapping addresses beyond the maximum range, the "
                                                "download fails, please decrease some commands!";
inline constexpr const char* CheckBlock32Failed =
    "Download fails, the configuration does not meet the 32 bytes of a command integrity!";
inline constexpr const char* CheckAddressInvalid = "Mapping address is invalid!";
inline constexpr const char* CheckAddressConflict = "Mapping address conflict !\n";
// printf format: the node addresses of the earlier and the later command.
inline constexpr const char* CheckCobIdConflict =
    "Node-%d and Node-%d a strip under the command PDO COB-ID conflict!";
inline constexpr const char* CheckInvalidNode = "There is invalid node!";

// Conflict detection window (CDTest).
inline constexpr const char* ConflictTitle = "Conflict Detection";
inline constexpr const char* ConflictCommandList = "Command list";
inline constexpr const char* ConflictInputArea = "Input area";
inline constexpr const char* ConflictOutputArea = "Output area";
inline constexpr const char* ConflictLegendInput = "Input";
inline constexpr const char* ConflictLegendOutput = "Output";
inline constexpr const char* ConflictLegendConflict = "Conflict";
inline constexpr const char* ConflictListTpdo = "TPDO";
inline constexpr const char* ConflictListRpdo = "RPDO";


// ---- Editor: network tree and parameter pages -------------------------------------------------



// ---- Editor: command pages and adding commands -----------------------------------------------

// ---- Communication ---------------------------------------------------------------------------

// ---- Exports ---------------------------------------------------------------------------------

// ---- Monitor ---------------------------------------------------------------------------------

// ---- Application -----------------------------------------------------------------------------

} // namespace torvane::str
