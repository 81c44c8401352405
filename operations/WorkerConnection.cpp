#include "WorkerConnection.h"

#include "OperationConnection.h"
#include "OperationLists.h"

#include "QorFtp.h"

WorkerConnection::WorkerConnection(std::uint32_t operationId, const ServerRecord& record, int timeoutSeconds,
                                   bool named)
    : m_operationId(operationId)
    , m_connection(NewConnection(record, timeoutSeconds))
{
    if (named && m_operationId != 0)
        OperationStatusList.SetStatusConnection(m_operationId, m_connection.get());
}

WorkerConnection::~WorkerConnection()
{
    Release();
}

WorkerConnection::WorkerConnection(WorkerConnection&& other) noexcept
    : m_operationId(other.m_operationId)
    , m_connection(std::move(other.m_connection))
{
}

WorkerConnection& WorkerConnection::operator=(WorkerConnection&& other) noexcept
{
    if (this != &other) {
        Release();
        m_operationId = other.m_operationId;
        m_connection = std::move(other.m_connection);
    }
    return *this;
}

void WorkerConnection::Release()
{
    if (!m_connection)
        return;
    if (m_operationId != 0)
        OperationStatusList.RemoveStatusEntryNaming(m_operationId, m_connection.get());
    m_connection.reset();
}

void WorkerConnection::CloseAndRelease()
{
    if (!m_connection)
        return;
    m_connection->Close();
    Release();
}
