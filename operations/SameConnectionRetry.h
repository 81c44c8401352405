// The same-connection retry: when a server refused a worker's extra login with 421 and the user
// agreed, the request runs over the connection the user browses with, which it holds meanwhile.
#pragma once

#include "OperationRequest.h"

#include <cstdint>
#include <string>

// The user-interface thread's handling of OperationHost::RetrySameConnection
// (WM_RETRY_SAME_CONNECTION): 421 runs the pending request (RunOnSameConnection), any other code
// only drops it from PendingRequestList.
void RetrySameConnectionReceived(unsigned long errorCode, std::uint32_t operationId);

// WM_RUN_ON_SAME_CONNECTION: takes the request out of PendingRequestList and runs it over the
// browsing connection of its server: an upload as a foreground upload, a download, view or
// transfer as a foreground download. Returns at once; the transfer goes on as a job (below).
void RunOnSameConnection(std::uint32_t operationId);

// Called on the user-interface thread, which checks and sets the browsing connection's busy flag
// and adds the status row and the operation count for a random id. The questions and the
// transfer then run as a job of the program's executor, which holds the busy flag until it ends;
// the library's progress window and every question reach the user-interface thread as they do
// for background operations. A transfer is downloaded into a temporary file and, once complete,
// uploaded by a background operation of its own, started back on the user-interface thread.
void ForegroundDownload(OperationRequest request);
void ForegroundUpload(const OperationRequest& request);
// A folder job over the browsing connection of the server it reads (of the server it writes for
// an upload), with no further connection to that server; questions and the list of failures as
// for a background job.
void ForegroundFolderJob(const OperationRequest& request);

// A new empty file "ftp" + a unique part + ".TMP" in the temporary folder, made atomically with
// mode 0600; empty when it could not be made.
std::string CreateTransferTemporaryFile();
