// Sessions that outlast the server's idle time-out: a browsing connection the server closed is
// logged in again on the next listing, and keep-alive commands (an option) hold an idle one open.
#include "tree/CPathView.h"

#include "dialogs/FileIcons.h"
#include "operations/Executor.h"
#include "operations/OperationConnection.h"
#include "operations/OperationHost.h"
#include "operations/OperationIds.h"
#include "operations/OperationLists.h"
#include "servers/ServerMap.h"
#include "settings/Settings.h"
#include "tree/ConnectionList.h"

#include "QorFtp.h"

#include <QInputDialog>
#include <QMainWindow>
#include <QStandardItem>
#include <QStatusBar>

namespace {

bool IsAnonymous(const std::string& user)
{
    return user.empty() || QString::fromStdString(user).compare(QStringLiteral("anonymous"), Qt::CaseInsensitive) == 0;
}

} // namespace

void CPathView::ShowStatus(const QString& text)
{
    if (auto* window = qobject_cast<QMainWindow*>(this->window()))
        window->statusBar()->showMessage(text);
}

void CPathView::ShowLost(const QString& server)
{
    QStandardItem* item = ItemOf(ServerIndex(server));
    if (!item || item->data(LostRole).toBool())
        return;
    // The connected computer, greyed: still listed with its folders, but not connected this moment.
    const QIcon connected = FileIcons::ConnectedComputer();
    QIcon lost;
    for (const QSize& size : connected.availableSizes())
        lost.addPixmap(connected.pixmap(size, QIcon::Disabled));
    item->setIcon(lost.isNull() ? FileIcons::Computer() : lost);
    item->setData(true, LostRole);
    item->setToolTip(tr("The server closed the connection; it is opened again when you next use this server."));
}

void CPathView::Reconnect(RemoteJob job)
{
    const QString server = job.server;
    ServerRecord record;
    if (!GetServerRecord(server.toStdString(), record)) {
        Disconnect(server);
        return;
    }
    // No other listing starts while the login runs (nor while the password is asked).
    m_remoteRunning = true;
    // A password that was not kept is asked for again, and kept no longer than this login.
    if (record.password.empty() && !IsAnonymous(record.userName)) {
        bool given = false;
        const QString password = QInputDialog::getText(
            this, tr("Reconnecting"), tr("Password for %1 on %2:").arg(QString::fromStdString(record.userName), server),
            QLineEdit::Password, {}, &given);
        if (!given) {
            m_remoteRunning = false;
            Disconnect(server);
            RunNextRemote();
            return;
        }
        record.password = password.toStdString();
    }
    ShowLost(server);
    ShowStatus(tr("Reconnecting to %1").arg(server));

    const std::shared_ptr<QorFtpConnection> fresh = NewBrowsingConnection(record);
    const std::uint32_t operationId = NewOperationId();
    OperationStatus status;
    status.operationId = operationId;
    status.title = tr("Reconnecting to %1").arg(server).toStdString();
    status.description = status.title;
    OperationStatusList.Append(std::move(status));
    GetOperationHost().OperationCount(true, operationId);
    m_jobs->Run<bool>(
        [fresh, record, operationId] {
            // The running-operations window's Cancel reaches the login through the connection.
            OperationStatusList.SetStatusConnection(operationId, fresh.get());
            if (!LoginWith(*fresh, record))
                return false;
            std::string directory;
            fresh->GetCurrentFtpDirectory(directory);
            return true;
        },
        [this, job = std::move(job), operationId, fresh](bool& loggedIn) {
            ReconnectDone(job, operationId, fresh, loggedIn);
        });
}

void CPathView::ReconnectDone(RemoteJob job, std::uint32_t operationId, const std::shared_ptr<QorFtpConnection>& fresh,
                              bool loggedIn)
{
    OperationStatusList.RemoveStatusEntry(operationId);
    GetOperationHost().OperationCount(false, operationId);
    m_remoteRunning = false;
    ShowStatus(QString());
    const std::string name = job.server.toStdString();
    // Disconnected by the user meanwhile: the new connection goes unused.
    if (!ConnectionList.IsConnected(name)) {
        RunNextRemote();
        return;
    }
    if (!loggedIn) {
        Disconnect(job.server);
        RunNextRemote();
        return;
    }
    const std::shared_ptr<QorFtpConnection> lost = ConnectionList.ReplaceConnection(name, fresh);
    if (lost && lost.get() == m_pConnection)
        SetCurrentConnection(fresh.get());
    if (QStandardItem* item = ItemOf(ServerIndex(job.server))) {
        item->setData(false, LostRole);
        ShowEncryption(item, fresh->EncryptionDescription());
    }
    m_lastNoop.erase(job.server);
    // A refresh goes back into its folder the way opening it does, so that a folder removed
    // meanwhile gives way to its nearest parent.
    if (job.fillList && !job.request.changeDirectory && !job.request.directory.empty()) {
        job.request.changeDirectory = true;
        job.request.changeTo = std::move(job.request.directory);
        job.request.directory.clear();
    }
    job.reconnected = true;
    m_remoteQueue.push_front(std::move(job));
    RunNextRemote();
}

void CPathView::KeepAliveTick()
{
    const auto now = std::chrono::steady_clock::now();
    // Another call uses a connection: none is looked at nor sent anything until it ends.
    if (m_remoteRunning)
        return;
    const AppSettings settings = ProgramSettings();
    for (const std::string& name : ConnectionList.ServerNames()) {
        const QString server = QString::fromStdString(name);
        const std::optional<ConnectionEntry> entry = ConnectionList.EntryOf(name);
        if (!entry || entry->busy || entry->listing)
            continue;
        if (IsKnownLost(*entry->connection)) {
            ShowLost(server);
            continue;
        }
        if (!settings.keepAlive)
            continue;
        const auto used = m_lastUsed.try_emplace(server, now).first->second;
        // A window left alone does not hold a server's connection slot for ever.
        if (now - used >= m_keepAliveIdleLimit)
            continue;
        const auto noop = m_lastNoop.find(server);
        const auto since = noop == m_lastNoop.end() ? used : std::max(used, noop->second);
        if (now - since < std::chrono::seconds(settings.keepAliveSeconds))
            continue;
        m_lastNoop[server] = now;
        m_remoteRunning = true;
        ConnectionList.SetListing(name, true);
        const std::shared_ptr<QorFtpConnection> connection = entry->connection;
        m_jobs->Run<int>(
            [connection] {
                // A lost connection is told by the icon and mended by the next use, not by a message.
                connection->SetShowError(0);
                const int sent = connection->SendRaw("NOOP", 1);
                connection->SetShowError(1);
                return sent;
            },
            [this, name, connection](int& sent) {
                ConnectionList.SetListing(name, false);
                m_remoteRunning = false;
                if (!sent || IsKnownLost(*connection))
                    ShowLost(QString::fromStdString(name));
                RunNextRemote();
            });
        return; // one at a time: each goes through the same worker
    }
}
