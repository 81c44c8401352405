// Folder jobs: a whole tree downloaded, uploaded, copied between servers or deleted as one
// background operation (one status row, one cancel). The tree is walked first, so the totals
// are known before anything is written; then the files go through a few logged-in connections
// per server at once, each taking the next file from a shared queue.
#pragma once

#include "OperationLists.h"
#include "OperationRequest.h"
#include "servers/ServerRecord.h"

#include <memory>
#include <string>

class QorFtpConnection;

struct FolderJobSetup {
    OperationRequest request; // kind 13 to 16
    std::uint32_t operationId = 0; // its status row; 0 for none (script steps)
    ServerRecord sourceRecord; // the server walked: downloads, copies and deletes
    ServerRecord targetRecord; // the server written to: uploads and copies
    CancelFlag cancelled; // the row's; may be null
    std::shared_ptr<JobProgress> progress; // the row's; may be null
    int timeoutSeconds = 60;
    int connectionsPerServer = 2; // ParallelTransfers, 1 to 10
    // A logged-in connection lent to the job as its first one (the source's; the target's for an
    // upload): the script's, or the browsing connection after the server refused another login.
    QorFtpConnection* firstConnection = nullptr;
    // A script step: existing targets are overwritten without a question.
    bool script = false;
};

// Runs the job to its end on the calling thread (further connections run on the program's
// executor). Nonzero when every file (and, for a delete, every folder) was done; the files that
// failed are shown once at the end, each with its reason. When the job's own first login (the
// source's; the target's for an upload) fails, `firstLoginError` gets the connection's error
// (421: the server allows no more sessions).
int RunFolderJob(const FolderJobSetup& setup, unsigned long* firstLoginError = nullptr);

// Whether the server has a folder at `path`: the connection can change into it. The connection
// is back in its folder afterwards, and nothing is shown for a path that is not a folder.
// `absolute` gets the folder's full path.
bool IsRemoteFolder(QorFtpConnection& connection, const std::string& path, std::string* absolute = nullptr);

// Whether the remote `path` is `folder` or lies inside it ("/a/b" is inside "/a", "/ab" is not).
bool IsSameOrInside(const std::string& path, const std::string& folder);

// A name from a listing that may be joined to a path, locally or on a server: not empty, ".",
// "..", and without '/', NUL, CR or LF.
bool IsSafeEntryName(const std::string& name);
