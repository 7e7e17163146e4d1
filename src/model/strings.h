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



// ---- Editor: network tree and parameter pages -------------------------------------------------



// ---- Editor: command pages and adding commands -----------------------------------------------

// ---- Communication ---------------------------------------------------------------------------

// ---- Exports ---------------------------------------------------------------------------------

// ---- Monitor ---------------------------------------------------------------------------------

inline constexpr const char* MonitorInputData = "Input data";
inline constexpr const char* MonitorOutputData = "Output data";
inline constexpr const char* MonitorStartEmpty = "memory address is empty";
inline constexpr const char* MonitorDataEmpty = "the data to be send is empty";
inline constexpr const char* MonitorMalformed = "Malformed";
inline constexpr const char* MonitorOverflow = "Mapping address  overflow";
inline constexpr const char* MonitorDataTooLong =
    "The output data is longer than the 1024-byte transmit buffer";
inline constexpr const char* MonitorAddressedTooLong =
    "The output data is longer than the 253 bytes one frame can carry; nothing was sent";

// ---- Application -----------------------------------------------------------------------------

} // namespace torvane::str
