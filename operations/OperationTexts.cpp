#include "OperationTexts.h"

#include <QCoreApplication>

std::string OperationText::Tr(const char* text)
{
    return QCoreApplication::translate("OperationText", text).toStdString();
}

namespace {
// A status row's format ("%s" markers) in the user's language.
std::string Row(const char* format)
{
    return OperationText::Tr(format);
}
} // namespace

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
        return StatusTexts{
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Uploading %s")), file),
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Uploading %s to %s")), file, request.targetServer)};
    case OperationKind::Download:
        return StatusTexts{
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Downloading %s")), file),
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Downloading %s from %s")), file, request.sourceServer)};
    case OperationKind::Transfer:
        return StatusTexts{
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Transfering %s")), file),
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Transfering %s to %s")), file, request.targetServer)};
    case OperationKind::View:
        return StatusTexts{FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "View %s")), file),
                           FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Retrieving %s from %s for Viewing")),
                                       file, request.sourceServer)};
    case OperationKind::ChangeMode:
        return StatusTexts{FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "ChMod %s")), file),
                           FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Changing %s's permissions")), file)};
    case OperationKind::Delete:
        return StatusTexts{
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Deleting %s")), file),
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Deleting %s from %s")), file, request.sourceServer)};
    case OperationKind::UploadAppend:
    case OperationKind::DownloadAppend:
        return StatusTexts{
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Appending %s")), file),
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Appending %s to %s")), file, request.targetFile)};
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
        return StatusTexts{
            one(QT_TRANSLATE_NOOP("FolderJob", "Downloading folder %1"), folder),
            text(QT_TRANSLATE_NOOP("FolderJob", "Downloading folder %1 from %2"), folder, request.sourceServer)};
    case OperationKind::FolderUpload:
        return StatusTexts{
            one(QT_TRANSLATE_NOOP("FolderJob", "Uploading folder %1"), folder),
            text(QT_TRANSLATE_NOOP("FolderJob", "Uploading folder %1 to %2"), folder, request.targetServer)};
    case OperationKind::FolderTransfer:
        return StatusTexts{
            one(QT_TRANSLATE_NOOP("FolderJob", "Copying folder %1"), folder),
            text(QT_TRANSLATE_NOOP("FolderJob", "Copying folder %1 to %2"), folder, request.targetServer)};
    case OperationKind::FolderDelete:
        return StatusTexts{
            one(QT_TRANSLATE_NOOP("FolderJob", "Deleting folder %1"), folder),
            text(QT_TRANSLATE_NOOP("FolderJob", "Deleting folder %1 from %2"), folder, request.sourceServer)};
    default:
        return std::nullopt;
    }
}

StatusTexts ForegroundDownloadTexts(const OperationRequest& request)
{
    const std::string name = RemoteNameOf(request.file);
    return {
        FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Downloading %s")), name),
        FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Downloading '%s' from %s")), name, request.sourceServer)};
}

StatusTexts ForegroundUploadTexts(const OperationRequest& request)
{
    const std::string name = RemoteNameOf(request.file);
    return {FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Uploading %s")), name),
            FillMarkers(Row(QT_TRANSLATE_NOOP("OperationText", "Uploading %s to %s")), name, request.targetServer)};
}
