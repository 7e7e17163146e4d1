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

// Node and command page labels.
inline constexpr const char* CmdRowSlaveAddress = "Slave Address (1 to 127)";
inline constexpr const char* CmdRowIndex = "Index value";
inline constexpr const char* CmdRowSubIndex = "Sub-index value";
inline constexpr const char* CmdRowBytes = "Number of Bytes";
inline constexpr const char* CmdRowMappingAddress = "Mapping Address (Decimal)";
inline constexpr const char* CmdRowDescription = "Mnemonic Description";
inline constexpr const char* CmdRowCobId = "COB-ID";
inline constexpr const char* CobIdSelfDefining = "Self-defining";
inline constexpr const char* NodeNamePrefix = "Node-";

// Help texts of the node and command pages (string-table ids in the names).
inline constexpr const char* Help61303 = "CANopen slave address";
inline constexpr const char* Help61304 = "The range of the parameter value is 1 to 65535.";
inline constexpr const char* Help61305 = "The range of the parameter value is 0 to 255.";
inline constexpr const char* Help61306 = "Number of Bytes: must be 1 or 2 or 4.";
inline constexpr const char* Help61307 =
    "The memory address mapped to the gateway, the range: 0~111(Decimal)\r\nManually fill in "
    "under the master mode; you can also automatically fill in using automatic mapping "
    "function;\r\nCannot manually fill in temporarily under the slave mode, you can only fill in "
    "using automatic mapping function.";
inline constexpr const char* Help61309 =
    "COBID(decimal) is CAN ID.\r\nDefault value of Transmit PDO :\r\n384(0x0180) + node ID or "
    "640(0x0280) + node ID or\r\n896(0x0380) + node ID or 1152(0x0480) + node ID";
inline constexpr const char* Help61310 = "Number of Bytes: The range of the parameter value is 1~8";
inline constexpr const char* Help61311 =
    "COBID (decimal) is CAN ID.\r\nDefault value of Transmit PDO:\r\n512(0X0200) + node ID or "
    "768(0X0300) + node ID or\r\n1024(0X0400) + node ID or 1280(0X0500) + node ID";

// Commit messages of the node and command pages ("%d" is replaced by a node address).
inline constexpr const char* EnterNodeAddress = "Please enter the node address";
inline constexpr const char* SelfDefiningHint =
    "Please fill in the text box directly with sele-defining value!";
inline constexpr const char* IllegalCobId = "Illegal COB-ID address!";
inline constexpr const char* CobIdConflictNode =
    "The COB-ID and node-%d command an Article PDO COB-ID conflict";
inline constexpr const char* CobIdBytesOutOfRange =
    "COB-ID under the same number of bytes out of range!";
inline constexpr const char* CobIdExists = "The COB-ID already exists";
inline constexpr const char* MappingOutOfRange = "The mapping address is out of range!";
inline constexpr const char* SameCobIdBytesOutOfRange =
    "Byte count of same COBID is out of range!\n";
inline constexpr const char* Io96BlockIntegrity =
    "When I / O byte count is 96, any command must satisfy 32 bytes of integrity.";
inline constexpr const char* SameIndexBytesOutOfRange =
    "Byte count of same index and same subindex is out of range!\n";
inline constexpr const char* MappingBeyondRange = "Data mapping address beyond the effective range";
inline constexpr const char* NodeAddressIsGateway =
    "Node address and the gateway CANopen address can not be the same!";
inline constexpr const char* NodeAddressRepetitive = "Node address can not be repetitive!";
inline constexpr const char* RenumberCobIdIllegal =
    "After changing the node address, COB-ID illegal under a command of this node, re-enter the "
    "correct COB-ID!";
inline constexpr const char* RenumberCobIdConflict =
    "After changing the node address, COB-ID conflict a command of COB-ID and node a command of "
    "the node-%d, the COB-ID will be empty!";

// "Select Commands" dialog and its limits.
inline constexpr const char* SelectCommandsTitle = "Select Commands";
inline constexpr const char* AddMasterUploadSdo = "Upload SDO -> Profibus In";
inline constexpr const char* AddMasterDownloadSdo = "Download SDO <- Profibus Out";
inline constexpr const char* AddMasterTransmitPdo = "Transmit PDO -> Profibus In";
inline constexpr const char* AddMasterReceivePdo = "Receive PDO <- Profibus Out";
inline constexpr const char* AddSlaveTransmitPdo = "Transmit PDO <- Profibus Out";
inline constexpr const char* AddSlaveReceivePdo = "Receive PDO -> Profibus In";
inline constexpr const char* CommandUpperLimit84 = "Command more than the upper limit (84)!";
inline constexpr const char* SlaveTransmitPdoOver42 = "Transmit PDO Command is more than 42";
inline constexpr const char* SlaveReceivePdoOver42 = "Receive PDO Command is more than 42";
inline constexpr const char* SdoLimit28 = "SDO commands beyond the limit (28 )!";
inline constexpr const char* TransmitPdoLimit14 = "Transmit PDO commands beyond the limit (14 )!";
inline constexpr const char* ReceivePdoLimit14 = "Receive PDO commands beyond the limit (14 )!";
inline constexpr const char* TransmitPdoLimit42 = "Transmit PDO commands beyond the limit (42 )!";
inline constexpr const char* ReceivePdoLimit42 = "Receive PDO commands beyond the limit (42 )!";

// ---- Communication ---------------------------------------------------------------------------

// ---- Exports ---------------------------------------------------------------------------------

// ---- Monitor ---------------------------------------------------------------------------------

// ---- Application -----------------------------------------------------------------------------

} // namespace torvane::str
