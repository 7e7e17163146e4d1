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

inline constexpr const char* ConflictTitle = "Conflict Detection";
inline constexpr const char* ConflictCommandList = "Command list";
inline constexpr const char* ConflictInputArea = "Input area";
inline constexpr const char* ConflictOutputArea = "Output area";
inline constexpr const char* ConflictLegendInput = "Input";
inline constexpr const char* ConflictLegendOutput = "Output";
inline constexpr const char* ConflictLegendConflict = "Conflict";

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

inline constexpr const char* ResultOpenFailed = "Failed to open serial port";
inline constexpr const char* ResultWriteError = "Write data to the serial port error";
inline constexpr const char* ResultReadFailed = "Reading serial data failed";
inline constexpr const char* ResultValidation = "Data validation errors";
inline constexpr const char* ResultVersionMismatch = "Hardware and software version does not match";
inline constexpr const char* ResultDownloadError = "Download error";
inline constexpr const char* ResultUploadFailed = "Failed to upload";
inline constexpr const char* ResultDownloadFailed = "Failed to download";
inline constexpr const char* ResultUnsupported =
    "The hardware does not support the current configuration";
inline constexpr const char* ResultSdoLimit = "SDO commands beyond the limit (28 )!";
inline constexpr const char* ResultTpdoLimit = "Transmit PDO commands beyond the limit (14 )!";
inline constexpr const char* ResultRpdoLimit = "Receive PDO commands beyond the limit (14 )!";
inline constexpr const char* ResultIoSizeRefused =
    "The current configuration does not support the choice of input and output bytes\n";
inline constexpr const char* ResultMappingOverflow = "Mapping address  overflow";
inline constexpr const char* ResultDownloadCancel = "Download cancel";
inline constexpr const char* ResultUploadCancel = "Upload cancel";
inline constexpr const char* ResultSuccess = "Operation is successful";
inline constexpr const char* ResultUnknown = "Unknown error";

// Second line under ResultOpenFailed, saying why.
inline constexpr const char* OpenNoPermission =
    "Permission denied: the user is not allowed to use this port (on Linux, join the "
    "\"dialout\" group and log in again).";
inline constexpr const char* OpenBusy = "The port is in use by another program or transfer.";
inline constexpr const char* OpenNotFound = "The device does not exist or was unplugged.";
inline constexpr const char* OpenNoPortSelected = "No serial port is selected.";

// Completeness checks: "\"<path>\"is empty".
inline constexpr const char* CheckIsEmpty = "is empty";
inline constexpr const char* PathProfibusNetwork = "Profibus Network";
inline constexpr const char* PathNumberOfBytes = "Number of Bytes";
inline constexpr const char* PathCanopenNetwork = "CANopen Network";
inline constexpr const char* PathCanBaudRate = "CANopen Baud Rate";
inline constexpr const char* PathCanNodeId = "CANopen Node ID";
inline constexpr const char* PathSdoTimeout = "SDO Response Timeout";
inline constexpr const char* PathEnableNmt = "Enable NMT";
inline constexpr const char* PathTpdoClearTime = "Clear Data Time for TPDO";
inline constexpr const char* PathDelayStart = "Delay to Start up";
inline constexpr const char* PathSync = "SYNC";
inline constexpr const char* PathControlStatus = "Control&Monitor Status";
inline constexpr const char* PathErrorControl = "Error Control";
inline constexpr const char* PathRpdoCycle = "The Cycle for RPDO Transmission";
inline constexpr const char* PathOutputProcessing = "Output Data Processing";
inline constexpr const char* PathSdoCycle = "The Cycle for SDO Transmission";
inline constexpr const char* PathSlaveAddress = "Slave Address (1 to 127)";
inline constexpr const char* PathMappingAddress = "Mapping Address (Decimal)";
inline constexpr const char* PathCobId = "COB-ID";
inline constexpr const char* PathIndex = "Index value";
inline constexpr const char* PathSubIndex = "Sub-index value";

// Uploaded values and nodes.
inline constexpr const char* Yes = "Yes";
inline constexpr const char* No = "No";
inline constexpr const char* UploadNodePrefix = "Node-";

// The "Download hint:" question.
inline constexpr const char* DownloadHintTitle = "Download hint:";
inline constexpr const char* DownloadHintSelect = "Select";
inline constexpr const char* FormatCompatible = "compatible format";
inline constexpr const char* FormatNew = "new format";

// ---- Communication dialogs -------------------------------------------------------------------

inline constexpr const char* SerialDialogTitle = "Serial Port Configuration";
inline constexpr const char* SerialPortLabel = "Port";
inline constexpr const char* SerialBaudLabel = "Baudrate";
inline constexpr const char* SerialParityLabel = "Parity";
inline constexpr const char* SerialDataBitsLabel = "Data Bits";
inline constexpr const char* SerialStopBitsLabel = "Stop Bits";
inline constexpr const char* DownloadHintTitle = "Download hint:";
inline constexpr const char* DownloadHintText =
    "The open configuration was made with an earlier version of this program. The compatible "
    "format keeps the old download method for gateways with the earlier firmware; the new "
    "format is for all other gateways.";
inline constexpr const char* DownloadHintSelect = "Select";
inline constexpr const char* DownloadHintCompatible = "compatible format";
inline constexpr const char* DownloadHintNew = "new format";

// ---- Exports ---------------------------------------------------------------------------------

// ---- Monitor ---------------------------------------------------------------------------------

inline constexpr const char* MonitorTitle = "Monitor";
inline constexpr const char* MonitorColumnStatus = "Status";
inline constexpr const char* MonitorColumnTime = "Time";
inline constexpr const char* MonitorColumnData = "Data";
inline constexpr const char* MonitorInputDataLabel = "Input Data:";
inline constexpr const char* MonitorOutputGroup = "Output:";
inline constexpr const char* MonitorStartLabel = "The starting address:";
inline constexpr const char* MonitorStartNote = "(The starting address in DP output buffer, base 0)";
inline constexpr const char* MonitorDataLabel = "Data:";
inline constexpr const char* MonitorDataNote = "(Output data)";
inline constexpr const char* MonitorTransmit = "Transmit";
inline constexpr const char* MonitorSaveContent = "Save Content";
inline constexpr const char* MonitorStopSaving = "Stop Saving";
inline constexpr const char* MonitorStopDisplaying = "Stop Displaying";
inline constexpr const char* MonitorContinueDisplay = "Continue to display";
inline constexpr const char* MonitorExit = "Exit";
inline constexpr const char* MonitorLogFilter = "TXT File(*.txt)";
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
