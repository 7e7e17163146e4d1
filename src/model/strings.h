#pragma once

// The texts the core produces: stored values, messages, result texts, page labels and help
// texts, defined once. The GUI's own labels, menus and fonts are in gui/app/gui_texts.h.
// Spelling and spacing are the program's own and must stay exactly as they are (stored files,
// the gateway and users' habits rely on them).

#include "model/translatable.h"
#include "model/vocabulary.h"

namespace torvane::str {

// ---- Configuration model ---------------------------------------------------------------------

inline constexpr const char* CanopenMaster = "CANopen Master";
inline constexpr const char* CanopenSlave = "CANopen Slave";
inline constexpr const char* XmlMaster = "TAVO20";
inline constexpr const char* XmlSlave = "TAVO20S";
inline constexpr const char* NewNode = "New node";

inline constexpr const char* Enable = "Enable";
inline constexpr const char* Disable = "Disable";
inline constexpr const char* Clear = "Clear";
inline constexpr const char* Hold = "Hold";
inline constexpr const char* HardwareConfigSize = kHardwareConfigSize;

// ---- Files -----------------------------------------------------------------------------------

inline constexpr const char* FilterArchive = TORVANE_TR("Files", "Config File(*.chg)");
inline constexpr const char* FilterXml = TORVANE_TR("Files", "XML File(*.xml)");
// Each followed by the file's path, ": " and the reason.
inline constexpr const char* FileCannotSave = TORVANE_TR("Files", "cannot save ");
inline constexpr const char* FileCannotRead = TORVANE_TR("Files", "cannot read ");
inline constexpr const char* FileCannotOpen = TORVANE_TR("Files", "cannot open ");
// Reasons.
inline constexpr const char* FileNotRegular = TORVANE_TR("Files", "not a regular file");
inline constexpr const char* FileIsFolder = TORVANE_TR("Files", "it is a folder");
// "<path>: " before each.
inline constexpr const char* XmlNoConfiguration = TORVANE_TR("Files", "holds no configuration");
// printf format: the line where a damaged XML file stopped being readable.
inline constexpr const char* XmlDamagedAtLine =
    TORVANE_TR("Files", "damaged at line %d; read as far as it goes");
// "<path>: " before it, ": <what the archive reader found>" after it.
inline constexpr const char* FileNotArchive =
    TORVANE_TR("Files", "not a readable configuration archive");

// ---- Mapping and checks ----------------------------------------------------------------------

inline constexpr const char* MappingMissingBytes =
    TORVANE_TR("Checks", "Please fill in the number of data for each command!");
inline constexpr const char* MappingOverflow = TORVANE_TR(
    "Checks", "Mapping addresses beyond the maximum range,  please decrease some commands!");
inline constexpr const char* MappingSuccessful =
    TORVANE_TR("Checks", "Automatic mapping is successful");

// Bus-load questions (printf formats: command count, least cycle in ms).
inline constexpr const char* RpdoCycleQuestion = TORVANE_TR(
    "Checks",
    "At this CAN baud rate, to configure %d RPDO commands, RPDO send cycle takes at least %d "
    "milliseconds! Do you want to continue the download?");
inline constexpr const char* SdoCycleQuestion = TORVANE_TR(
    "Checks",
    "At this CAN baud rate, to configure %d SDO commands, SDO send cycle takes at least %d "
    "milliseconds! Do you want to continue the download?");
inline constexpr const char* CheckRangeFailed =
    TORVANE_TR("Checks", "Mapping addresses beyond the maximum range, the "
                         "download fails, please decrease some commands!");
inline constexpr const char* CheckBlock32Failed = TORVANE_TR(
    "Checks",
    "Download fails, the configuration does not meet the 32 bytes of a command integrity!");
inline constexpr const char* CheckAddressInvalid =
    TORVANE_TR("Checks", "Mapping address is invalid!");
inline constexpr const char* CheckAddressConflict =
    TORVANE_TR("Checks", "Mapping address conflict !\n");
// printf format: the node addresses of the earlier and the later command.
inline constexpr const char* CheckCobIdConflict =
    TORVANE_TR("Checks", "Node-%d and Node-%d a strip under the command PDO COB-ID conflict!");
inline constexpr const char* CheckInvalidNode = TORVANE_TR("Checks", "There is invalid node!");

// Conflict detection: the command list's item labels.
inline constexpr const char* ConflictListTpdo = "TPDO";
inline constexpr const char* ConflictListRpdo = "RPDO";

// ---- Editor: network tree and parameter pages -------------------------------------------------

// Tree items, headings and context menu.
inline constexpr const char* ProfibusNetwork = "Profibus Network";
inline constexpr const char* CanopenNetwork = "CANopen Network";
inline constexpr const char* NodeNamePrefix = "Node-";

// Tree messages; the per-type limit texts are also those of adding commands.
inline constexpr const char* NodesOverrun = TORVANE_TR("Editor", "Nodes overrun!");
inline constexpr const char* CommandsNumberExceed =
    TORVANE_TR("Editor", "Commands number exceed the limit!");
inline constexpr const char* SdoLimit28 =
    TORVANE_TR("Editor", "SDO commands beyond the limit (28 )!");
inline constexpr const char* TransmitPdoLimit14 =
    TORVANE_TR("Editor", "Transmit PDO commands beyond the limit (14 )!");
inline constexpr const char* ReceivePdoLimit14 =
    TORVANE_TR("Editor", "Receive PDO commands beyond the limit (14 )!");

// Parameter pages: labels and fixed values.
inline constexpr const char* ParamTypeOfProtocol = TORVANE_TR("Editor", "Type of Protocol");
inline constexpr const char* ParamProfibus = "Profibus";
inline constexpr const char* ParamCanopen = "CANopen";
inline constexpr const char* ParamNumberOfBytes = TORVANE_TR("Editor", "Number of Bytes");
inline constexpr const char* ParamFirmwareVersion =
    TORVANE_TR("Editor", "Firmware Version of Gateway:");
inline constexpr const char* ParamBaudRate = TORVANE_TR("Editor", "CANopen Baud Rate");
inline constexpr const char* ParamNodeId = TORVANE_TR("Editor", "CANopen Node ID");
inline constexpr const char* ParamSdoTimeout = TORVANE_TR("Editor", "SDO Response Timeout");
inline constexpr const char* ParamEnableNmt = TORVANE_TR("Editor", "Enable NMT");
inline constexpr const char* ParamClearTpdo = TORVANE_TR("Editor", "Clear Data Time for TPDO");
inline constexpr const char* ParamDelayStart = TORVANE_TR("Editor", "Delay to Start up");
inline constexpr const char* ParamSyncCycle = TORVANE_TR("Editor", "SYNC Cycle");
inline constexpr const char* ParamControlStatus = TORVANE_TR("Editor", "Control&Monitor Status");
inline constexpr const char* ParamErrorControl = TORVANE_TR("Editor", "Error Control");
inline constexpr const char* ParamRpdoCycle =
    TORVANE_TR("Editor", "The Cycle for RPDO Transmission");
inline constexpr const char* ParamOutputProcessing = TORVANE_TR("Editor", "Output Data Processing");
inline constexpr const char* ParamSdoCycle = TORVANE_TR("Editor", "The Cycle for SDO Transmission");
inline constexpr const char* ParamSdoConcurrent = TORVANE_TR("Editor", "SDO Send Concurrently");
inline constexpr const char* ParamSdoRetries = TORVANE_TR("Editor", "Retries of SDO");
inline constexpr const char* ParamSdoPollDelay = TORVANE_TR("Editor", "SDO Poll Delay Time");
inline constexpr const char* ParamClearRpdo = TORVANE_TR("Editor", "Clear Data Time for RPDO");

// Parameter pages: messages (the gateway/node address clash is NodeAddressIsGateway).
inline constexpr const char* AcrossCriticalValue =
    TORVANE_TR("Editor", "Configuration command across a critical value 32 or 64!");

// Parameter pages: help texts by string-table id.
inline constexpr const char* Help61201 = "PROFIBUS DP";
inline constexpr const char* Help61204 = TORVANE_TR(
    "Help",
    "Size of Profibus Input and Output buffer, the default value is 112.\r\nWhen you choose 16, "
    "48, 96, or 112 input/output bytes, total input/output bytes of CANopen command you "
    "configured should not exceed the input/output bytes you chose.\r\nWhen you choose Set "
    "through the Profibus-DP master configuration software, total input/output bytes of CANopen "
    "command you configured should not exceed 244 bytes.");
inline constexpr const char* Help61205 =
    TORVANE_TR("Help", "Baud rate of CANopen, default value is 250K");
inline constexpr const char* Help61206 = TORVANE_TR(
    "Help",
    "This parameter is the gateway's address as CANopen node.\r\nThe range of the parameter "
    "value is 1 to 127. Default value is 127.");
inline constexpr const char* Help61207 = TORVANE_TR(
    "Help", "This parameter is based on 10 ms.\r\nThe range of the parameter value is 1 to "
            "2000.\r\nDefault value is 200.\r\nFor example if this parameter is 200, then the SDO "
            "Response timeout is 2000ms.");
inline constexpr const char* Help61208 = TORVANE_TR(
    "Help",
    "NMT is the abbreviations of Network Management for CANopen.\r\nIf you select \"Enable\", "
    "the gateway will serve as Network Manager.");
inline constexpr const char* Help61209 = TORVANE_TR(
    "Help",
    "This parameter is based on 10ms, the gateway will clear the corresponding date buffer when "
    "the specified timeout is reached.\r\nIf this parameter is 0 the gateway will not clear the "
    "corresponding data buffer.\r\nThe range of the parameter value is 0 to 2000. Default value "
    "is 0.\r\nFor example, if this parameter is 200, then the Clear Data Time is 2000ms.");
inline constexpr const char* Help61210 = TORVANE_TR(
    "Help",
    "Delay to start up, this parameter is based on 10ms.\r\nThe gateway will send bootup after "
    "a period of time.\r\nThe range of the parameter value is 0 to 200.Default value is 100.");
inline constexpr const char* Help61211 = TORVANE_TR(
    "Help",
    "SYNC Cycle, this parameter is based on 10ms.\r\nThe gateway will send SYNC message "
    "according to SYNC Cycle.\r\nThe range of the parameter value is 0 to 2000. Default value "
    "is 0.");
inline constexpr const char* Help61212 = TORVANE_TR(
    "Help",
    "When the Control&&Monitor Status is set to be Enable, PROFIBUS master station can read the "
    "states of CANopen slaves and also change the states of CANopen slave.");
inline constexpr const char* Help61319 = TORVANE_TR(
    "Help",
    "When the input value is not 0, it means to use life Guard protocol.\r\nWhen the input "
    "value is 0, it means to use heartbeat protocol.\r\nThe default value is 0, that is, using "
    "heartbeat protocol (range: 0~2000).\r\nThis parameter is based on 10ms.");
inline constexpr const char* Help61491 = TORVANE_TR(
    "Help",
    "The cycle for RPDO Transmission, is based on 1ms.\r\nZero means to use the mode of change "
    "of value output;\r\nNon-zero means to send all RPDO according to the cycle.\r\nSending "
    "cycle equals setting value, the default value is 0. The range: 0~60000.\r\nNote: This "
    "parameter and CAN baud rate are relevant with RPDO command numbers.\r\nIf the system "
    "focuses on real-time performance, it is recommended to set this value to 0, that is, "
    "change of value output.");
inline constexpr const char* Help61494 = TORVANE_TR(
    "Help", "When PROFIBUS DP is off, the RPDO data of DP output buffer will Clear and "
            "Hold;\r\n\"Clear\" means to set the data to zero;\r\n\"Hold\" means to keep the data "
            "unchanged before DP is off.");
inline constexpr const char* Help61496 = TORVANE_TR(
    "Help",
    "The Cycle for SDO Transmission, is based on 1ms.\r\nZero means Download SDO uses mode of "
    "change of value output, Upload SDO uses the mode of non-stop reading slave "
    "data;\r\nNon-zero means to send all SDO according to the cycle.\r\nSending cycle equals "
    "setting value, the default value is 0. The range: 0~60000.\r\nNote: This parameter and CAN "
    "baud rate are relevant with SDO command numbers. If the system focuses on real-time "
    "performance, it is recommended to set this value to 0, that is, Download SDO uses the mode "
    "of change of value output; Upload SDO uses the mode of non-stop reading slave data.");
inline constexpr const char* Help65502 = TORVANE_TR(
    "Help",
    "Disable: the SDO request for a node must wait for the node's response before initiating "
    "the next SDO request; \r\nEnable: Sending SDOs command requests of different nodes "
    "concurrently.");
inline constexpr const char* Help65503 = TORVANE_TR(
    "Help",
    "The CANopen master sends an SDO request command but does not receive a response from the "
    "slave, and the master repeatedly sends this SDO request command. Range: 0 ~ 5, default: 0.");
inline constexpr const char* Help65504 = TORVANE_TR(
    "Help",
    "The CANopen master sends the SDO request command and receives the response from the slave. "
    "The master needs to delay for a while before sending the next SDO request command. This "
    "period of time is the SDO command polling delay time. Unit: ms, Range: 0 ~ 60000ms, "
    "default: 0ms.");
inline constexpr const char* Help61300 = TORVANE_TR(
    "Help",
    "RPDO timeout clearing time\r\nZero indicates no timeout cleared\r\nEqual nonzero value "
    "indicates a timeout clear function, and timeout is non-zero integer multiple of the value "
    "of 10 ms, ranging from 0 to 200, the default value is 0\r\nFor example: Fill 20, that the "
    "gateway has not received more than 200 ms set RPDO, the gateway will RPDO corresponding to "
    "the output buffer is cleared");
inline constexpr const char* Help61302 = TORVANE_TR(
    "Help",
    "Delay to start up, this parameter is based on 10ms.\r\nThe gateway will send bootup after "
    "a period of time.\r\nThe range of the parameter value is 0 to 200. Default value is 100.");

// Names of the undo steps that are no row label (the status bar shows "Undo: <name>").
inline constexpr const char* StepAddNode = TORVANE_TR("Editor", "Add Node");
inline constexpr const char* StepDeleteNode = TORVANE_TR("Editor", "Delete Node");
inline constexpr const char* StepPasteNode = TORVANE_TR("Editor", "Paste Node");
inline constexpr const char* StepAddCommand = TORVANE_TR("Editor", "Add Command");
inline constexpr const char* StepDeleteCommand = TORVANE_TR("Editor", "Delete Command");
inline constexpr const char* StepCalculateMapping =
    TORVANE_TR("Editor", "Calculate Mapping Address");
// printf format: what a download changed, the parts below joined by ", ".
inline constexpr const char* StepDownloadChanged = TORVANE_TR("Editor", "Download (%s)");
inline constexpr const char* StepPartCommandCut = TORVANE_TR("Editor", "84-command cut");
inline constexpr const char* StepPartMappingAddresses = TORVANE_TR("Editor", "mapping addresses");
inline constexpr const char* StepPartLayout = TORVANE_TR("Editor", "configuration layout");

// Document: captions.
inline constexpr const char* AppTitle = "Torvane";
inline constexpr const char* UntitledDocument = TORVANE_TR("Editor", "Untitled");
inline constexpr const char* CaptionAtStartUp =
    TORVANE_TR("Editor", "Gateway Configuration Software Torvane");

// ---- Editor: command pages and adding commands -----------------------------------------------

// Node and command page labels.
inline constexpr const char* CmdRowSlaveAddress = TORVANE_TR("Editor", "Slave Address (1 to 127)");
inline constexpr const char* CmdRowIndex = TORVANE_TR("Editor", "Index value");
inline constexpr const char* CmdRowSubIndex = TORVANE_TR("Editor", "Sub-index value");
inline constexpr const char* CmdRowMappingAddress =
    TORVANE_TR("Editor", "Mapping Address (Decimal)");
inline constexpr const char* CmdRowDescription = TORVANE_TR("Editor", "Mnemonic Description");
inline constexpr const char* CmdRowCobId = TORVANE_TR("Editor", "COB-ID");
inline constexpr const char* CobIdSelfDefining = "Self-defining";

// Help texts of the node and command pages (string-table ids in the names).
inline constexpr const char* Help61303 = TORVANE_TR("Help", "CANopen slave address");
inline constexpr const char* Help61304 =
    TORVANE_TR("Help", "The range of the parameter value is 1 to 65535.");
inline constexpr const char* Help61305 =
    TORVANE_TR("Help", "The range of the parameter value is 0 to 255.");
inline constexpr const char* Help61306 =
    TORVANE_TR("Help", "Number of Bytes: must be 1 or 2 or 4.");
inline constexpr const char* Help61307 = TORVANE_TR(
    "Help",
    "The memory address mapped to the gateway, the range: 0~111(Decimal)\r\nManually fill in "
    "under the master mode; you can also automatically fill in using automatic mapping "
    "function;\r\nCannot manually fill in temporarily under the slave mode, you can only fill in "
    "using automatic mapping function.");
inline constexpr const char* Help61309 = TORVANE_TR(
    "Help",
    "COBID(decimal) is CAN ID.\r\nDefault value of Transmit PDO :\r\n384(0x0180) + node ID or "
    "640(0x0280) + node ID or\r\n896(0x0380) + node ID or 1152(0x0480) + node ID");
inline constexpr const char* Help61310 =
    TORVANE_TR("Help", "Number of Bytes: The range of the parameter value is 1~8");
inline constexpr const char* Help61311 = TORVANE_TR(
    "Help",
    "COBID (decimal) is CAN ID.\r\nDefault value of Transmit PDO:\r\n512(0X0200) + node ID or "
    "768(0X0300) + node ID or\r\n1024(0X0400) + node ID or 1280(0X0500) + node ID");

// Commit messages of the node and command pages ("%d" is replaced by a node address).
inline constexpr const char* EnterNodeAddress =
    TORVANE_TR("Editor", "Please enter the node address");
inline constexpr const char* SelfDefiningHint =
    TORVANE_TR("Editor", "Please fill in the text box directly with sele-defining value!");
inline constexpr const char* IllegalCobId = TORVANE_TR("Editor", "Illegal COB-ID address!");
inline constexpr const char* CobIdConflictNode =
    TORVANE_TR("Editor", "The COB-ID and node-%d command an Article PDO COB-ID conflict");
inline constexpr const char* CobIdBytesOutOfRange =
    TORVANE_TR("Editor", "COB-ID under the same number of bytes out of range!");
inline constexpr const char* CobIdExists = TORVANE_TR("Editor", "The COB-ID already exists");
inline constexpr const char* MappingOutOfRange =
    TORVANE_TR("Editor", "The mapping address is out of range!");
inline constexpr const char* SameCobIdBytesOutOfRange =
    TORVANE_TR("Editor", "Byte count of same COBID is out of range!\n");
inline constexpr const char* Io96BlockIntegrity = TORVANE_TR(
    "Editor", "When I / O byte count is 96, any command must satisfy 32 bytes of integrity.");
inline constexpr const char* SameIndexBytesOutOfRange =
    TORVANE_TR("Editor", "Byte count of same index and same subindex is out of range!\n");
inline constexpr const char* MappingBeyondRange =
    TORVANE_TR("Editor", "Data mapping address beyond the effective range");
inline constexpr const char* NodeAddressIsGateway =
    TORVANE_TR("Editor", "Node address and the gateway CANopen address can not be the same!");
inline constexpr const char* NodeAddressRepetitive =
    TORVANE_TR("Editor", "Node address can not be repetitive!");
inline constexpr const char* RenumberCobIdIllegal = TORVANE_TR(
    "Editor",
    "After changing the node address, COB-ID illegal under a command of this node, re-enter the "
    "correct COB-ID!");
inline constexpr const char* RenumberCobIdConflict = TORVANE_TR(
    "Editor",
    "After changing the node address, COB-ID conflict a command of COB-ID and node a command of "
    "the node-%d, the COB-ID will be empty!");

// Why a cell kept its value without a message box, for the status bar and the Info tab ("%s"
// the typed text, "%d" the ends of the allowed range).
inline constexpr const char* NoteValueNeeded =
    TORVANE_TR("Editor", "A value is needed; allowed %d to %d");
inline constexpr const char* NoteNotPlainDecimal =
    TORVANE_TR("Editor", "%s is not a plain decimal number; allowed %d to %d");
inline constexpr const char* NoteOutOfRange =
    TORVANE_TR("Editor", "%s is out of range; allowed %d to %d");
inline constexpr const char* NoteSdoBytesNeeded =
    TORVANE_TR("Editor", "A byte count is needed; allowed 1, 2 or 4");
inline constexpr const char* NoteSdoBytesNotAllowed =
    TORVANE_TR("Editor", "%s is not an allowed byte count; allowed 1, 2 or 4");
inline constexpr const char* NoteNotInList = TORVANE_TR("Editor", "\"%s\" is not in the list");
// An index typed without "0x": hex letters are refused, bare digits are read as decimal.
inline constexpr const char* NoteIndexHexLetters =
    TORVANE_TR("Editor", "%s is not a decimal number; type 0x%s for hex");
inline constexpr const char* NoteIndexReadAsDecimal =
    TORVANE_TR("Editor", "%s is read as decimal (0x%s); type 0x%s for hex");

// The "Select Commands" entries and their limits.
inline constexpr const char* AddMasterUploadSdo = TORVANE_TR("Editor", "Upload SDO -> Profibus In");
inline constexpr const char* AddMasterDownloadSdo =
    TORVANE_TR("Editor", "Download SDO <- Profibus Out");
inline constexpr const char* AddMasterTransmitPdo =
    TORVANE_TR("Editor", "Transmit PDO -> Profibus In");
inline constexpr const char* AddMasterReceivePdo =
    TORVANE_TR("Editor", "Receive PDO <- Profibus Out");
inline constexpr const char* AddSlaveTransmitPdo =
    TORVANE_TR("Editor", "Transmit PDO <- Profibus Out");
inline constexpr const char* AddSlaveReceivePdo =
    TORVANE_TR("Editor", "Receive PDO -> Profibus In");
inline constexpr const char* CommandUpperLimit84 =
    TORVANE_TR("Editor", "Command more than the upper limit (84)!");
inline constexpr const char* SlaveTransmitPdoOver42 =
    TORVANE_TR("Editor", "Transmit PDO Command is more than 42");
inline constexpr const char* SlaveReceivePdoOver42 =
    TORVANE_TR("Editor", "Receive PDO Command is more than 42");
inline constexpr const char* TransmitPdoLimit42 =
    TORVANE_TR("Editor", "Transmit PDO commands beyond the limit (42 )!");
inline constexpr const char* ReceivePdoLimit42 =
    TORVANE_TR("Editor", "Receive PDO commands beyond the limit (42 )!");

// ---- Communication ---------------------------------------------------------------------------

inline constexpr const char* ResultOpenFailed =
    TORVANE_TR("Transfer", "Failed to open serial port");
inline constexpr const char* ResultWriteError =
    TORVANE_TR("Transfer", "Write data to the serial port error");
inline constexpr const char* ResultReadFailed =
    TORVANE_TR("Transfer", "Reading serial data failed");
inline constexpr const char* ResultValidation = TORVANE_TR("Transfer", "Data validation errors");
inline constexpr const char* ResultVersionMismatch =
    TORVANE_TR("Transfer", "Hardware and software version does not match");
inline constexpr const char* ResultDownloadError = TORVANE_TR("Transfer", "Download error");
inline constexpr const char* ResultUploadFailed = TORVANE_TR("Transfer", "Failed to upload");
inline constexpr const char* ResultDownloadFailed = TORVANE_TR("Transfer", "Failed to download");
inline constexpr const char* ResultUnsupported =
    TORVANE_TR("Transfer", "The hardware does not support the current configuration");
inline constexpr const char* ResultIoSizeRefused =
    TORVANE_TR("Transfer",
               "The current configuration does not support the choice of input and output bytes\n");
inline constexpr const char* ResultMappingOverflow =
    TORVANE_TR("Transfer", "Mapping address  overflow");
inline constexpr const char* ResultDownloadCancel = TORVANE_TR("Transfer", "Download cancel");
inline constexpr const char* ResultUploadCancel = TORVANE_TR("Transfer", "Upload cancel");
inline constexpr const char* ResultSuccess = TORVANE_TR("Transfer", "Operation is successful");
inline constexpr const char* ResultUnknown = TORVANE_TR("Transfer", "Unknown error");

// Second line under ResultOpenFailed, saying why.
inline constexpr const char* OpenNoPermission = TORVANE_TR(
    "Transfer", "Permission denied: the user is not allowed to use this port (on Linux, join the "
                "\"dialout\" group and log in again).");
inline constexpr const char* OpenBusy =
    TORVANE_TR("Transfer", "The port is in use by another program or transfer.");
inline constexpr const char* OpenNotFound =
    TORVANE_TR("Transfer", "The device does not exist or was unplugged.");
inline constexpr const char* OpenNoPortSelected =
    TORVANE_TR("Transfer", "No serial port is selected.");
inline constexpr const char* OpenNotTerminal =
    TORVANE_TR("Transfer", "The path does not name a terminal (serial) device.");
inline constexpr const char* OpenLinkLoop =
    TORVANE_TR("Transfer", "The path leads through a loop of symbolic links.");

// The port a failed transfer used, on a line of its own: "Port: /dev/ttyUSB0".
inline constexpr const char* PortLine = TORVANE_TR("Transfer", "Port");

// Labels of a port's description lines (the long port listing, the port list's tooltips).
inline constexpr const char* PortByIdLink = TORVANE_TR("Transfer", "by-id link");
inline constexpr const char* PortUsbId = TORVANE_TR("Transfer", "USB id");
inline constexpr const char* PortManufacturer = TORVANE_TR("Transfer", "manufacturer");
inline constexpr const char* PortDescription = TORVANE_TR("Transfer", "description");
inline constexpr const char* PortSerialNumber = TORVANE_TR("Transfer", "serial number");

// Completeness checks: "\"<path>\"is empty".
inline constexpr const char* CheckIsEmpty = TORVANE_TR("Transfer", "is empty");
inline constexpr const char* PathSync = "SYNC";

// Uploaded values and nodes.
inline constexpr const char* Yes = "Yes";
inline constexpr const char* No = "No";

// The "Download hint:" question.
inline constexpr const char* DownloadHintTitle = TORVANE_TR("Transfer", "Download hint:");
inline constexpr const char* FormatCompatible = TORVANE_TR("Transfer", "compatible format");
inline constexpr const char* FormatNew = TORVANE_TR("Transfer", "new format");

// ---- Exports ---------------------------------------------------------------------------------

inline constexpr const char* CreateEdsFileError = TORVANE_TR("Export", "Create EDS File Error!!");
// Followed by the template's full path.
inline constexpr const char* EdsTemplateUnreadable =
    TORVANE_TR("Export", "Cannot read the EDS template file ");
// Each followed by the file's full path.
inline constexpr const char* WorkbookTemplateUnreadable =
    TORVANE_TR("Export", "Cannot read the workbook template ");
inline constexpr const char* WorkbookTemplateBroken =
    TORVANE_TR("Export", "The workbook template is damaged: ");
inline constexpr const char* WorkbookSaveError = TORVANE_TR("Export", "Cannot save the workbook ");

// ---- Monitor ---------------------------------------------------------------------------------

inline constexpr const char* MonitorInputData = TORVANE_TR("Monitor", "Input data");
inline constexpr const char* MonitorOutputData = TORVANE_TR("Monitor", "Output data");
inline constexpr const char* MonitorStartEmpty = TORVANE_TR("Monitor", "memory address is empty");
inline constexpr const char* MonitorStartNotDecimal =
    TORVANE_TR("Monitor", "memory address is not a decimal number");
inline constexpr const char* MonitorDataEmpty =
    TORVANE_TR("Monitor", "the data to be send is empty");
inline constexpr const char* MonitorMalformed = TORVANE_TR("Monitor", "Malformed");
inline constexpr const char* MonitorDataTooLong =
    TORVANE_TR("Monitor", "The output data is longer than the 1024-byte transmit buffer");
inline constexpr const char* MonitorAddressedTooLong = TORVANE_TR(
    "Monitor",
    "The output data is longer than the 253 bytes one frame can carry; nothing was sent");

// ---- Comparing two configurations -----------------------------------------------------------

inline constexpr const char* CompareConfigurationType = TORVANE_TR("Compare", "Configuration Type");
inline constexpr const char* CompareMaster = "CANopen Master";
inline constexpr const char* CompareSlave = "CANopen Slave";
inline constexpr const char* CompareNode = TORVANE_TR("Compare", "Node");
inline constexpr const char* CompareNodeName = TORVANE_TR("Compare", "Node Name");
inline constexpr const char* CompareIndex = TORVANE_TR("Compare", "Index");
inline constexpr const char* CompareSubIndex = TORVANE_TR("Compare", "Sub-index");
inline constexpr const char* ComparePresent = TORVANE_TR("Compare", "(present)");
inline constexpr const char* CompareAbsent = TORVANE_TR("Compare", "(absent)");
inline constexpr const char* CompareNotSent = TORVANE_TR("Compare", "(not sent)");
inline constexpr const char* CompareEqual = TORVANE_TR("Compare", "The configurations are equal.");
// Followed by the number.
inline constexpr const char* CompareDifferenceCount = TORVANE_TR("Compare", "Differences: ");
// Followed by the number, then CompareNotComparedFields and the field names.
inline constexpr const char* CompareNotCompared = TORVANE_TR("Compare", "Not compared: ");
inline constexpr const char* CompareNotComparedFields =
    TORVANE_TR("Compare", " values of fields the comparison cannot see: ");
inline constexpr const char* CompareNotDownloadable =
    TORVANE_TR("Compare", "cannot be taken as a download sends it: ");

// ---- PLC tags and the I/O map ----------------------------------------------------------------

// %1 the command's 1-based position, %2 its type label.
inline constexpr const char* PlcTagsNoMappingAddress =
    TORVANE_TR("PlcTags", "Calculate Mapping Address first (command %1: %2)");
// Written into the tag files, never translated.
inline constexpr const char* PlcTagsSwapBytes = "little-endian: swap bytes before use";
inline constexpr const char* PlcTagsByteOf = "byte %1 of %2"; // byte index, byte count
inline constexpr const char* PlcTagsReserved =
    "Control&Monitor Status is enabled: the gateway reserves 2 bytes of each buffer for it; they "
    "have no defined position and get no tag.";

inline constexpr const char* IoMapTitle = TORVANE_TR("IoMap", "I/O Map");
inline constexpr const char* IoMapFile = TORVANE_TR("IoMap", "File");
inline constexpr const char* IoMapNoFile = TORVANE_TR("IoMap", "(not saved)");
inline constexpr const char* IoMapDate = TORVANE_TR("IoMap", "Date");
inline constexpr const char* IoMapConfigType = TORVANE_TR("IoMap", "Configuration type");
inline constexpr const char* IoMapParameters = TORVANE_TR("IoMap", "Gateway parameters");
inline constexpr const char* IoMapInputs =
    TORVANE_TR("IoMap", "PLC inputs (Profibus input buffer)");
inline constexpr const char* IoMapOutputs =
    TORVANE_TR("IoMap", "PLC outputs (Profibus output buffer)");
inline constexpr const char* IoMapColBytes = TORVANE_TR("IoMap", "Bytes");
inline constexpr const char* IoMapColPlcAddress = TORVANE_TR("IoMap", "PLC address");
inline constexpr const char* IoMapColNode = TORVANE_TR("IoMap", "Node");
inline constexpr const char* IoMapColCommand = TORVANE_TR("IoMap", "Command");
inline constexpr const char* IoMapColObject = TORVANE_TR("IoMap", "COB-ID or Index:Sub-index");
inline constexpr const char* IoMapColLength = TORVANE_TR("IoMap", "Length");
inline constexpr const char* IoMapColDescription = TORVANE_TR("IoMap", "Description");
inline constexpr const char* IoMapNoCommands = TORVANE_TR("IoMap", "No command uses this buffer.");
// %1 the free byte ranges, %2 their count.
inline constexpr const char* IoMapFreeBytes = TORVANE_TR("IoMap", "Free bytes: %1 (%2 bytes)");
inline constexpr const char* IoMapNoFreeBytes = TORVANE_TR("IoMap", "Free bytes: none");
inline constexpr const char* IoMapReserved = TORVANE_TR(
    "IoMap", "Control&Monitor Status reserves 2 more bytes of each buffer; their position is "
             "not defined.");
inline constexpr const char* IoMapChecks = TORVANE_TR("IoMap", "Pre-download checks");
inline constexpr const char* IoMapChecksPassed = TORVANE_TR("IoMap", "All checks passed.");
inline constexpr const char* IoMapChecksSlave = TORVANE_TR(
    "IoMap", "A CANopen Slave configuration is not checked before a download; its mapping "
             "addresses are calculated again instead.");
inline constexpr const char* IoMapCycles = TORVANE_TR("IoMap", "Minimum cycle times");
// %1 command count, %2 least cycle in ms, %3 the configured cycle in ms.
inline constexpr const char* IoMapRpdoCycle =
    TORVANE_TR("IoMap", "%1 Receive PDO commands: at least %2 ms (configured: %3 ms)");
inline constexpr const char* IoMapSdoCycle =
    TORVANE_TR("IoMap", "%1 SDO commands: at least %2 ms (configured: %3 ms)");
inline constexpr const char* IoMapSignature = TORVANE_TR("IoMap", "Checked by, date, signature:");

} // namespace torvane::str
