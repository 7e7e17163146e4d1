#pragma once

// The texts the core produces: stored values, messages, result texts, page labels and help
// texts, defined once. A message's placeholders (%1 to %9) are filled by the arguments a Message
// gives them (model/message.h); each comment says what they stand for. The GUI's own labels, menus
// and fonts are in gui/app/gui_texts.h. Spelling and spacing are the program's own and must stay
// exactly as they are (stored files, the gateway and users' habits rely on them).

#include "model/translatable.h"
#include "model/vocabulary.h"

namespace torvane::str {

// ---- Putting messages together ----------------------------------------------------------------

// A text and what it is about: "<path>: <reason>", "<place>: <row label>".
inline constexpr Text Colon = TORVANE_TR("Messages", "%1: %2");
// A message and a second line under it.
inline constexpr Text TwoLines = TORVANE_TR("Messages", "%1\n%2");
// Two items of a list, or the list so far and the next item.
inline constexpr Text ListJoin = TORVANE_TR("Messages", "%1, %2");

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

inline constexpr Text FilterArchive = TORVANE_TR("Files", "Config File(*.chg)");
inline constexpr Text FilterXml = TORVANE_TR("Files", "XML File(*.xml)");
// %1 the file's path, %2 the reason.
inline constexpr Text FileCannotSave = TORVANE_TR("Files", "cannot save %1: %2");
inline constexpr Text FileCannotRead = TORVANE_TR("Files", "cannot read %1: %2");
inline constexpr Text FileCannotOpen = TORVANE_TR("Files", "cannot open %1: %2");
// Reasons.
inline constexpr Text FileNotRegular = TORVANE_TR("Files", "not a regular file");
inline constexpr Text FileIsFolder = TORVANE_TR("Files", "it is a folder");
// %1 the largest size read.
inline constexpr Text FileTooLarge = TORVANE_TR("Files", "larger than %1 bytes");
inline constexpr Text FileNoPipeReader = TORVANE_TR("Files", "no program is reading from the pipe");
// %1 the folder, %2 the system's reason.
inline constexpr Text FileFolderMissing = TORVANE_TR("Files", "the folder %1 does not exist");
inline constexpr Text FileFolderNotWritable =
    TORVANE_TR("Files", "the folder %1 is not writable: %2");
// After "<path>: " (Colon).
inline constexpr Text XmlNoConfiguration = TORVANE_TR("Files", "holds no configuration");
inline constexpr Text XmlNoElement = TORVANE_TR("Files", "the file holds no XML element");
// %1 what was wrong (XmlEmpty or XmlMalformedAtLine).
inline constexpr Text XmlNoReadableElement =
    TORVANE_TR("Files", "the file holds no readable XML element (%1)");
inline constexpr Text XmlEmpty = TORVANE_TR("Files", "no element found");
// %1 the line where the reading stopped.
inline constexpr Text XmlMalformedAtLine = TORVANE_TR("Files", "malformed at line %1");
// A value an XML file does not hold: %1 its grid label, %2 the value.
inline constexpr Text DroppedFieldValue = TORVANE_TR("Files", "%1 (%2)");
// %1 the line where a damaged XML file stopped being readable.
inline constexpr Text XmlDamagedAtLine =
    TORVANE_TR("Files", "damaged at line %1; read as far as it goes");
// %1 what the archive reader found (one of the Archive texts below).
inline constexpr Text FileNotArchive =
    TORVANE_TR("Files", "not a readable configuration archive: %1");

// What the archive reader found; the numbers are byte offsets and values read, the names
// those of the stored fields and classes.
// %1 the file's size, %2 what was expected (ArchiveByte to ArchiveWord64).
inline constexpr Text ArchiveEndsEarly =
    TORVANE_TR("Files", "file ends early at byte %1 (expected %2)");
inline constexpr Text ArchiveByte = TORVANE_TR("Files", "a byte");
inline constexpr Text ArchiveWord16 = TORVANE_TR("Files", "a 16-bit word");
inline constexpr Text ArchiveWord32 = TORVANE_TR("Files", "a 32-bit word");
inline constexpr Text ArchiveWord64 = TORVANE_TR("Files", "a 64-bit word");
// %1 the field, %2 where its text starts, %3 its claimed length, %4 the bytes left.
inline constexpr Text ArchiveTextBeyondEnd = TORVANE_TR(
    "Files", "file ends early: text %1 at byte %2 claims %3 bytes, only %4 bytes remain");
inline constexpr Text ArchiveWideTextBeyondEnd = TORVANE_TR(
    "Files", "file ends early: text %1 at byte %2 claims %3 wide characters, only %4 bytes remain");
// %1 where the object header starts, %2 what it holds.
inline constexpr Text ArchiveClassTag =
    TORVANE_TR("Files", "object header at byte %1 has class tag %2 instead of 65535");
inline constexpr Text ArchiveSchema =
    TORVANE_TR("Files", "object header at byte %1 has schema %2 instead of 1");
inline constexpr Text ArchiveHeaderCut =
    TORVANE_TR("Files", "object header at byte %1 is cut short");
// %1 where the object header starts, %2 the class it names, %3 the class expected.
inline constexpr Text ArchiveClassName =
    TORVANE_TR("Files", "object header at byte %1 names class \"%2\" instead of \"%3\"");
// %1 the count, %2 where it is stored, %3 the size of the table.
inline constexpr Text ArchiveNodeCount =
    TORVANE_TR("Files", "NodeCount %1 at byte %2 exceeds the %3 node entries");
inline constexpr Text ArchiveCommandCount =
    TORVANE_TR("Files", "InstructionCount %1 at byte %2 exceeds the %3 command slots");

// ---- Mapping and checks ----------------------------------------------------------------------

inline constexpr Text MappingMissingBytes =
    TORVANE_TR("Checks", "Please fill in the number of data for each command!");
inline constexpr Text MappingOverflow = TORVANE_TR(
    "Checks", "Mapping addresses beyond the maximum range,  please decrease some commands!");
inline constexpr Text MappingSuccessful = TORVANE_TR("Checks", "Automatic mapping is successful");

// Bus-load questions: %1 the command count, %2 the least cycle in ms.
inline constexpr Text RpdoCycleQuestion = TORVANE_TR(
    "Checks",
    "At this CAN baud rate, to configure %1 RPDO commands, RPDO send cycle takes at least %2 "
    "milliseconds! Do you want to continue the download?");
inline constexpr Text SdoCycleQuestion = TORVANE_TR(
    "Checks",
    "At this CAN baud rate, to configure %1 SDO commands, SDO send cycle takes at least %2 "
    "milliseconds! Do you want to continue the download?");
inline constexpr Text CheckRangeFailed =
    TORVANE_TR("Checks", "Mapping addresses beyond the maximum range, the "
                         "download fails, please decrease some commands!");
inline constexpr Text CheckBlock32Failed = TORVANE_TR(
    "Checks",
    "Download fails, the configuration does not meet the 32 bytes of a command integrity!");
inline constexpr Text CheckAddressInvalid = TORVANE_TR("Checks", "Mapping address is invalid!");
inline constexpr Text CheckAddressConflict = TORVANE_TR("Checks", "Mapping address conflict !\n");
// %1 and %2 the node addresses of the earlier and the later command.
inline constexpr Text CheckCobIdConflict =
    TORVANE_TR("Checks", "Node-%1 and Node-%2 a strip under the command PDO COB-ID conflict!");
inline constexpr Text CheckInvalidNode = TORVANE_TR("Checks", "There is invalid node!");

// Conflict detection: the command list's item labels.
inline constexpr const char* ConflictListTpdo = "TPDO";
inline constexpr const char* ConflictListRpdo = "RPDO";

// ---- Editor: network tree and parameter pages -------------------------------------------------

// Tree items, headings and context menu.
inline constexpr const char* ProfibusNetwork = "Profibus Network";
inline constexpr const char* CanopenNetwork = "CANopen Network";
inline constexpr const char* NodeNamePrefix = "Node-";

// Tree messages; the per-type limit texts are also those of adding commands.
inline constexpr Text NodesOverrun = TORVANE_TR("Editor", "Nodes overrun!");
inline constexpr Text CommandsNumberExceed =
    TORVANE_TR("Editor", "Commands number exceed the limit!");
inline constexpr Text SdoLimit28 = TORVANE_TR("Editor", "SDO commands beyond the limit (28 )!");
inline constexpr Text TransmitPdoLimit14 =
    TORVANE_TR("Editor", "Transmit PDO commands beyond the limit (14 )!");
inline constexpr Text ReceivePdoLimit14 =
    TORVANE_TR("Editor", "Receive PDO commands beyond the limit (14 )!");

// Parameter pages: labels and fixed values.
inline constexpr Text ParamTypeOfProtocol = TORVANE_TR("Editor", "Type of Protocol");
inline constexpr const char* ParamProfibus = "Profibus";
inline constexpr const char* ParamCanopen = "CANopen";
inline constexpr Text ParamNumberOfBytes = TORVANE_TR("Editor", "Number of Bytes");
inline constexpr Text ParamFirmwareVersion = TORVANE_TR("Editor", "Firmware Version of Gateway:");
inline constexpr Text ParamBaudRate = TORVANE_TR("Editor", "CANopen Baud Rate");
inline constexpr Text ParamNodeId = TORVANE_TR("Editor", "CANopen Node ID");
inline constexpr Text ParamSdoTimeout = TORVANE_TR("Editor", "SDO Response Timeout");
inline constexpr Text ParamEnableNmt = TORVANE_TR("Editor", "Enable NMT");
inline constexpr Text ParamClearTpdo = TORVANE_TR("Editor", "Clear Data Time for TPDO");
inline constexpr Text ParamDelayStart = TORVANE_TR("Editor", "Delay to Start up");
inline constexpr Text ParamSyncCycle = TORVANE_TR("Editor", "SYNC Cycle");
inline constexpr Text ParamControlStatus = TORVANE_TR("Editor", "Control&Monitor Status");
inline constexpr Text ParamErrorControl = TORVANE_TR("Editor", "Error Control");
inline constexpr Text ParamRpdoCycle = TORVANE_TR("Editor", "The Cycle for RPDO Transmission");
inline constexpr Text ParamOutputProcessing = TORVANE_TR("Editor", "Output Data Processing");
inline constexpr Text ParamSdoCycle = TORVANE_TR("Editor", "The Cycle for SDO Transmission");
inline constexpr Text ParamSdoConcurrent = TORVANE_TR("Editor", "SDO Send Concurrently");
inline constexpr Text ParamSdoRetries = TORVANE_TR("Editor", "Retries of SDO");
inline constexpr Text ParamSdoPollDelay = TORVANE_TR("Editor", "SDO Poll Delay Time");
inline constexpr Text ParamClearRpdo = TORVANE_TR("Editor", "Clear Data Time for RPDO");

// Parameter pages: messages (the gateway/node address clash is NodeAddressIsGateway).
inline constexpr Text AcrossCriticalValue =
    TORVANE_TR("Editor", "Configuration command across a critical value 32 or 64!");

// Parameter pages: help texts by string-table id.
inline constexpr const char* Help61201 = "PROFIBUS DP";
inline constexpr Text Help61204 = TORVANE_TR(
    "Help",
    "Size of Profibus Input and Output buffer, the default value is 112.\r\nWhen you choose 16, "
    "48, 96, or 112 input/output bytes, total input/output bytes of CANopen command you "
    "configured should not exceed the input/output bytes you chose.\r\nWhen you choose Set "
    "through the Profibus-DP master configuration software, total input/output bytes of CANopen "
    "command you configured should not exceed 244 bytes.");
inline constexpr Text Help61205 = TORVANE_TR("Help", "Baud rate of CANopen, default value is 250K");
inline constexpr Text Help61206 = TORVANE_TR(
    "Help",
    "This parameter is the gateway's address as CANopen node.\r\nThe range of the parameter "
    "value is 1 to 127. Default value is 127.");
inline constexpr Text Help61207 = TORVANE_TR(
    "Help", "This parameter is based on 10 ms.\r\nThe range of the parameter value is 1 to "
            "2000.\r\nDefault value is 200.\r\nFor example if this parameter is 200, then the SDO "
            "Response timeout is 2000ms.");
inline constexpr Text Help61208 = TORVANE_TR(
    "Help",
    "NMT is the abbreviations of Network Management for CANopen.\r\nIf you select \"Enable\", "
    "the gateway will serve as Network Manager.");
inline constexpr Text Help61209 = TORVANE_TR(
    "Help",
    "This parameter is based on 10ms, the gateway will clear the corresponding date buffer when "
    "the specified timeout is reached.\r\nIf this parameter is 0 the gateway will not clear the "
    "corresponding data buffer.\r\nThe range of the parameter value is 0 to 2000. Default value "
    "is 0.\r\nFor example, if this parameter is 200, then the Clear Data Time is 2000ms.");
inline constexpr Text Help61210 = TORVANE_TR(
    "Help",
    "Delay to start up, this parameter is based on 10ms.\r\nThe gateway will send bootup after "
    "a period of time.\r\nThe range of the parameter value is 0 to 200.Default value is 100.");
inline constexpr Text Help61211 = TORVANE_TR(
    "Help",
    "SYNC Cycle, this parameter is based on 10ms.\r\nThe gateway will send SYNC message "
    "according to SYNC Cycle.\r\nThe range of the parameter value is 0 to 2000. Default value "
    "is 0.");
inline constexpr Text Help61212 = TORVANE_TR(
    "Help",
    "When the Control&&Monitor Status is set to be Enable, PROFIBUS master station can read the "
    "states of CANopen slaves and also change the states of CANopen slave.");
inline constexpr Text Help61319 = TORVANE_TR(
    "Help",
    "When the input value is not 0, it means to use life Guard protocol.\r\nWhen the input "
    "value is 0, it means to use heartbeat protocol.\r\nThe default value is 0, that is, using "
    "heartbeat protocol (range: 0~2000).\r\nThis parameter is based on 10ms.");
inline constexpr Text Help61491 = TORVANE_TR(
    "Help",
    "The cycle for RPDO Transmission, is based on 1ms.\r\nZero means to use the mode of change "
    "of value output;\r\nNon-zero means to send all RPDO according to the cycle.\r\nSending "
    "cycle equals setting value, the default value is 0. The range: 0~60000.\r\nNote: This "
    "parameter and CAN baud rate are relevant with RPDO command numbers.\r\nIf the system "
    "focuses on real-time performance, it is recommended to set this value to 0, that is, "
    "change of value output.");
inline constexpr Text Help61494 = TORVANE_TR(
    "Help", "When PROFIBUS DP is off, the RPDO data of DP output buffer will Clear and "
            "Hold;\r\n\"Clear\" means to set the data to zero;\r\n\"Hold\" means to keep the data "
            "unchanged before DP is off.");
inline constexpr Text Help61496 = TORVANE_TR(
    "Help",
    "The Cycle for SDO Transmission, is based on 1ms.\r\nZero means Download SDO uses mode of "
    "change of value output, Upload SDO uses the mode of non-stop reading slave "
    "data;\r\nNon-zero means to send all SDO according to the cycle.\r\nSending cycle equals "
    "setting value, the default value is 0. The range: 0~60000.\r\nNote: This parameter and CAN "
    "baud rate are relevant with SDO command numbers. If the system focuses on real-time "
    "performance, it is recommended to set this value to 0, that is, Download SDO uses the mode "
    "of change of value output; Upload SDO uses the mode of non-stop reading slave data.");
inline constexpr Text Help65502 = TORVANE_TR(
    "Help",
    "Disable: the SDO request for a node must wait for the node's response before initiating "
    "the next SDO request; \r\nEnable: Sending SDOs command requests of different nodes "
    "concurrently.");
inline constexpr Text Help65503 = TORVANE_TR(
    "Help",
    "The CANopen master sends an SDO request command but does not receive a response from the "
    "slave, and the master repeatedly sends this SDO request command. Range: 0 ~ 5, default: 0.");
inline constexpr Text Help65504 = TORVANE_TR(
    "Help",
    "The CANopen master sends the SDO request command and receives the response from the slave. "
    "The master needs to delay for a while before sending the next SDO request command. This "
    "period of time is the SDO command polling delay time. Unit: ms, Range: 0 ~ 60000ms, "
    "default: 0ms.");
inline constexpr Text Help61300 = TORVANE_TR(
    "Help",
    "RPDO timeout clearing time\r\nZero indicates no timeout cleared\r\nEqual nonzero value "
    "indicates a timeout clear function, and timeout is non-zero integer multiple of the value "
    "of 10 ms, ranging from 0 to 200, the default value is 0\r\nFor example: Fill 20, that the "
    "gateway has not received more than 200 ms set RPDO, the gateway will RPDO corresponding to "
    "the output buffer is cleared");
inline constexpr Text Help61302 = TORVANE_TR(
    "Help",
    "Delay to start up, this parameter is based on 10ms.\r\nThe gateway will send bootup after "
    "a period of time.\r\nThe range of the parameter value is 0 to 200. Default value is 100.");

// Names of the undo steps that are no row label (the status bar shows "Undo: <name>").
inline constexpr Text StepAddNode = TORVANE_TR("Editor", "Add Node");
inline constexpr Text StepDeleteNode = TORVANE_TR("Editor", "Delete Node");
inline constexpr Text StepPasteNode = TORVANE_TR("Editor", "Paste Node");
inline constexpr Text StepAddCommand = TORVANE_TR("Editor", "Add Command");
inline constexpr Text StepDeleteCommand = TORVANE_TR("Editor", "Delete Command");
inline constexpr Text StepCalculateMapping = TORVANE_TR("Editor", "Calculate Mapping Address");
inline constexpr Text StepAddNodeFromDevice = TORVANE_TR("Editor", "Add Node from Device");
inline constexpr Text StepAddCommandsFromDevice = TORVANE_TR("Editor", "Add Commands from Device");
// %1 what a download changed: the parts below, joined by ListJoin.
inline constexpr Text StepDownloadChanged = TORVANE_TR("Editor", "Download (%1)");
inline constexpr Text StepPartCommandCut = TORVANE_TR("Editor", "84-command cut");
inline constexpr Text StepPartMappingAddresses = TORVANE_TR("Editor", "mapping addresses");
inline constexpr Text StepPartLayout = TORVANE_TR("Editor", "configuration layout");

// Document: captions.
inline constexpr const char* AppTitle = "Torvane";
inline constexpr Text UntitledDocument = TORVANE_TR("Editor", "Untitled");
inline constexpr Text CaptionAtStartUp =
    TORVANE_TR("Editor", "Gateway Configuration Software Torvane");

// ---- Editor: command pages and adding commands -----------------------------------------------

// Adding a node or commands built from a device: why nothing or a command was added.
inline constexpr Text DraftsNeedMaster =
    TORVANE_TR("Editor", "only a CANopen Master configuration has nodes");
// %1: the typed text.
inline constexpr Text DraftRefused = TORVANE_TR("Editor", "the editor keeps %1 out");

// Node and command page labels.
inline constexpr Text CmdRowSlaveAddress = TORVANE_TR("Editor", "Slave Address (1 to 127)");
inline constexpr Text CmdRowIndex = TORVANE_TR("Editor", "Index value");
inline constexpr Text CmdRowSubIndex = TORVANE_TR("Editor", "Sub-index value");
inline constexpr Text CmdRowMappingAddress = TORVANE_TR("Editor", "Mapping Address (Decimal)");
inline constexpr Text CmdRowDescription = TORVANE_TR("Editor", "Mnemonic Description");
inline constexpr Text CmdRowCobId = TORVANE_TR("Editor", "COB-ID");
inline constexpr const char* CobIdSelfDefining = "Self-defining";

// Help texts of the node and command pages (string-table ids in the names).
inline constexpr Text Help61303 = TORVANE_TR("Help", "CANopen slave address");
inline constexpr Text Help61304 =
    TORVANE_TR("Help", "The range of the parameter value is 1 to 65535.");
inline constexpr Text Help61305 =
    TORVANE_TR("Help", "The range of the parameter value is 0 to 255.");
inline constexpr Text Help61306 = TORVANE_TR("Help", "Number of Bytes: must be 1 or 2 or 4.");
inline constexpr Text Help61307 = TORVANE_TR(
    "Help",
    "The memory address mapped to the gateway, the range: 0~111(Decimal)\r\nManually fill in "
    "under the master mode; you can also automatically fill in using automatic mapping "
    "function;\r\nCannot manually fill in temporarily under the slave mode, you can only fill in "
    "using automatic mapping function.");
inline constexpr Text Help61309 = TORVANE_TR(
    "Help",
    "COBID(decimal) is CAN ID.\r\nDefault value of Transmit PDO :\r\n384(0x0180) + node ID or "
    "640(0x0280) + node ID or\r\n896(0x0380) + node ID or 1152(0x0480) + node ID");
inline constexpr Text Help61310 =
    TORVANE_TR("Help", "Number of Bytes: The range of the parameter value is 1~8");
inline constexpr Text Help61311 = TORVANE_TR(
    "Help",
    "COBID (decimal) is CAN ID.\r\nDefault value of Transmit PDO:\r\n512(0X0200) + node ID or "
    "768(0X0300) + node ID or\r\n1024(0X0400) + node ID or 1280(0X0500) + node ID");

// Commit messages of the node and command pages (%1 a node address).
inline constexpr Text EnterNodeAddress = TORVANE_TR("Editor", "Please enter the node address");
inline constexpr Text SelfDefiningHint =
    TORVANE_TR("Editor", "Please fill in the text box directly with sele-defining value!");
inline constexpr Text IllegalCobId = TORVANE_TR("Editor", "Illegal COB-ID address!");
inline constexpr Text CobIdConflictNode =
    TORVANE_TR("Editor", "The COB-ID and node-%1 command an Article PDO COB-ID conflict");
inline constexpr Text CobIdBytesOutOfRange =
    TORVANE_TR("Editor", "COB-ID under the same number of bytes out of range!");
inline constexpr Text CobIdExists = TORVANE_TR("Editor", "The COB-ID already exists");
inline constexpr Text MappingOutOfRange =
    TORVANE_TR("Editor", "The mapping address is out of range!");
inline constexpr Text SameCobIdBytesOutOfRange =
    TORVANE_TR("Editor", "Byte count of same COBID is out of range!\n");
inline constexpr Text Io96BlockIntegrity = TORVANE_TR(
    "Editor", "When I / O byte count is 96, any command must satisfy 32 bytes of integrity.");
inline constexpr Text SameIndexBytesOutOfRange =
    TORVANE_TR("Editor", "Byte count of same index and same subindex is out of range!\n");
inline constexpr Text MappingBeyondRange =
    TORVANE_TR("Editor", "Data mapping address beyond the effective range");
inline constexpr Text NodeAddressIsGateway =
    TORVANE_TR("Editor", "Node address and the gateway CANopen address can not be the same!");
inline constexpr Text NodeAddressRepetitive =
    TORVANE_TR("Editor", "Node address can not be repetitive!");
inline constexpr Text RenumberCobIdIllegal = TORVANE_TR(
    "Editor",
    "After changing the node address, COB-ID illegal under a command of this node, re-enter the "
    "correct COB-ID!");
inline constexpr Text RenumberCobIdConflict = TORVANE_TR(
    "Editor",
    "After changing the node address, COB-ID conflict a command of COB-ID and node a command of "
    "the node-%1, the COB-ID will be empty!");

// Why a cell kept its value without a message box, for the status bar and the Info tab (%1 the
// typed text, then the ends of the allowed range).
inline constexpr Text NoteValueNeeded = TORVANE_TR("Editor", "A value is needed; allowed %1 to %2");
inline constexpr Text NoteNotPlainDecimal =
    TORVANE_TR("Editor", "%1 is not a plain decimal number; allowed %2 to %3");
inline constexpr Text NoteOutOfRange = TORVANE_TR("Editor", "%1 is out of range; allowed %2 to %3");
inline constexpr Text NoteSdoBytesNeeded =
    TORVANE_TR("Editor", "A byte count is needed; allowed 1, 2 or 4");
inline constexpr Text NoteSdoBytesNotAllowed =
    TORVANE_TR("Editor", "%1 is not an allowed byte count; allowed 1, 2 or 4");
inline constexpr Text NoteNotInList = TORVANE_TR("Editor", "\"%1\" is not in the list");
// An index typed without "0x": hex letters are refused, bare digits are read as decimal (%2
// the number in hex).
inline constexpr Text NoteIndexHexLetters =
    TORVANE_TR("Editor", "%1 is not a decimal number; type 0x%1 for hex");
inline constexpr Text NoteIndexReadAsDecimal =
    TORVANE_TR("Editor", "%1 is read as decimal (0x%2); type 0x%1 for hex");

// The "Select Commands" entries and their limits.
inline constexpr Text AddMasterUploadSdo = TORVANE_TR("Editor", "Upload SDO -> Profibus In");
inline constexpr Text AddMasterDownloadSdo = TORVANE_TR("Editor", "Download SDO <- Profibus Out");
inline constexpr Text AddMasterTransmitPdo = TORVANE_TR("Editor", "Transmit PDO -> Profibus In");
inline constexpr Text AddMasterReceivePdo = TORVANE_TR("Editor", "Receive PDO <- Profibus Out");
inline constexpr Text AddSlaveTransmitPdo = TORVANE_TR("Editor", "Transmit PDO <- Profibus Out");
inline constexpr Text AddSlaveReceivePdo = TORVANE_TR("Editor", "Receive PDO -> Profibus In");
inline constexpr Text CommandUpperLimit84 =
    TORVANE_TR("Editor", "Command more than the upper limit (84)!");
inline constexpr Text SlaveTransmitPdoOver42 =
    TORVANE_TR("Editor", "Transmit PDO Command is more than 42");
inline constexpr Text SlaveReceivePdoOver42 =
    TORVANE_TR("Editor", "Receive PDO Command is more than 42");
inline constexpr Text TransmitPdoLimit42 =
    TORVANE_TR("Editor", "Transmit PDO commands beyond the limit (42 )!");
inline constexpr Text ReceivePdoLimit42 =
    TORVANE_TR("Editor", "Receive PDO commands beyond the limit (42 )!");

// ---- Communication ---------------------------------------------------------------------------

inline constexpr Text ResultOpenFailed = TORVANE_TR("Transfer", "Failed to open serial port");
inline constexpr Text ResultWriteError =
    TORVANE_TR("Transfer", "Write data to the serial port error");
inline constexpr Text ResultReadFailed = TORVANE_TR("Transfer", "Reading serial data failed");
inline constexpr Text ResultValidation = TORVANE_TR("Transfer", "Data validation errors");
inline constexpr Text ResultVersionMismatch =
    TORVANE_TR("Transfer", "Hardware and software version does not match");
inline constexpr Text ResultDownloadError = TORVANE_TR("Transfer", "Download error");
inline constexpr Text ResultUploadFailed = TORVANE_TR("Transfer", "Failed to upload");
inline constexpr Text ResultDownloadFailed = TORVANE_TR("Transfer", "Failed to download");
inline constexpr Text ResultUnsupported =
    TORVANE_TR("Transfer", "The hardware does not support the current configuration");
inline constexpr Text ResultIoSizeRefused =
    TORVANE_TR("Transfer",
               "The current configuration does not support the choice of input and output bytes\n");
inline constexpr Text ResultMappingOverflow = TORVANE_TR("Transfer", "Mapping address  overflow");
inline constexpr Text ResultDownloadCancel = TORVANE_TR("Transfer", "Download cancel");
inline constexpr Text ResultUploadCancel = TORVANE_TR("Transfer", "Upload cancel");
inline constexpr Text ResultSuccess = TORVANE_TR("Transfer", "Operation is successful");
inline constexpr Text ResultUnknown = TORVANE_TR("Transfer", "Unknown error");

// Second line under ResultOpenFailed, saying why.
inline constexpr Text OpenNoPermission = TORVANE_TR(
    "Transfer", "Permission denied: the user is not allowed to use this port (on Linux, join the "
                "\"dialout\" group and log in again).");
inline constexpr Text OpenBusy =
    TORVANE_TR("Transfer", "The port is in use by another program or transfer.");
inline constexpr Text OpenNotFound =
    TORVANE_TR("Transfer", "The device does not exist or was unplugged.");
inline constexpr Text OpenNoPortSelected = TORVANE_TR("Transfer", "No serial port is selected.");
inline constexpr Text OpenNotTerminal =
    TORVANE_TR("Transfer", "The path does not name a terminal (serial) device.");
inline constexpr Text OpenLinkLoop =
    TORVANE_TR("Transfer", "The path leads through a loop of symbolic links.");

// The port a failed transfer used, on a line of its own (%1 the port).
inline constexpr Text PortLine = TORVANE_TR("Transfer", "Port: %1");

// Labels of a port's description lines (the long port listing, the port list's tooltips).
inline constexpr Text PortByIdLink = TORVANE_TR("Transfer", "by-id link");
inline constexpr Text PortUsbId = TORVANE_TR("Transfer", "USB id");
inline constexpr Text PortManufacturer = TORVANE_TR("Transfer", "manufacturer");
inline constexpr Text PortDescription = TORVANE_TR("Transfer", "description");
inline constexpr Text PortSerialNumber = TORVANE_TR("Transfer", "serial number");
// The description so far, then one more line: %2 a label above, %3 its value.
inline constexpr Text PortDetailLine = TORVANE_TR("Transfer", "%1\n  %2: %3");

// Completeness checks: %1 the path of the empty field, its steps joined by PathStep.
inline constexpr Text CheckIsEmpty = TORVANE_TR("Transfer", "\"%1\"is empty");
inline constexpr Text PathStep = TORVANE_TR("Transfer", "%1\\%2");
inline constexpr const char* PathSync = "SYNC";

// Uploaded values and nodes.
inline constexpr const char* Yes = "Yes";
inline constexpr const char* No = "No";

// The "Download hint:" question.
inline constexpr Text DownloadHintTitle = TORVANE_TR("Transfer", "Download hint:");
inline constexpr Text FormatCompatible = TORVANE_TR("Transfer", "compatible format");
inline constexpr Text FormatNew = TORVANE_TR("Transfer", "new format");

// ---- Exports ---------------------------------------------------------------------------------

inline constexpr Text CreateEdsFileError = TORVANE_TR("Export", "Create EDS File Error!!");
// %1 the template's full path.
inline constexpr Text EdsTemplateUnreadable =
    TORVANE_TR("Export", "Cannot read the EDS template file %1");
// %1 the file's full path.
inline constexpr Text WorkbookTemplateUnreadable =
    TORVANE_TR("Export", "Cannot read the workbook template %1");
inline constexpr Text WorkbookTemplateBroken =
    TORVANE_TR("Export", "The workbook template is damaged: %1");
inline constexpr Text WorkbookSaveError = TORVANE_TR("Export", "Cannot save the workbook %1");

// Why a template cannot be used (%1 its path).
inline constexpr Text TemplateMissing = TORVANE_TR("Export", "%1 does not exist");
inline constexpr Text TemplateNotFile = TORVANE_TR("Export", "%1 is not a file");
// What is wrong inside a workbook template: a package part (%1 its name), a sheet (%1 its
// name) or the package as a whole; a %2 is the library's own reason.
inline constexpr Text PackageNotZip = TORVANE_TR("Export", "not a zip package: %1");
inline constexpr Text PackagePartMissing = TORVANE_TR("Export", "part %1 is missing");
inline constexpr Text PackagePartTooLarge = TORVANE_TR("Export", "part %1 is too large");
inline constexpr Text PackagePartUnopened = TORVANE_TR("Export", "part %1 cannot be opened: %2");
inline constexpr Text PackagePartUnread = TORVANE_TR("Export", "part %1 cannot be read");
inline constexpr Text PackagePartNotXml = TORVANE_TR("Export", "part %1 is not XML");
inline constexpr Text PackageNoWorkbook = TORVANE_TR("Export", "no workbook part");
inline constexpr Text PackageNoSheets = TORVANE_TR("Export", "the workbook lists no sheets");
inline constexpr Text PackageSheetMissing = TORVANE_TR("Export", "sheet \"%1\" is missing");
inline constexpr Text PackageSheetBroken = TORVANE_TR("Export", "sheet \"%1\": %2");
inline constexpr Text PackageReplaceFailed = TORVANE_TR("Export", "cannot replace a sheet: %1");
inline constexpr Text PackageWriteFailed = TORVANE_TR("Export", "cannot write the package: %1");
inline constexpr Text PackageRereadFailed = TORVANE_TR("Export", "cannot read the written package");
inline constexpr Text SheetNoWorksheet = TORVANE_TR("Export", "no worksheet element");
inline constexpr Text SheetNoSheetData = TORVANE_TR("Export", "no sheetData element");
inline constexpr Text SheetRowsOutOfOrder = TORVANE_TR("Export", "rows out of order");
// %1 the reference as the sheet writes it.
inline constexpr Text SheetBadReference = TORVANE_TR("Export", "bad cell reference %1");
// %1 the row number.
inline constexpr Text SheetCellsOutOfOrder = TORVANE_TR("Export", "cells out of order in row %1");
inline constexpr Text SheetCellOutside = TORVANE_TR("Export", "cell outside the sheet");

// ---- Monitor ---------------------------------------------------------------------------------

inline constexpr Text MonitorInputData = TORVANE_TR("Monitor", "Input data");
inline constexpr Text MonitorOutputData = TORVANE_TR("Monitor", "Output data");
inline constexpr Text MonitorStartEmpty = TORVANE_TR("Monitor", "memory address is empty");
inline constexpr Text MonitorStartNotDecimal =
    TORVANE_TR("Monitor", "memory address is not a decimal number");
inline constexpr Text MonitorDataEmpty = TORVANE_TR("Monitor", "the data to be send is empty");
inline constexpr Text MonitorMalformed = TORVANE_TR("Monitor", "Malformed");
inline constexpr Text MonitorDataTooLong =
    TORVANE_TR("Monitor", "The output data is longer than the 1024-byte transmit buffer");
inline constexpr Text MonitorAddressedTooLong = TORVANE_TR(
    "Monitor",
    "The output data is longer than the 253 bytes one frame can carry; nothing was sent");

// The Commands view of the monitor.
inline constexpr Text MonitorConfigurationDiffers =
    TORVANE_TR("Monitor", "The open configuration may differ from the gateway's: values may be "
                          "shown at the wrong place");
inline constexpr Text MonitorWaitingForFrame =
    TORVANE_TR("Monitor", "Writing by command waits for the gateway's first frame");
inline constexpr Text MonitorSplitTakesNoOutput =
    TORVANE_TR("Monitor", "The gateway's split frames take no output: writing by command is not "
                          "possible");
inline constexpr Text MonitorNoOutputImage =
    TORVANE_TR("Monitor", "The gateway's frames carry no output image: writing by command is not "
                          "possible");
inline constexpr Text MonitorSilent =
    TORVANE_TR("Monitor", "The gateway's first frame was damaged: the monitor stays silent until "
                          "it is opened again");
inline constexpr Text MonitorNotAnOutput =
    TORVANE_TR("Monitor", "This command is not an output");
inline constexpr Text MonitorValueInvalid =
    TORVANE_TR("Monitor", "Enter a decimal value, or a hex value starting with 0x, that fits the "
                          "command's bytes");
inline constexpr Text MonitorWholeImage =
    TORVANE_TR("Monitor", "The gateway takes the whole output image with every answer: output "
                          "bytes this window never set go out as 00.");
inline constexpr Text MonitorOutputsStay =
    TORVANE_TR("Monitor", "The test outputs stay in the gateway's output buffer. Set them back to "
                          "00 before closing?");
inline constexpr Text MonitorResetNotSent =
    TORVANE_TR("Monitor", "The test outputs were not set back to 00: the gateway took no answer "
                          "within 5 seconds.");

// ---- Comparing two configurations -----------------------------------------------------------

inline constexpr Text CompareConfigurationType = TORVANE_TR("Compare", "Configuration Type");
inline constexpr const char* CompareMaster = "CANopen Master";
inline constexpr const char* CompareSlave = "CANopen Slave";
inline constexpr Text CompareNode = TORVANE_TR("Compare", "Node");
inline constexpr Text CompareNodeName = TORVANE_TR("Compare", "Node Name");
// Places: a node (%1 its address); a command (%1 its type, then its COB-ID or Index and
// Sub-index), after its node's place in a master configuration.
inline constexpr Text CompareNodePlace = TORVANE_TR("Compare", "Node %1");
inline constexpr Text CompareCommandOfNode = TORVANE_TR("Compare", "%1 / %2");
inline constexpr Text ComparePdoPlace = TORVANE_TR("Compare", "%1 COB-ID %2");
inline constexpr Text CompareSdoPlace = TORVANE_TR("Compare", "%1 Index %2 Sub-index %3");
inline constexpr Text ComparePresent = TORVANE_TR("Compare", "(present)");
inline constexpr Text CompareAbsent = TORVANE_TR("Compare", "(absent)");
inline constexpr Text CompareNotSent = TORVANE_TR("Compare", "(not sent)");
inline constexpr Text CompareEqual = TORVANE_TR("Compare", "The configurations are equal.");
// %1 the number.
inline constexpr Text CompareDifferenceCount = TORVANE_TR("Compare", "Differences: %1");
// %1 the number, %2 the field names joined by ListJoin.
inline constexpr Text CompareNotCompared =
    TORVANE_TR("Compare", "Not compared: %1 values of fields the comparison cannot see: %2");
// %1 the transfer result's text.
inline constexpr Text CompareNotDownloadable =
    TORVANE_TR("Compare", "cannot be taken as a download sends it: %1");

// ---- PLC tags and the I/O map ----------------------------------------------------------------

// %1 the command's 1-based position, %2 its type label.
inline constexpr Text PlcTagsNoMappingAddress =
    TORVANE_TR("PlcTags", "Calculate Mapping Address first (command %1: %2)");
// Written into the tag files, never translated.
inline constexpr const char* PlcTagsSwapBytes = "little-endian: swap bytes before use";
inline constexpr const char* PlcTagsByteOf = "byte %1 of %2"; // byte index, byte count
inline constexpr const char* PlcTagsReserved =
    "Control&Monitor Status is enabled: the gateway reserves 2 bytes of each buffer for it; they "
    "have no defined position and get no tag.";

inline constexpr Text IoMapTitle = TORVANE_TR("IoMap", "I/O Map");
inline constexpr Text IoMapFile = TORVANE_TR("IoMap", "File");
inline constexpr Text IoMapNoFile = TORVANE_TR("IoMap", "(not saved)");
inline constexpr Text IoMapDate = TORVANE_TR("IoMap", "Date");
inline constexpr Text IoMapConfigType = TORVANE_TR("IoMap", "Configuration type");
inline constexpr Text IoMapParameters = TORVANE_TR("IoMap", "Gateway parameters");
inline constexpr Text IoMapInputs = TORVANE_TR("IoMap", "PLC inputs (Profibus input buffer)");
inline constexpr Text IoMapOutputs = TORVANE_TR("IoMap", "PLC outputs (Profibus output buffer)");
inline constexpr Text IoMapColBytes = TORVANE_TR("IoMap", "Bytes");
inline constexpr Text IoMapColPlcAddress = TORVANE_TR("IoMap", "PLC address");
inline constexpr Text IoMapColNode = TORVANE_TR("IoMap", "Node");
inline constexpr Text IoMapColCommand = TORVANE_TR("IoMap", "Command");
inline constexpr Text IoMapColObject = TORVANE_TR("IoMap", "COB-ID or Index:Sub-index");
inline constexpr Text IoMapColLength = TORVANE_TR("IoMap", "Length");
inline constexpr Text IoMapColDescription = TORVANE_TR("IoMap", "Description");
inline constexpr Text IoMapNoCommands = TORVANE_TR("IoMap", "No command uses this buffer.");
// %1 the free byte ranges, %2 their count.
inline constexpr Text IoMapFreeBytes = TORVANE_TR("IoMap", "Free bytes: %1 (%2 bytes)");
inline constexpr Text IoMapNoFreeBytes = TORVANE_TR("IoMap", "Free bytes: none");
inline constexpr Text IoMapReserved = TORVANE_TR(
    "IoMap", "Control&Monitor Status reserves 2 more bytes of each buffer; their position is "
             "not defined.");
inline constexpr Text IoMapChecks = TORVANE_TR("IoMap", "Pre-download checks");
inline constexpr Text IoMapChecksPassed = TORVANE_TR("IoMap", "All checks passed.");
inline constexpr Text IoMapChecksSlave = TORVANE_TR(
    "IoMap", "A CANopen Slave configuration is not checked before a download; its mapping "
             "addresses are calculated again instead.");
inline constexpr Text IoMapCycles = TORVANE_TR("IoMap", "Minimum cycle times");
// %1 command count, %2 least cycle in ms, %3 the configured cycle in ms.
inline constexpr Text IoMapRpdoCycle =
    TORVANE_TR("IoMap", "%1 Receive PDO commands: at least %2 ms (configured: %3 ms)");
inline constexpr Text IoMapSdoCycle =
    TORVANE_TR("IoMap", "%1 SDO commands: at least %2 ms (configured: %3 ms)");
inline constexpr Text IoMapSignature = TORVANE_TR("IoMap", "Checked by, date, signature:");

} // namespace torvane::str
