// What the operations need of the rest of the program: the main window's operation count, the
// same-connection retry on the user-interface thread, opening a viewed file, and the browsing
// connections of the folder tree.
#pragma once

#include <cstdint>
#include <string>

class QorFtpConnection;

class OperationHost {
public:
    virtual ~OperationHost() = default;
    // WM_OPERATION_COUNT: an operation started (true) or ended. Returns once the window is updated.
    virtual void OperationCount(bool started, std::uint32_t operationId) = 0;
    // WM_RETRY_SAME_CONNECTION: posted; returns at once.
    virtual void RetrySameConnection(unsigned long errorCode, std::uint32_t operationId) = 0;
    // Opens a downloaded file with its associated program (View).
    virtual void OpenLocalFile(const std::string& folder, const std::string& name) = 0;
};

// The browsing connections, one per connected server (the folder tree's ConnectionList).
class BrowsingConnections {
public:
    virtual ~BrowsingConnections() = default;
    // 1 when the server's connection is busy or when the server has none.
    virtual int IsConnectionBusy(const std::string& serverName) = 0;
    virtual void SetConnectionBusy(const std::string& serverName, int busy) = 0;
    virtual QorFtpConnection* FindBrowsingConnection(const std::string& serverName) = 0;
};

void SetOperationHost(OperationHost* host);
OperationHost& GetOperationHost();
void SetBrowsingConnections(BrowsingConnections* connections);
BrowsingConnections& GetBrowsingConnections();
