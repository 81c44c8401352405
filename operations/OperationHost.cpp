// Without a main window nothing counts operations or retries them, and no server has a browsing
// connection: the same-connection retry then finds every server busy.
#include "OperationHost.h"

#include "Installed.h"

namespace {

class SilentHost : public OperationHost {
public:
    void OperationCount(bool, std::uint32_t) override { }
    void RetrySameConnection(unsigned long, std::uint32_t) override { }
    void OpenLocalFile(const std::string&, const std::string&) override { }
};

class NoBrowsingConnections : public BrowsingConnections {
public:
    int IsConnectionBusy(const std::string&) override { return 1; }
    void SetConnectionBusy(const std::string&, int) override { }
    QorFtpConnection* FindBrowsingConnection(const std::string&) override { return nullptr; }
};

SilentHost silentHost;
NoBrowsingConnections noBrowsingConnections;
Installed<OperationHost> installedHost(silentHost);
Installed<BrowsingConnections> installedConnections(noBrowsingConnections);

} // namespace

void SetOperationHost(OperationHost* host)
{
    installedHost.Set(host);
}

OperationHost& GetOperationHost()
{
    return installedHost.Get();
}

void SetBrowsingConnections(BrowsingConnections* connections)
{
    installedConnections.Set(connections);
}

BrowsingConnections& GetBrowsingConnections()
{
    return installedConnections.Get();
}
