// One background operation as the file list, a drop or a script step describes it.
#pragma once

#include <cstdint>
#include <string>

enum OperationKind : int {
    Upload = 0,
    Download = 1,
    Transfer = 2,
    View = 3,
    ChangeMode = 4,
    Delete = 7,
    AppendTransfer = 8,
    UploadAppend = 9,
    DownloadAppend = 10,
    ScriptOpen = 11,
    ScriptClose = 12,
    // Folder jobs: a whole tree in one operation (one status row, one cancel).
    FolderDownload = 13, // sourceServer; file = remote folder; localPath = local folder to create or merge into
    FolderUpload = 14, // targetServer; file = local folder; targetFile = remote folder to create or merge into
    FolderTransfer = 15, // sourceServer, targetServer; file = remote folder; targetFile = folder on targetServer
    FolderDelete = 16, // sourceServer; file = remote folder to delete with everything in it
};

inline bool IsFolderJob(int kind)
{
    return kind >= FolderDownload && kind <= FolderDelete;
}

struct OperationRequest {
    std::uint32_t operationId = 0;
    std::string sourceServer;
    std::string targetServer;
    std::string localPath;
    std::string file;
    std::string targetFile;
    std::string fileMode;
    int kind = Upload;

    bool operator==(const OperationRequest&) const = default;
};
