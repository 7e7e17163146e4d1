#include "comm/transfer_codes.h"

#include "model/strings.h"

namespace torvane {

DownloadFormat formatAnswerCode(FormatChoice choice, bool slaveModel) {
    switch (choice) {
    case FormatChoice::Compatible:
        return slaveModel ? DownloadFormat::Tavo20SCompatible : DownloadFormat::Tavo20Compatible;
    case FormatChoice::New:
        return slaveModel ? DownloadFormat::Tavo20SNew : DownloadFormat::Tavo20New;
    case FormatChoice::Cancel:
        return DownloadFormat::Cancelled;
    case FormatChoice::NoChoice:
        break;
    }
    return DownloadFormat::None;
}

Message transferResultText(TransferResult code, const Message& emptyFieldMessage,
                           const Message& openReason) {
    switch (code) {
    case TransferResult::OpenFailed:
        return openReason.empty() ? Message(str::ResultOpenFailed)
                                  : Message(str::TwoLines, str::ResultOpenFailed, openReason);
    case TransferResult::WriteError:
        return str::ResultWriteError;
    case TransferResult::ReadFailed:
        return str::ResultReadFailed;
    case TransferResult::Validation:
        return str::ResultValidation;
    case TransferResult::VersionMismatch:
        return str::ResultVersionMismatch;
    case TransferResult::DownloadError:
        return str::ResultDownloadError;
    case TransferResult::UploadFailed:
        return str::ResultUploadFailed;
    case TransferResult::DownloadFailed:
        return str::ResultDownloadFailed;
    case TransferResult::Unsupported:
        return str::ResultUnsupported;
    case TransferResult::TooManyUploadSdo:
    case TransferResult::TooManyDownloadSdo:
        return str::SdoLimit28;
    case TransferResult::TooManyTpdo:
        return str::TransmitPdoLimit14;
    case TransferResult::TooManyRpdo:
        return str::ReceivePdoLimit14;
    case TransferResult::FieldEmpty:
        return emptyFieldMessage;
    case TransferResult::IoSizeRefused:
        return str::ResultIoSizeRefused;
    case TransferResult::MappingOverflow:
        return str::ResultMappingOverflow;
    case TransferResult::DownloadCancel:
        return str::ResultDownloadCancel;
    case TransferResult::UploadCancel:
        return str::ResultUploadCancel;
    case TransferResult::Success:
        return str::ResultSuccess;
    default:
        return str::ResultUnknown;
    }
}

} // namespace torvane
