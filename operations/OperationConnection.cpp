#include "OperationConnection.h"

#include "servers/ServerStore.h"
#include "settings/Settings.h"

#include "QorFtp.h"

#include <mutex>

namespace {

std::mutex factoryLock;
ConnectionFactory& InstalledFactory()
{
    static ConnectionFactory factory;
    return factory;
}

} // namespace

void SetConnectionFactory(ConnectionFactory factory)
{
    std::lock_guard<std::mutex> guard(factoryLock);
    InstalledFactory() = std::move(factory);
}

std::unique_ptr<QorFtpConnection> NewConnection(const ServerRecord& record, int timeoutSeconds)
{
    ConnectionFactory factory;
    {
        std::lock_guard<std::mutex> guard(factoryLock);
        factory = InstalledFactory();
    }
    std::unique_ptr<QorFtpConnection> connection = factory ? factory() : std::make_unique<QorFtpConnection>();
    connection->SetPassive(record.passive);
    PrepareEncryption(*connection, record);
    connection->SetTimeout(timeoutSeconds);
    connection->SetListingLimit(ProgramSettings().maxListing);
    return connection;
}

void PrepareEncryption(QorFtpConnection& connection, const ServerRecord& record)
{
    connection.SetEncryption(static_cast<QorFtpEncryption>(record.encryption));
    connection.SetTrustedFingerprint(record.trustedFingerprint);
}

int LoginWith(QorFtpConnection& connection, const ServerRecord& record)
{
    // A script's connection is made before it knows its server, and serves one server after another.
    PrepareEncryption(connection, record);
    // Some servers' MLSD is broken; the user may keep to LIST.
    connection.SetUseMlsd(ProgramSettings().useMlsd);
    const int result = connection.Login(record.address, record.userName, record.password,
                                        static_cast<unsigned int>(record.port), record.account);
    if (result)
        RememberTrustedCertificate(connection, record);
    return result;
}

void RememberTrustedCertificate(const QorFtpConnection& connection, const ServerRecord& record)
{
    const std::string fingerprint = connection.NewlyTrustedFingerprint();
    if (!fingerprint.empty() && fingerprint != record.trustedFingerprint)
        SaveTrustedFingerprint(record.name, fingerprint);
}
