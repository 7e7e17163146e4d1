#pragma once

// The GUI's own texts: window titles, labels, menus, tooltips, status panes, fonts and the
// messages only a window shows. The core's messages stay in model/strings.h. Spelling and
// spacing are the program's own and must stay exactly as they are.

namespace torvane::str {

// An English text and the context (its window) it is translated in; gui::ui() gives it in the
// interface language.
struct UiText {
    const char* context;
    const char* source;
};

// lupdate reads TORVANE_UI as QT_TRANSLATE_NOOP.
#define TORVANE_UI(context, text)                                                                  \
    ::torvane::str::UiText {                                                                       \
        context, text                                                                              \
    }

// ---- Mapping and checks ----------------------------------------------------------------------

inline constexpr UiText MappingConfirm =
    TORVANE_UI("ConfigView", "Really want to calculate the mapping address automatically?");
// Conflict detection window (ConflictDialog).
inline constexpr UiText ConflictTitle = TORVANE_UI("ConflictDialog", "Conflict Detection");
inline constexpr UiText ConflictCommandList = TORVANE_UI("ConflictDialog", "Command list");
inline constexpr UiText ConflictInputArea = TORVANE_UI("ConflictDialog", "Input area");
inline constexpr UiText ConflictOutputArea = TORVANE_UI("ConflictDialog", "Output area");
inline constexpr UiText ConflictLegendInput = TORVANE_UI("ConflictDialog", "Input");
inline constexpr UiText ConflictLegendOutput = TORVANE_UI("ConflictDialog", "Output");
inline constexpr UiText ConflictLegendConflict = TORVANE_UI("ConflictDialog", "Conflict");

// ---- Editor: network tree and parameter pages -------------------------------------------------

inline constexpr UiText HeadingDevices = TORVANE_UI("ConfigView", "Devices");
inline constexpr UiText HeadingConfiguration = TORVANE_UI("ConfigView", "Configuration");
inline constexpr UiText MenuAddNode = TORVANE_UI("ConfigView", "Add Node");
inline constexpr UiText MenuDeleteNode = TORVANE_UI("ConfigView", "Delete Node");
inline constexpr UiText MenuAddCommand = TORVANE_UI("ConfigView", "Add Command");
inline constexpr UiText MenuDeleteCommand = TORVANE_UI("ConfigView", "Delete Command");
inline constexpr UiText MenuCopyNode = TORVANE_UI("ConfigView", "Copy Node");
inline constexpr UiText MenuPasteNode = TORVANE_UI("ConfigView", "Paste Node");
inline constexpr UiText ProtocolTypeSelection =
    TORVANE_UI("ConfigDialogs", "Protocol Type Selection");
inline constexpr UiText SelectConfigType = TORVANE_UI("ConfigDialogs", "Select config type");
inline constexpr UiText OldConfig = TORVANE_UI("ConfigDialogs", "Old-Config");
inline constexpr UiText NewConfig = TORVANE_UI("ConfigDialogs", "New-Config");
inline constexpr UiText SaveConfigurationTitle = TORVANE_UI("ConfigDialogs", "Save Configuration");
inline constexpr UiText SaveConfigurationQuestion =
    TORVANE_UI("ConfigDialogs", "Configuration has been changed, save it or not?");
// The line under the save question before an upload.
inline constexpr UiText SaveBeforeUploadNote =
    TORVANE_UI("ConfigDialogs",
               "The configuration uploaded from the gateway will replace the open configuration.");
// Asked before an XML file is written that leaves values out; %1 lists them as
// "<grid label> (<value>)" joined by ", ".
inline constexpr UiText XmlDropsQuestion =
    TORVANE_UI("ConfigDialogs", "The XML file does not hold: %1. Save anyway?");
// Between the fields that question lists.
inline constexpr UiText XmlDropsSeparator = TORVANE_UI("ConfigDialogs", ", ");
inline constexpr UiText ButtonYes = TORVANE_UI("ConfigDialogs", "Yes(&Y)");
inline constexpr UiText ButtonNo = TORVANE_UI("ConfigDialogs", "No(&N)");
inline constexpr UiText ButtonOk = TORVANE_UI("ConfigDialogs", "OK");
inline constexpr UiText ButtonCancel = TORVANE_UI("ConfigDialogs", "Cancel");

// ---- Editor: command pages and adding commands -----------------------------------------------

// "Select Commands" dialog and its limits.
inline constexpr UiText SelectCommandsTitle = TORVANE_UI("SelectCommandsDialog", "Select Commands");
// Adds one command of the selected kind; the dialog stays open for more.
inline constexpr UiText SelectCommandsAdd = TORVANE_UI("SelectCommandsDialog", "Add");
inline constexpr UiText SelectCommandsClose = TORVANE_UI("SelectCommandsDialog", "Close");

// ---- Communication ---------------------------------------------------------------------------

inline constexpr UiText DownloadHintSelect = TORVANE_UI("FormatDialog", "Select");

// ---- Communication dialogs -------------------------------------------------------------------

inline constexpr UiText SerialDialogTitle = TORVANE_UI("SerialDialog", "Serial Port Configuration");
inline constexpr UiText SerialPortLabel = TORVANE_UI("SerialDialog", "Port");
inline constexpr UiText SerialBaudLabel = TORVANE_UI("SerialDialog", "Baudrate");
inline constexpr UiText SerialParityLabel = TORVANE_UI("SerialDialog", "Parity");
inline constexpr UiText SerialDataBitsLabel = TORVANE_UI("SerialDialog", "Data Bits");
inline constexpr UiText SerialStopBitsLabel = TORVANE_UI("SerialDialog", "Stop Bits");
// The parity list; the settings keep the position, not the text.
inline constexpr UiText ParityNone = TORVANE_UI("SerialDialog", "None");
inline constexpr UiText ParityOdd = TORVANE_UI("SerialDialog", "ODD");
inline constexpr UiText ParityEven = TORVANE_UI("SerialDialog", "EVEN");
inline constexpr UiText ParityMark = TORVANE_UI("SerialDialog", "MARK");
inline constexpr UiText ParitySpace = TORVANE_UI("SerialDialog", "SPACE");
inline constexpr UiText DownloadHintText = TORVANE_UI(
    "FormatDialog",
    "The open configuration was made with an earlier version of this program. The compatible "
    "format keeps the old download method for gateways with the earlier firmware; the new "
    "format is for all other gateways.");
// The progress window: what runs, and where ("%1" the port, "%2" the frame, "%3" the frames).
inline constexpr UiText WaitTitleDownload = TORVANE_UI("WaitDialog", "Download");
inline constexpr UiText WaitTitleUpload = TORVANE_UI("WaitDialog", "Upload");
inline constexpr UiText WaitLineDownload =
    TORVANE_UI("WaitDialog", "Download to %1: frame %2 of %3");
inline constexpr UiText WaitLineUpload = TORVANE_UI("WaitDialog", "Upload from %1: frame %2 of %3");
inline constexpr UiText TransferRunningOnClose = TORVANE_UI(
    "MainWindow", "A transfer to the gateway is running. Close the program when it has ended.");

// ---- Exports ---------------------------------------------------------------------------------

inline constexpr UiText FilterEds = TORVANE_UI("MainWindow", "Electronic Data Sheet(*.eds)");
inline constexpr const char* ExtensionEds = "eds";
inline constexpr UiText FilterExcel = TORVANE_UI("MainWindow", "Execl File(*.xlsx)");
inline constexpr const char* ExtensionExcel = "xlsx";
// A file written by a command; "%1" is replaced by its full path.
inline constexpr UiText StatusSaved = TORVANE_UI("MainWindow", "Saved %1");
// "%1" is replaced by the workbook's full path.
inline constexpr UiText WorkbookNotOpened = TORVANE_UI(
    "MainWindow", "The workbook is saved as\n%1\nbut no program could be started to show it.");

// ---- Monitor ---------------------------------------------------------------------------------

inline constexpr UiText MonitorTitle = TORVANE_UI("MonitorWindow", "Monitor");
inline constexpr UiText MenuMonitor = TORVANE_UI("MainWindow", "Monitor(&M)");
// The simulated gateway `torvane --demo` lists among the serial ports.
inline constexpr UiText DemoGatewayName = TORVANE_UI("SerialDialog", "Demo gateway");
inline constexpr UiText DemoGatewayFailed =
    TORVANE_UI("MainWindow", "The demo gateway could not be started: %1");
inline constexpr UiText MonitorColumnStatus = TORVANE_UI("MonitorWindow", "Status");
inline constexpr UiText MonitorColumnTime = TORVANE_UI("MonitorWindow", "Time");
inline constexpr UiText MonitorColumnData = TORVANE_UI("MonitorWindow", "Data");
inline constexpr UiText MonitorInputDataLabel = TORVANE_UI("MonitorWindow", "Input Data:");
inline constexpr UiText MonitorOutputGroup = TORVANE_UI("MonitorWindow", "Output:");
inline constexpr UiText MonitorStartLabel = TORVANE_UI("MonitorWindow", "The starting address:");
inline constexpr UiText MonitorStartNote =
    TORVANE_UI("MonitorWindow", "(The starting address in DP output buffer, base 0)");
inline constexpr UiText MonitorDataLabel = TORVANE_UI("MonitorWindow", "Data:");
inline constexpr UiText MonitorDataNote = TORVANE_UI("MonitorWindow", "(Output data)");
inline constexpr UiText MonitorTransmit = TORVANE_UI("MonitorWindow", "Transmit");
inline constexpr UiText MonitorSaveContent = TORVANE_UI("MonitorWindow", "Save Content");
inline constexpr UiText MonitorStopSaving = TORVANE_UI("MonitorWindow", "Stop Saving");
inline constexpr UiText MonitorStopDisplaying = TORVANE_UI("MonitorWindow", "Stop Displaying");
inline constexpr UiText MonitorContinueDisplay = TORVANE_UI("MonitorWindow", "Continue to display");
inline constexpr UiText MonitorExit = TORVANE_UI("MonitorWindow", "Exit");
inline constexpr UiText MonitorLogFilter = TORVANE_UI("MonitorWindow", "TXT File(*.txt)");
// The Commands view.
inline constexpr UiText MonitorCommands = TORVANE_UI("MonitorWindow", "Commands");
inline constexpr UiText MonitorColumnNode = TORVANE_UI("MonitorWindow", "Node");
inline constexpr UiText MonitorColumnCommand = TORVANE_UI("MonitorWindow", "Command");
inline constexpr UiText MonitorColumnTarget = TORVANE_UI("MonitorWindow", "COB-ID / Index:Sub");
inline constexpr UiText MonitorColumnDescription = TORVANE_UI("MonitorWindow", "Description");
inline constexpr UiText MonitorColumnBytes = TORVANE_UI("MonitorWindow", "Bytes");
inline constexpr UiText MonitorColumnPlc = TORVANE_UI("MonitorWindow", "PLC address");
inline constexpr UiText MonitorColumnRaw = TORVANE_UI("MonitorWindow", "Raw");
inline constexpr UiText MonitorColumnUnsigned = TORVANE_UI("MonitorWindow", "Unsigned");
inline constexpr UiText MonitorColumnSigned = TORVANE_UI("MonitorWindow", "Signed");
inline constexpr UiText MonitorColumnChanged = TORVANE_UI("MonitorWindow", "Changed");
inline constexpr UiText MonitorBeyondBuffer = TORVANE_UI("MonitorWindow", "beyond the buffer");
inline constexpr UiText MonitorValueLabel = TORVANE_UI("MonitorWindow", "Value:");
inline constexpr UiText MonitorValueNote =
    TORVANE_UI("MonitorWindow", "(decimal, or hex starting with 0x)");
inline constexpr UiText MonitorChooseOutput =
    TORVANE_UI("MonitorWindow", "Select an output command to write its value.");
// "%1": byte ranges such as "4..5, 10".
inline constexpr UiText MonitorOutputsSet =
    TORVANE_UI("MonitorWindow", "Test outputs set in the gateway: %1");
inline constexpr UiText MonitorNoOutputsSet =
    TORVANE_UI("MonitorWindow", "Test outputs set in the gateway: none");
inline constexpr UiText MonitorResetting =
    TORVANE_UI("MonitorWindow", "Setting the test outputs back to 00...");
inline constexpr UiText MonitorRecord = TORVANE_UI("MonitorWindow", "Record...");
inline constexpr UiText MonitorStopRecording = TORVANE_UI("MonitorWindow", "Stop Recording");
inline constexpr UiText MonitorRecordRaw = TORVANE_UI("MonitorWindow", "With raw frames");
inline constexpr UiText MonitorRecordFilter = TORVANE_UI("MonitorWindow", "CSV File(*.csv)");
inline constexpr UiText MonitorUsesPort = TORVANE_UI(
    "MainWindow", "The monitor is using the serial port. Close the monitor before a download, "
                  "an upload or a comparison with the gateway.");

// ---- Application -----------------------------------------------------------------------------

inline constexpr UiText MenuFile = TORVANE_UI("MainWindow", "File(&F)");
inline constexpr UiText MenuNew = TORVANE_UI("MainWindow", "New(&N)");
inline constexpr UiText MenuOpen = TORVANE_UI("MainWindow", "Open(&O)");
inline constexpr UiText MenuSave = TORVANE_UI("MainWindow", "Save(&S)");
inline constexpr UiText MenuSaveAs = TORVANE_UI("MainWindow", "Save As(&A)");
inline constexpr UiText MenuRecent = TORVANE_UI("MainWindow", "Recent");
inline constexpr UiText MenuExit = TORVANE_UI("MainWindow", "Exit(&X)");
inline constexpr UiText MenuEdit = TORVANE_UI("MainWindow", "Edit(&E)");
inline constexpr UiText MainMenuAddNode = TORVANE_UI("MainWindow", "Add Node(&N)");
inline constexpr UiText MainMenuDeleteNode = TORVANE_UI("MainWindow", "Delete Node(&D)");
inline constexpr UiText MainMenuAddCommand = TORVANE_UI("MainWindow", "Add Command(&I)");
inline constexpr UiText MainMenuDeleteCommand = TORVANE_UI("MainWindow", "Delete Command(&E)");
inline constexpr UiText MainMenuCopyNode = TORVANE_UI("MainWindow", "Copy Node(&C)");
inline constexpr UiText MainMenuPasteNode = TORVANE_UI("MainWindow", "Paste Node(&P)");
inline constexpr UiText MenuUndo = TORVANE_UI("MainWindow", "Undo(&U)");
inline constexpr UiText MenuRedo = TORVANE_UI("MainWindow", "Redo(&R)");
// Status texts of Undo and Redo, followed by the step's name.
inline constexpr UiText StatusUndo = TORVANE_UI("MainWindow", "Undo: ");
inline constexpr UiText StatusRedo = TORVANE_UI("MainWindow", "Redo: ");
inline constexpr UiText MenuTools = TORVANE_UI("MainWindow", "Tools(&T)");
inline constexpr UiText MenuSerial = TORVANE_UI("MainWindow", "Serial Connection(&P)");
inline constexpr UiText MenuUpload = TORVANE_UI("MainWindow", "Upload(&U)");
inline constexpr UiText MenuDownload = TORVANE_UI("MainWindow", "Download(&D)");
inline constexpr UiText MenuCalculateMapping =
    TORVANE_UI("MainWindow", "Calculate Mapping Address(&T)");
inline constexpr UiText MenuExportExcel = TORVANE_UI("MainWindow", "Export EXCEL(&O)");
inline constexpr UiText MenuConflict =
    TORVANE_UI("MainWindow", "Mapping Address Conflict Detection(&C)");
inline constexpr UiText MenuCreateEds = TORVANE_UI("MainWindow", "Create EDS File(&E)");
inline constexpr UiText MenuPromptInformation = TORVANE_UI("MainWindow", "Prompt Information");
inline constexpr UiText MenuHelp = TORVANE_UI("MainWindow", "Help(&H)");
inline constexpr UiText MenuContent = TORVANE_UI("MainWindow", "Content(&C)");
inline constexpr UiText MenuAbout = TORVANE_UI("MainWindow", "About(&A)");
inline constexpr UiText TipNew = TORVANE_UI("MainWindow", "New");
inline constexpr UiText TipOpen = TORVANE_UI("MainWindow", "Open");
inline constexpr UiText TipSave = TORVANE_UI("MainWindow", "Save");
inline constexpr UiText TipUpload = TORVANE_UI("MainWindow", "Upload");
inline constexpr UiText TipDownload = TORVANE_UI("MainWindow", "Download");
inline constexpr UiText TipCalculateMapping = TORVANE_UI("MainWindow", "Calculate Mapping Address");
inline constexpr UiText TipConflict =
    TORVANE_UI("MainWindow", "Mapping Address Conflict Detection");
inline constexpr UiText TipExportExcel = TORVANE_UI("MainWindow", "Export EXCEL");
inline constexpr UiText PromptNew = TORVANE_UI("MainWindow", "Creates a new document");
inline constexpr UiText PromptOpen = TORVANE_UI("MainWindow", "Opens an existing document");
inline constexpr UiText PromptSave = TORVANE_UI("MainWindow", "Saves the document");
inline constexpr UiText PromptSaveAs =
    TORVANE_UI("MainWindow", "Saves the document with a new name");
inline constexpr UiText PromptExit =
    TORVANE_UI("MainWindow", "Quit the application; prompts to save documents");
inline constexpr UiText PromptAbout =
    TORVANE_UI("MainWindow", "Display program information, version number and copyright");
inline constexpr UiText PromptRecent = TORVANE_UI("MainWindow", "Open this document");
inline constexpr UiText StatusReady = TORVANE_UI("MainWindow", "Ready");
inline constexpr UiText StatusCapital = TORVANE_UI("MainWindow", "Capital");
inline constexpr UiText StatusRoll = TORVANE_UI("MainWindow", "Roll");
inline constexpr UiText InfoBarTitle = TORVANE_UI("InfoBar", "MY Control");
inline constexpr UiText InfoTab = TORVANE_UI("InfoBar", "Info");
inline constexpr UiText NewsTab = TORVANE_UI("InfoBar", "News");
inline constexpr const char* NewsPage = "advertising_bottom/Torvane.html";
inline constexpr const char* InfoFont = "Times New Roman";
// The user guide is an HTML page (its pictures under help/), opened in the desktop's browser.
inline constexpr const char* HelpFileName = "Torvane.html";
// "%1" is replaced by the help file's full path.
inline constexpr UiText HelpFileMissing = TORVANE_UI("MainWindow", "Help file\n%1\ndo not exist!");
// "%1" is replaced by the help file's full path; the guide then opens in the program's window.
inline constexpr UiText HelpNotOpened = TORVANE_UI(
    "MainWindow",
    "No program could be started to show the help file\n%1\nIt is shown in a window of this "
    "program.");
inline constexpr UiText HelpWindowTitle = TORVANE_UI("MainWindow", "Torvane Help");
inline constexpr UiText AboutTitle = TORVANE_UI("AboutDialog", "About Software Torvane");
inline constexpr UiText AboutProduct =
    TORVANE_UI("AboutDialog", "Gateway Configuration Softwre Torvane");
// %1: the program's version, as `torvane --version` prints it.
inline constexpr UiText AboutVersion = TORVANE_UI("AboutDialog", "Version %1");
inline constexpr UiText AboutNotice = TORVANE_UI(
    "AboutDialog", "Copyright (C) Veltra Automation. All rights reserved.\n"
                   "This program is protected by copyright law. Unauthorized copying or\n"
                   "distribution of it, or any part of it, is not permitted.\n\n"
                   "Sales: +86 10 0000 0001    Support: +86 10 0000 0002\n"
                   "E-mail: sales@veltra.example    support@veltra.example");
inline constexpr UiText AboutMoreInfo =
    TORVANE_UI("AboutDialog", "More technical information, please visit:");
inline constexpr UiText AboutClose = TORVANE_UI("AboutDialog", "Close");
inline constexpr const char* LogoFileName = "VeltraCompany.png";

// ---- Device library
// ------------------------------------------------------------------------------

inline constexpr UiText MenuDeviceLibrary = TORVANE_UI("MainWindow", "Device Library…(&L)");
inline constexpr UiText MainMenuAddNodeFromDevice =
    TORVANE_UI("MainWindow", "Add Node from Device…(&F)");
inline constexpr UiText MenuAddNodeFromDevice = TORVANE_UI("ConfigView", "Add Node from Device…");
inline constexpr UiText MenuAddCommandsFromDevice =
    TORVANE_UI("ConfigView", "Add Commands from Device…");
inline constexpr UiText LibraryTitle = TORVANE_UI("DeviceLibraryDialog", "Device Library");
inline constexpr UiText LibraryVendor = TORVANE_UI("DeviceLibraryDialog", "Vendor");
inline constexpr UiText LibraryProduct = TORVANE_UI("DeviceLibraryDialog", "Product");
inline constexpr UiText LibraryRevision = TORVANE_UI("DeviceLibraryDialog", "Revision");
inline constexpr UiText LibraryFile = TORVANE_UI("DeviceLibraryDialog", "File");
inline constexpr UiText LibraryNotes = TORVANE_UI("DeviceLibraryDialog", "Notes");
inline constexpr UiText LibraryImport = TORVANE_UI("DeviceLibraryDialog", "Import(&I)…");
inline constexpr UiText LibraryRemove = TORVANE_UI("DeviceLibraryDialog", "Remove(&R)");
inline constexpr UiText LibraryClose = TORVANE_UI("DeviceLibraryDialog", "Close");
// The notes of the selected device; %1 is its key.
inline constexpr UiText LibraryNotesOf = TORVANE_UI("DeviceLibraryDialog", "Notes of %1:");
// %1: the line, %2: the note.
inline constexpr UiText LibraryNoteLine = TORVANE_UI("DeviceLibraryDialog", "line %1: %2");
// %1: the key of the device to remove.
inline constexpr UiText LibraryRemoveQuestion =
    TORVANE_UI("DeviceLibraryDialog", "Remove %1 from the device library?");
// %1: what was imported or replaced, one key a line.
inline constexpr UiText LibraryImported = TORVANE_UI("DeviceLibraryDialog", "Imported:\n%1");
inline constexpr UiText LibraryReplaced = TORVANE_UI("DeviceLibraryDialog", "%1 (replaced)");
inline constexpr UiText LibraryNoFolder =
    TORVANE_UI("DeviceLibraryDialog",
               "The device library has no folder: set HOME or XDG_DATA_HOME to an absolute path.");
inline constexpr UiText DeviceFilesFilter =
    TORVANE_UI("DeviceLibraryDialog", "Device description files (*.eds *.dcf *.EDS *.DCF)");
inline constexpr UiText AllFilesFilter = TORVANE_UI("DeviceLibraryDialog", "All files (*)");
inline constexpr UiText FromDeviceNodeTitle =
    TORVANE_UI("DeviceCommandsDialog", "Add Node from Device");
inline constexpr UiText FromDeviceCommandsTitle =
    TORVANE_UI("DeviceCommandsDialog", "Add Commands from Device");
inline constexpr UiText FromDeviceDevice = TORVANE_UI("DeviceCommandsDialog", "Device(&D):");
inline constexpr UiText FromDeviceFile = TORVANE_UI("DeviceCommandsDialog", "File(&F)…");
inline constexpr UiText FromDeviceAddress = TORVANE_UI("DeviceCommandsDialog", "Node address(&A):");
inline constexpr UiText FromDeviceName = TORVANE_UI("DeviceCommandsDialog", "Name(&N):");
inline constexpr UiText FromDeviceFilter = TORVANE_UI("DeviceCommandsDialog", "Filter(&T):");
inline constexpr UiText FromDeviceFilterHint =
    TORVANE_UI("DeviceCommandsDialog", "index or name, e.g. 6041 or Statusword");
inline constexpr UiText FromDevicePdos = TORVANE_UI("DeviceCommandsDialog", "Default PDOs");
inline constexpr UiText FromDeviceObjects = TORVANE_UI("DeviceCommandsDialog", "Objects");
inline constexpr UiText FromDeviceColumnObject = TORVANE_UI("DeviceCommandsDialog", "Object");
inline constexpr UiText FromDeviceColumnName = TORVANE_UI("DeviceCommandsDialog", "Name");
inline constexpr UiText FromDeviceColumnAccess = TORVANE_UI("DeviceCommandsDialog", "Access");
inline constexpr UiText FromDeviceColumnMappable =
    TORVANE_UI("DeviceCommandsDialog", "PDO mappable");
inline constexpr UiText FromDeviceColumnBytes = TORVANE_UI("DeviceCommandsDialog", "Bytes");
inline constexpr UiText FromDeviceColumnCobId = TORVANE_UI("DeviceCommandsDialog", "COB-ID");
inline constexpr UiText FromDeviceColumnIn = TORVANE_UI("DeviceCommandsDialog", "-> Profibus In");
inline constexpr UiText FromDeviceColumnOut = TORVANE_UI("DeviceCommandsDialog", "<- Profibus Out");
inline constexpr UiText FromDeviceYes = TORVANE_UI("DeviceCommandsDialog", "yes");
inline constexpr UiText FromDeviceNo = TORVANE_UI("DeviceCommandsDialog", "no");
inline constexpr UiText FromDeviceDisabled = TORVANE_UI("DeviceCommandsDialog", "%1 (disabled)");
inline constexpr UiText FromDevicePreview =
    TORVANE_UI("DeviceCommandsDialog", "Commands to be created(&C):");
inline constexpr UiText FromDeviceNotes =
    TORVANE_UI("DeviceCommandsDialog", "Notes of the file(&O):");
// Preview lines. %1: the command type, %2: the PDO or object, then the COB-ID (PDOs), the bytes
// and the description.
inline constexpr UiText FromDevicePreviewPdo =
    TORVANE_UI("DeviceCommandsDialog", "%1  %2  COB-ID %3  %4 bytes  %5");
inline constexpr UiText FromDevicePreviewSdo =
    TORVANE_UI("DeviceCommandsDialog", "%1  %2  %3 bytes  %4");
// %1: the command type and the PDO or object, %2: why it is not created.
inline constexpr UiText FromDeviceRefused =
    TORVANE_UI("DeviceCommandsDialog", "not created: %1: %2");
inline constexpr UiText FromDeviceNodeRefused =
    TORVANE_UI("DeviceCommandsDialog", "The node cannot be added: %1");
inline constexpr UiText FromDeviceSomeRefused =
    TORVANE_UI("DeviceCommandsDialog", "These commands were not added:\n%1");
inline constexpr UiText FromDeviceNoDevice =
    TORVANE_UI("DeviceCommandsDialog", "The device library is empty: choose a file.");
inline constexpr UiText FromDeviceAdd = TORVANE_UI("DeviceCommandsDialog", "Add");
inline constexpr UiText FromDeviceCancel = TORVANE_UI("DeviceCommandsDialog", "Cancel");

// ---- Comparing configurations ------------------------------------------------------------------

inline constexpr UiText MenuCompareGateway = TORVANE_UI("MainWindow", "Compare with Gateway(&G)");
inline constexpr UiText MenuCompareFile = TORVANE_UI("MainWindow", "Compare with File(&F)");
inline constexpr UiText CompareGatewayTitle = TORVANE_UI("CompareWindow", "Compare with Gateway");
inline constexpr UiText CompareFileTitle = TORVANE_UI("CompareWindow", "Compare with File");
inline constexpr UiText ComparePlaceColumn = TORVANE_UI("CompareWindow", "Place");
inline constexpr UiText CompareOursColumn = TORVANE_UI("CompareWindow", "In this configuration");
inline constexpr UiText CompareGatewayColumn = TORVANE_UI("CompareWindow", "On the gateway");
inline constexpr UiText CompareFileColumn = TORVANE_UI("CompareWindow", "In the file");
inline constexpr UiText CompareCopy = TORVANE_UI("CompareWindow", "Copy to Clipboard");
inline constexpr UiText CompareClose = TORVANE_UI("CompareWindow", "Close");
inline constexpr UiText CompareAgain = TORVANE_UI("CompareWindow", "Compare Again");
inline constexpr UiText CompareOutOfDate =
    TORVANE_UI("CompareWindow", "The configuration has changed since this comparison");
// The gateway side: "%1" the port, "%2" the time the upload ended.
inline constexpr UiText CompareGatewaySource = TORVANE_UI("CompareWindow", "%1, uploaded at %2");

// ---- PLC tags and the I/O map ------------------------------------------------------------------

inline constexpr UiText MenuExportPlcTags = TORVANE_UI("MainWindow", "Export PLC Tags…");
inline constexpr UiText MenuPrintIoMap = TORVANE_UI("MainWindow", "Print I/O Map…");
inline constexpr UiText PlcTagsTitle = TORVANE_UI("PlcTagsDialog", "Export PLC Tags");
inline constexpr UiText PlcTagsFormat = TORVANE_UI("PlcTagsDialog", "Format:");
inline constexpr UiText PlcTagsFormatCsv = TORVANE_UI("PlcTagsDialog", "Generic table (CSV)");
inline constexpr UiText PlcTagsFormatTia =
    TORVANE_UI("PlcTagsDialog", "TIA Portal PLC tag table (XLSX)");
inline constexpr UiText PlcTagsFormatIec =
    TORVANE_UI("PlcTagsDialog", "IEC 61131-3 global variables");
inline constexpr UiText PlcTagsWordAddressing =
    TORVANE_UI("PlcTagsDialog", "Word addressing (%IW n = bytes 2n and 2n+1)");
inline constexpr UiText PlcTagsInputStart = TORVANE_UI("PlcTagsDialog", "First input byte:");
inline constexpr UiText PlcTagsOutputStart = TORVANE_UI("PlcTagsDialog", "First output byte:");
inline constexpr UiText PlcTagsDevices = TORVANE_UI("PlcTagsDialog", "Device of each node");
inline constexpr UiText PlcTagsNode = TORVANE_UI("PlcTagsDialog", "Node");
inline constexpr UiText PlcTagsDevice = TORVANE_UI("PlcTagsDialog", "Device");
inline constexpr UiText PlcTagsNoDevice = TORVANE_UI("PlcTagsDialog", "(none)");
inline constexpr UiText PlcTagsPreview = TORVANE_UI("PlcTagsDialog", "First tags");
inline constexpr UiText PlcTagsName = TORVANE_UI("PlcTagsDialog", "Name");
inline constexpr UiText PlcTagsAddress = TORVANE_UI("PlcTagsDialog", "Address");
inline constexpr UiText PlcTagsType = TORVANE_UI("PlcTagsDialog", "Data type");
inline constexpr UiText PlcTagsComment = TORVANE_UI("PlcTagsDialog", "Comment");
inline constexpr UiText FilterCsv = TORVANE_UI("MainWindow", "CSV File(*.csv)");
inline constexpr UiText FilterIec = TORVANE_UI("MainWindow", "IEC 61131-3 File(*.st)");
inline constexpr UiText FilterPdf = TORVANE_UI("MainWindow", "PDF File(*.pdf)");
inline constexpr UiText FilterHtml = TORVANE_UI("MainWindow", "HTML File(*.html)");

} // namespace torvane::str
