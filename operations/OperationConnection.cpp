#include "OperationConnection.h"

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
    connection->SetTimeout(timeoutSeconds);
    connection->SetListingLimit(ProgramSettings().maxListing);
    return connection;
}

int LoginWith(QorFtpConnection& connection, const ServerRecord& record)
{
    return connection.Login(record.address, record.userName, record.password, static_cast<unsigned int>(record.port),
                            record.account);
}
