// The same-connection retry: when a server refused a worker's extra login with 421 and the user
// agreed, the request runs in the foreground over the connection the user browses with.
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
// transfer as a foreground download. Returns the transfer's result; 0 when there was no request.
int RunOnSameConnection(std::uint32_t operationId);

// Run on the calling (user-interface) thread, holding the browsing connection's busy flag, with a
// status row and the operation count for a random id. A transfer is downloaded into a temporary
// file and, once complete, uploaded by a background operation of its own.
int ForegroundDownload(OperationRequest request);
int ForegroundUpload(const OperationRequest& request);

// A new empty file "ftp" + a unique part + ".TMP" in the temporary folder, made atomically with
// mode 0600; empty when it could not be made.
std::string CreateTransferTemporaryFile();
