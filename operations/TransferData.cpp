#include "TransferData.h"

#include "CommandThread.h"
#include "FolderJob.h"
#include "Interaction.h"
#include "LocalFiles.h"
#include "LocalNames.h"
#include "OperationTexts.h"
#include "servers/ServerMap.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMimeData>

namespace {

// `path` without the '/' at its end, except for the root itself.
std::string WithoutEndSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string Tr(const char* text)
{
    return QCoreApplication::translate("TransferData", text).toStdString();
}

} // namespace

bool IsFolderEntry(const std::string& path)
{
    return path.size() > 1 && path.back() == '/';
}

TransferPlan PlanTransferList(const TransferListBlock& block, const std::string& targetServer,
                              const std::string& targetFolder)
{
    TransferPlan plan;
    const bool local = targetServer == kMyComputer;
    for (const std::string& entry : block.paths) {
        const bool folder = IsFolderEntry(entry);
        const std::string path = folder ? WithoutEndSlash(entry) : entry;
        const std::string name = RemoteNameOf(path);
        // Onto a server the name is checked too: "", "." and ".." name no file there either.
        if (!IsSafeLocalName(name)) {
            plan.refusedNames.push_back(name);
            continue;
        }
        // A folder copied onto itself, or into itself, would never end, or replace what it reads.
        const std::string target = RemoteFilePath(targetFolder, name);
        if (folder && !local && targetServer == block.server
            && (target == path || IsSameOrInside(targetFolder, path))) {
            plan.intoItself.push_back(path);
            continue;
        }
        OperationRequest request;
        request.sourceServer = block.server;
        request.file = path;
        if (local) {
            request.kind = folder ? OperationKind::FolderDownload : OperationKind::Download;
            request.localPath = *LocalTargetPath(targetFolder, name);
        } else {
            request.kind = folder ? OperationKind::FolderTransfer : OperationKind::Transfer;
            request.targetServer = targetServer;
            request.targetFile = target;
        }
        plan.requests.push_back(std::move(request));
    }
    return plan;
}

std::vector<OperationRequest> PlanLocalUploads(const std::vector<std::string>& localPaths,
                                               const std::string& targetServer, const std::string& targetFolder)
{
    std::vector<OperationRequest> requests;
    for (const std::string& path : localPaths) {
        const QFileInfo info(QFile::decodeName(WithoutEndSlash(path).c_str()));
        if (!info.isFile() && !info.isDir())
            continue;
        OperationRequest request;
        request.kind = info.isDir() ? OperationKind::FolderUpload : OperationKind::Upload;
        request.targetServer = targetServer;
        request.file = WithoutEndSlash(path);
        request.targetFile = RemoteFilePath(targetFolder, QFile::encodeName(info.fileName()).toStdString());
        requests.push_back(std::move(request));
    }
    return requests;
}

int ExecuteTransferData(const QMimeData& data, int dropEffect, const std::string& targetServer,
                        const std::string& targetFolder)
{
    const std::vector<std::string> localFiles = LocalFilesOf(data);
    if (!localFiles.empty()) {
        if (targetServer == kMyComputer)
            return CopyOrMoveLocalFiles(localFiles, targetFolder, dropEffect != DropCopy);
        int started = 0;
        for (const OperationRequest& request : PlanLocalUploads(localFiles, targetServer, targetFolder))
            started += StartOperation(request);
        return started;
    }
    if (!data.hasFormat(QString::fromLatin1(kTransferListMimeType)))
        return -1;

    const std::optional<TransferListBlock> block
        = ReadTransferList(data.data(QString::fromLatin1(kTransferListMimeType)));
    if (!block) {
        GetInteraction().ShowMessage(OperationText::Tr(OperationText::kDamagedTransferData), MessageIcon::Error);
        return 0;
    }
    // Files of a server deleted since they were copied: one message rather than one per file.
    if (!ServerMap.count(block->server)) {
        GetInteraction().ShowMessage(FillInsert(OperationText::Tr(OperationText::kSourceServerGone), block->server),
                                     MessageIcon::Error);
        return 0;
    }
    const TransferPlan plan = PlanTransferList(*block, targetServer, targetFolder);
    for (const std::string& name : plan.refusedNames)
        GetInteraction().ShowMessage(UnsafeNameMessage(name), MessageIcon::Warning);
    for (const std::string& folder : plan.intoItself)
        GetInteraction().ShowMessage(
            FillInsert(Tr(QT_TRANSLATE_NOOP(
                           "TransferData", "The folder '%1' cannot be copied onto itself or into a folder inside it.")),
                       folder),
            MessageIcon::Warning);
    int started = 0;
    for (const OperationRequest& request : plan.requests)
        started += StartOperation(request);
    return started;
}
