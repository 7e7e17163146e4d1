#pragma once

// The GUI's own texts: window titles, labels, menus, tooltips, status panes, fonts and the
// messages only a window shows. The core's messages stay in model/strings.h. Spelling and
// spacing are the program's own and must stay exactly as they are.

namespace torvane::str {

// ---- Mapping and checks ----------------------------------------------------------------------

inline constexpr const char* MappingConfirm =
    "Really want to calculate the mapping address automatically?";
// Conflict detection window (CDTest).
inline constexpr const char* ConflictTitle = "Conflict Detection";
inline constexpr const char* ConflictCommandList = "Command list";
inline constexpr const char* ConflictInputArea = "Input area";
inline constexpr const char* ConflictOutputArea = "Output area";
inline constexpr const char* ConflictLegendInput = "Input";
inline constexpr const char* ConflictLegendOutput = "Output";
inline constexpr const char* ConflictLegendConflict = "Conflict";

// ---- Editor: network tree and parameter pages -------------------------------------------------

inline constexpr const char* HeadingDevices = "Devices";
inline constexpr const char* HeadingConfiguration = "Configuration";
inline constexpr const char* MenuAddNode = "Add Node";
inline constexpr const char* MenuDeleteNode = "Delete Node";
inline constexpr const char* MenuAddCommand = "Add Command";
inline constexpr const char* MenuDeleteCommand = "Delete Command";
inline constexpr const char* MenuCopyNode = "Copy Node";
inline constexpr const char* MenuPasteNode = "Paste Node";
inline constexpr const char* ProtocolTypeSelection = "Protocol Type Selection";
inline constexpr const char* SelectConfigType = "Select config type";
inline constexpr const char* OldConfig = "Old-Config";
inline constexpr const char* NewConfig = "New-Config";
inline constexpr const char* SaveConfigurationTitle = "Save Configuration";
inline constexpr const char* SaveConfigurationQuestion =
    "Configuration has been changed, save it or not?";
inline constexpr const char* ButtonYes = "Yes(&Y)";
inline constexpr const char* ButtonNo = "No(&N)";
inline constexpr const char* ButtonOk = "OK";
inline constexpr const char* ButtonCancel = "Cancel";

// ---- Editor: command pages and adding commands -----------------------------------------------

// "Select Commands" dialog and its limits.
inline constexpr const char* SelectCommandsTitle = "Select Commands";

// ---- Communication ---------------------------------------------------------------------------

inline constexpr const char* DownloadHintSelect = "Select";

// ---- Communication dialogs -------------------------------------------------------------------

inline constexpr const char* SerialDialogTitle = "Serial Port Configuration";
inline constexpr const char* SerialPortLabel = "Port";
inline constexpr const char* SerialBaudLabel = "Baudrate";
inline constexpr const char* SerialParityLabel = "Parity";
inline constexpr const char* SerialDataBitsLabel = "Data Bits";
inline constexpr const char* SerialStopBitsLabel = "Stop Bits";
inline constexpr const char* DownloadHintText =
    "The open configuration was made with an earlier version of this program. The compatible "
    "format keeps the old download method for gateways with the earlier firmware; the new "
    "format is for all other gateways.";
inline constexpr const char* TransferRunningOnClose =
    "A transfer to the gateway is running. Close the program when it has ended.";

// ---- Exports ---------------------------------------------------------------------------------

inline constexpr const char* FilterEds = "Electronic Data Sheet(*.eds)";
inline constexpr const char* ExtensionEds = "eds";
inline constexpr const char* FilterExcel = "Execl File(*.xlsx)";
inline constexpr const char* ExtensionExcel = "xlsx";
// "%1" is replaced by the workbook's full path.
inline constexpr const char* WorkbookNotOpened =
    "The workbook is saved as\n%1\nbut no program could be started to show it.";

// ---- Monitor ---------------------------------------------------------------------------------

inline constexpr const char* MonitorTitle = "Monitor";
// The simulated gateway `torvane --demo` lists among the serial ports.
inline constexpr const char* DemoGatewayName = "Demo gateway";
inline constexpr const char* DemoGatewayFailed = "The demo gateway could not be started: %1";
inline constexpr const char* MonitorColumnStatus = "Status";
inline constexpr const char* MonitorColumnTime = "Time";
inline constexpr const char* MonitorColumnData = "Data";
inline constexpr const char* MonitorInputDataLabel = "Input Data:";
inline constexpr const char* MonitorOutputGroup = "Output:";
inline constexpr const char* MonitorStartLabel = "The starting address:";
inline constexpr const char* MonitorStartNote =
    "(The starting address in DP output buffer, base 0)";
inline constexpr const char* MonitorDataLabel = "Data:";
inline constexpr const char* MonitorDataNote = "(Output data)";
inline constexpr const char* MonitorTransmit = "Transmit";
inline constexpr const char* MonitorSaveContent = "Save Content";
inline constexpr const char* MonitorStopSaving = "Stop Saving";
inline constexpr const char* MonitorStopDisplaying = "Stop Displaying";
inline constexpr const char* MonitorContinueDisplay = "Continue to display";
inline constexpr const char* MonitorExit = "Exit";
inline constexpr const char* MonitorLogFilter = "TXT File(*.txt)";

// ---- Application -----------------------------------------------------------------------------

inline constexpr const char* MenuFile = "File(&F)";
inline constexpr const char* MenuNew = "New(&N)";
inline constexpr const char* MenuOpen = "Open(&O)";
inline constexpr const char* MenuSave = "Save(&S)";
inline constexpr const char* MenuSaveAs = "Save As(&A)";
inline constexpr const char* MenuRecent = "Recent";
inline constexpr const char* MenuExit = "Exit(&X)";
inline constexpr const char* MenuEdit = "Edit(&E)";
inline constexpr const char* MainMenuAddNode = "Add Node(&N)";
inline constexpr const char* MainMenuDeleteNode = "Delete Node(&D)";
inline constexpr const char* MainMenuAddCommand = "Add Command(&I)";
inline constexpr const char* MainMenuDeleteCommand = "Delete Command(&E)";
inline constexpr const char* MainMenuCopyNode = "Copy Node(&C)";
inline constexpr const char* MainMenuPasteNode = "Paste Node(&P)";
inline constexpr const char* MenuUndo = "Undo(&U)";
inline constexpr const char* MenuRedo = "Redo(&R)";
// Status texts of Undo and Redo, followed by the step's name.
inline constexpr const char* StatusUndo = "Undo: ";
inline constexpr const char* StatusRedo = "Redo: ";
// Step names that are no menu text of their own.
inline constexpr const char* StepCalculateMapping = "Calculate Mapping Address";
inline constexpr const char* StepDownload = "Download";
inline constexpr const char* MenuTools = "Tools(&T)";
inline constexpr const char* MenuSerial = "Serial Connection(&P)";
inline constexpr const char* MenuUpload = "Upload(&U)";
inline constexpr const char* MenuDownload = "Download(&D)";
inline constexpr const char* MenuCalculateMapping = "Calculate Mapping Address(&T)";
inline constexpr const char* MenuExportExcel = "Export EXCEL(&O)";
inline constexpr const char* MenuConflict = "Mapping Address Conflict Detection(&C)";
inline constexpr const char* MenuCreateEds = "Create EDS File(&E)";
inline constexpr const char* MenuPromptInformation = "Prompt Information";
inline constexpr const char* MenuHelp = "Help(&H)";
inline constexpr const char* MenuContent = "Content(&C)";
inline constexpr const char* MenuAbout = "About(&A)";
inline constexpr const char* TipNew = "New";
inline constexpr const char* TipOpen = "Open";
inline constexpr const char* TipSave = "Save";
inline constexpr const char* TipUpload = "Upload";
inline constexpr const char* TipDownload = "Download";
inline constexpr const char* TipCalculateMapping = "Calculate Mapping Address";
inline constexpr const char* TipConflict = "Mapping Address Conflict Detection";
inline constexpr const char* TipExportExcel = "Export EXCEL";
inline constexpr const char* PromptNew = "Creates a new document";
inline constexpr const char* PromptOpen = "Opens an existing document";
inline constexpr const char* PromptSave = "Saves the document";
inline constexpr const char* PromptSaveAs = "Saves the document with a new name";
inline constexpr const char* PromptExit = "Quit the application; prompts to save documents";
inline constexpr const char* PromptAbout =
    "Display program information, version number and copyright";
inline constexpr const char* PromptRecent = "Open this document";
inline constexpr const char* StatusReady = "Ready";
inline constexpr const char* StatusCapital = "Capital";
inline constexpr const char* StatusRoll = "Roll";
inline constexpr const char* InfoBarTitle = "MY Control";
inline constexpr const char* InfoTab = "Info";
inline constexpr const char* NewsTab = "News";
inline constexpr const char* NewsPage = "advertising_bottom/Torvane.html";
inline constexpr const char* InfoFont = "Times New Roman";
// The user guide is an HTML page (its pictures under help/), opened in the desktop's browser.
inline constexpr const char* HelpFileName = "Torvane.html";
// "%1" is replaced by the help file's full path.
inline constexpr const char* HelpFileMissing = "Help file\n%1\ndo not exist!";
// "%1" is replaced by the help file's full path; the guide then opens in the program's window.
inline constexpr const char* HelpNotOpened =
    "No program could be started to show the help file\n%1\nIt is shown in a window of this "
    "program.";
inline constexpr const char* HelpWindowTitle = "Torvane Help";
inline constexpr const char* AboutTitle = "About Software Torvane";
inline constexpr const char* AboutProduct = "Gateway Configuration Softwre Torvane";
inline constexpr const char* AboutVersion = "Version 4.2.1";
inline constexpr const char* AboutMoreInfo = "More technical information, please visit:";
inline constexpr const char* AboutClose = "Close";
inline constexpr const char* LogoFileName = "VeltraCompany.png";

// ---- Comparing configurations ------------------------------------------------------------------

inline constexpr const char* MenuCompareGateway = "Compare with Gateway(&G)";
inline constexpr const char* MenuCompareFile = "Compare with File(&C)";
inline constexpr const char* CompareGatewayTitle = "Compare with Gateway";
inline constexpr const char* CompareFileTitle = "Compare with File";
inline constexpr const char* ComparePlaceColumn = "Place";
inline constexpr const char* CompareOursColumn = "In this configuration";
inline constexpr const char* CompareGatewayColumn = "On the gateway";
inline constexpr const char* CompareFileColumn = "In the file";
inline constexpr const char* CompareCopy = "Copy to Clipboard";
inline constexpr const char* CompareClose = "Close";

} // namespace torvane::str
