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
};

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
