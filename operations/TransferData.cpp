#include "TransferData.h"

#include "CommandThread.h"
#include "Interaction.h"
#include "LocalFiles.h"
#include "LocalNames.h"
#include "OperationTexts.h"
#include "servers/ServerMap.h"

#include <QFileInfo>
#include <QMimeData>

TransferPlan PlanTransferList(const TransferListBlock& block, const std::string& targetServer,
                              const std::string& targetFolder)
{
    TransferPlan plan;
    const bool local = targetServer == kMyComputer;
    for (const std::string& path : block.paths) {
        const std::string name = RemoteNameOf(path);
        // Onto a server the name is checked too: "", "." and ".." name no file there either.
        if (!IsSafeLocalName(name)) {
            plan.refusedNames.push_back(name);
            continue;
        }
        OperationRequest request;
        request.sourceServer = block.server;
        request.file = path;
        if (local) {
            request.kind = OperationKind::Download;
            request.localPath = *LocalTargetPath(targetFolder, name);
        } else {
            request.kind = OperationKind::Transfer;
            request.targetServer = targetServer;
            request.targetFile = RemoteFilePath(targetFolder, name);
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
        const QFileInfo info(QFile::decodeName(path.c_str()));
        if (!info.isFile())
            continue;
        OperationRequest request;
        request.kind = OperationKind::Upload;
        request.targetServer = targetServer;
        request.file = path;
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
        // Said once for all of them, so that no folder is left behind unnoticed.
        std::string folders;
        for (const std::string& path : localFiles) {
            if (QFileInfo(QFile::decodeName(path.c_str())).isDir())
                folders += (folders.empty() ? "" : "\n") + path;
        }
        if (!folders.empty())
            GetInteraction().ShowMessage(FillInsert(OperationText::kFoldersNotUploaded, folders),
                                         MessageIcon::Information);
        return started;
    }
    if (!data.hasFormat(QString::fromLatin1(kTransferListMimeType)))
        return -1;

    const std::optional<TransferListBlock> block
        = ReadTransferList(data.data(QString::fromLatin1(kTransferListMimeType)));
    if (!block) {
        GetInteraction().ShowMessage(OperationText::kDamagedTransferData, MessageIcon::Error);
        return 0;
    }
    // Files of a server deleted since they were copied: one message rather than one per file.
    if (!ServerMap.count(block->server)) {
        GetInteraction().ShowMessage(FillInsert(OperationText::kSourceServerGone, block->server), MessageIcon::Error);
        return 0;
    }
    const TransferPlan plan = PlanTransferList(*block, targetServer, targetFolder);
    for (const std::string& name : plan.refusedNames)
        GetInteraction().ShowMessage(UnsafeNameMessage(name), MessageIcon::Warning);
    int started = 0;
    for (const OperationRequest& request : plan.requests)
        started += StartOperation(request);
    return started;
}
