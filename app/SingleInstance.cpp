#include "app/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
const QString kOpenPrefix = QStringLiteral("[open(\"");
constexpr qint64 kLongestRequest = 64 * 1024;
} // namespace

std::optional<QString> ParseShellOpenRequest(const QString& request)
{
    if (!request.startsWith(kOpenPrefix))
        return std::nullopt;
    const qsizetype end = request.indexOf(u'"', kOpenPrefix.size());
    if (end < 0)
        return std::nullopt;
    return request.mid(kOpenPrefix.size(), end - kOpenPrefix.size());
}

QString ShellOpenRequest(const QString& path)
{
    return kOpenPrefix + path + QStringLiteral("\")]");
}

QString SingleInstance::DefaultServerName()
{
    return QStringLiteral("tarvo-%1").arg(::getuid());
}

SingleInstance::SingleInstance(const QString& serverName, QObject* parent)
    : QObject(parent)
    , m_serverName(serverName)
{
}

bool SingleInstance::HandOver(const QString& request, int timeoutMilliseconds) const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMilliseconds))
        return false;
    socket.write(request.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMilliseconds))
        return false;
    // The running instance closes the connection once it has the whole line.
    socket.waitForDisconnected(timeoutMilliseconds);
    return true;
}

bool SingleInstance::Listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_serverName)) {
        // A socket file left by an instance that crashed: nobody answered HandOver on it.
        QLocalServer::removeServer(m_serverName);
        if (!m_server->listen(m_serverName))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (!client->canReadLine()) {
                    if (client->bytesAvailable() > kLongestRequest)
                        client->abort();
                    return;
                }
                const QString request = QString::fromUtf8(client->readLine()).chopped(1);
                client->disconnectFromServer();
                emit RequestReceived(request);
            });
        }
    });
    return true;
}
