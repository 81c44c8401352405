#include "OperationTexts.h"

#include <QCoreApplication>

std::string FillInsert(const std::string& text, const std::string& insert1, const std::string& insert2)
{
    std::string result;
    result.reserve(text.size() + insert1.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 1 < text.size() && (text[at + 1] == '1' || text[at + 1] == '2')) {
            result += text[at + 1] == '1' ? insert1 : insert2;
            ++at;
        } else {
            result += text[at];
        }
    }
    return result;
}

std::string FillMarkers(const std::string& format, const std::string& first, const std::string& second)
{
    std::string result;
    int used = 0;
    for (std::size_t at = 0; at < format.size(); ++at) {
        if (format[at] == '%' && at + 1 < format.size() && format[at + 1] == 's' && used < 2) {
            result += used++ == 0 ? first : second;
            ++at;
        } else {
            result += format[at];
        }
    }
    return result;
}

std::string RemoteNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<StatusTexts> BackgroundStatusTexts(const OperationRequest& request)
{
    const std::string& file = request.file;
    switch (request.kind) {
    case OperationKind::Upload:
        return StatusTexts{FillMarkers("Uploading %s", file),
                           FillMarkers("Uploading %s to %s", file, request.targetServer)};
    case OperationKind::Download:
        return StatusTexts{FillMarkers("Downloading %s", file),
                           FillMarkers("Downloading %s from %s", file, request.sourceServer)};
    case OperationKind::Transfer:
        return StatusTexts{FillMarkers("Transfering %s", file),
                           FillMarkers("Transfering %s to %s", file, request.targetServer)};
    case OperationKind::View:
        return StatusTexts{FillMarkers("View %s", file),
                           FillMarkers("Retrieving %s from %s for Viewing", file, request.sourceServer)};
    case OperationKind::ChangeMode:
        return StatusTexts{FillMarkers("ChMod %s", file), FillMarkers("Changing %s's permissions", file)};
    case OperationKind::Delete:
        return StatusTexts{FillMarkers("Deleting %s", file),
                           FillMarkers("Deleting %s from %s", file, request.sourceServer)};
    case OperationKind::UploadAppend:
    case OperationKind::DownloadAppend:
        return StatusTexts{FillMarkers("Appending %s", file),
                           FillMarkers("Appending %s to %s", file, request.targetFile)};
    case OperationKind::FolderDownload:
    case OperationKind::FolderUpload:
    case OperationKind::FolderTransfer:
    case OperationKind::FolderDelete:
        return FolderJobStatusTexts(request);
    default:
        return std::nullopt;
    }
}

std::optional<StatusTexts> FolderJobStatusTexts(const OperationRequest& request)
{
    const auto text = [](const char* source, const std::string& insert1, const std::string& insert2 = {}) {
        return QCoreApplication::translate("FolderJob", source)
            .arg(QString::fromStdString(insert1), QString::fromStdString(insert2))
            .toStdString();
    };
    const auto one = [](const char* source, const std::string& insert) {
        return QCoreApplication::translate("FolderJob", source).arg(QString::fromStdString(insert)).toStdString();
    };
    const std::string& folder = request.file;
    switch (request.kind) {
    case OperationKind::FolderDownload:
        return StatusTexts{one("Downloading folder %1", folder),
                           text("Downloading folder %1 from %2", folder, request.sourceServer)};
    case OperationKind::FolderUpload:
        return StatusTexts{one("Uploading folder %1", folder),
                           text("Uploading folder %1 to %2", folder, request.targetServer)};
    case OperationKind::FolderTransfer:
        return StatusTexts{one("Copying folder %1", folder),
                           text("Copying folder %1 to %2", folder, request.targetServer)};
    case OperationKind::FolderDelete:
        return StatusTexts{one("Deleting folder %1", folder),
                           text("Deleting folder %1 from %2", folder, request.sourceServer)};
    default:
        return std::nullopt;
    }
}

StatusTexts ForegroundDownloadTexts(const OperationRequest& request)
{
    const std::string name = RemoteNameOf(request.file);
    return {FillMarkers("Downloading %s", name), FillMarkers("Downloading '%s' from %s", name, request.sourceServer)};
}

StatusTexts ForegroundUploadTexts(const OperationRequest& request)
{
    const std::string name = RemoteNameOf(request.file);
    return {FillMarkers("Uploading %s", name), FillMarkers("Uploading %s to %s", name, request.targetServer)};
}
