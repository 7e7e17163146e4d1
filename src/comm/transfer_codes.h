#pragma once

// What a transfer reports: result and format codes, progress and the format question. Shared by
// the protocol classes, the transfer jobs and their callers.

#include "model/message.h"

#include <string>

namespace torvane {

// Transfer results of Open, Download and Upload. The numbers are part of the interface: the
// command line exits with 10 + the number.
enum class TransferResult {
    OpenFailed = 0,
    WriteError = 1,
    ReadFailed = 2,
    Validation = 3,
    VersionMismatch = 4,
    DownloadError = 5,
    UploadFailed = 6,
    DownloadFailed = 7,
    Unsupported = 8,
    TooManyUploadSdo = 9,
    TooManyTpdo = 10,
    TooManyDownloadSdo = 11,
    TooManyRpdo = 12,
    FieldEmpty = 13,
    IoSizeRefused = 14,
    MappingOverflow = 15,
    DownloadCancel = 16,
    UploadCancel = 17,
    Success = 18,
};

// Download format codes kept by the protocol object.
enum class DownloadFormat {
    Tavo20Compatible = 0,
    Tavo20New = 4,
    Tavo20SCompatible = 5,
    Tavo20SNew = 6,
    Cancelled = 7, // the user cancelled the format question
    None = 8,      // initial; also when the identification got no reply
};

inline constexpr int kProgressSteps = 13; // one header and twelve data frames

// Receives the progress of one transfer; called on the transfer's own thread.
class ProgressObserver {
public:
    virtual ~ProgressObserver() = default;
    virtual void progressRange(int steps) = 0;
    virtual void progressStep(int steps) = 0;
    virtual void progressFinished() = 0;
};

// The user's answer in the "Download hint:" question.
enum class FormatChoice { Compatible, New, NoChoice, Cancel };

// Asks which download format to use when an old document meets new firmware. Called on the
// transfer's thread; a GUI blocks it until its dialog closed.
class FormatQuestion {
public:
    virtual ~FormatQuestion() = default;
    virtual FormatChoice askDownloadFormat() = 0;
};

// Format code of an answer: Compatible 0 (5 for the slave model), New 4 (6), Cancel 7, none 8.
DownloadFormat formatAnswerCode(FormatChoice choice, bool slaveModel);

// Message of a transfer result; FieldEmpty gives `emptyFieldMessage`, OpenFailed adds `openReason`
// as a second line when there is one; unknown codes give "Unknown error".
Message transferResultText(TransferResult code, const Message& emptyFieldMessage = {},
                           const Message& openReason = {});

} // namespace torvane
