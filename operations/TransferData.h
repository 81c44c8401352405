// The reader of transfer data (Paste, a drop on the file list, a drop on the folder tree): turns
// the files and folders a data object carries into operations, one per file or folder.
#pragma once

#include "OperationRequest.h"
#include "TransferList.h"
#include "listing/TreePaths.h"

#include <string>
#include <vector>

class QMimeData;

enum DropEffect : int { DropCopy = 1, DropMove = 2 };

struct TransferPlan {
    std::vector<OperationRequest> requests;
    std::vector<std::string> refusedNames; // names that cannot be local files (see LocalNames.h)
    std::vector<std::string> intoItself; // folders that would be copied onto or into themselves
};

// A TransferList path that names a folder: it ends with '/'.
bool IsFolderEntry(const std::string& path);

// The requests for a TransferList: into a local folder (`targetServer` is kMyComputer) a Download
// to the folder plus the name after the path's last '/', onto a server a Transfer to the folder
// plus '/' when missing plus the name. A folder entry becomes a FolderDownload or FolderTransfer
// of the whole folder, except onto the same server's folder itself or a folder inside it. A name
// that would leave the target folder is refused.
TransferPlan PlanTransferList(const TransferListBlock& block, const std::string& targetServer,
                              const std::string& targetFolder);

// The uploads of dropped local files onto a server folder: an Upload per file, a FolderUpload per
// folder (its whole tree); anything else (a missing path, a device) is left out.
std::vector<OperationRequest> PlanLocalUploads(const std::vector<std::string>& localPaths,
                                               const std::string& targetServer, const std::string& targetFolder);

// Executes `data` towards `targetServer` (a server name or kMyComputer) and `targetFolder`, both
// already resolved by the caller. Local files come first: copied or moved (`dropEffect`) into a
// local folder, uploaded to a server; otherwise a TransferList starts one operation per file or
// folder. A damaged TransferList, refused names and folders refused as copies into themselves are
// reported. Returns the number of operations started or items copied, or -1 when the data offers
// neither format (Paste then says kNoFilesToPaste). User-interface thread.
int ExecuteTransferData(const QMimeData& data, int dropEffect, const std::string& targetServer,
                        const std::string& targetFolder);
