// Connecting, connection completed, disconnecting, and closing every connection when the tree
// goes.
#include "tree/CPathView.h"

#include "dialogs/ServerPropertySheet.h"

#include "dialogs/ConnectDialog.h"
#include "dialogs/FileIcons.h"
#include "operations/OperationConnection.h"
#include "operations/OperationHost.h"
#include "operations/OperationIds.h"
#include "operations/OperationLists.h"
#include "servers/CConnectThread.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "settings/Settings.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"

#include "QorFtp.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// A small padlock, drawn when the icon theme has no lock emblem.
QPixmap DrawnLock(int size, const QColor& colour)
{
    QPixmap lock(size, size);
    lock.fill(Qt::transparent);
    QPainter painter(&lock);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 8.0;
    QPen shackle(colour, unit);
    painter.setPen(shackle);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(2 * unit, 0.5 * unit, 4 * unit, 5 * unit), 0, 180 * 16);
    painter.drawLine(QPointF(2 * unit, 3 * unit), QPointF(2 * unit, 4 * unit));
    painter.drawLine(QPointF(6 * unit, 3 * unit), QPointF(6 * unit, 4 * unit));
    painter.setPen(QPen(Qt::white, unit / 2));
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(1 * unit, 3.5 * unit, 6 * unit, 4.25 * unit), unit, unit);
    return lock;
}

// The connected computer with a lock in its lower right quarter.
QIcon LockedComputer()
{
    static const QIcon locked = [] {
        const QIcon base = FileIcons::ConnectedComputer();
        const QIcon emblem
            = QIcon::fromTheme(QStringLiteral("emblem-locked"), QIcon::fromTheme(QStringLiteral("security-high")));
        QIcon result;
        for (const int size : {16, 22, 24, 32, 48}) {
            QPixmap picture = base.pixmap(size, size);
            if (picture.isNull())
                continue;
            QPainter painter(&picture);
            const int lockSize = std::max(8, size / 2 + 1);
            const QRect corner(picture.width() / picture.devicePixelRatio() - lockSize,
                               picture.height() / picture.devicePixelRatio() - lockSize, lockSize, lockSize);
            const QPixmap lock
                = emblem.isNull() ? DrawnLock(lockSize, QColor(0xc8, 0x8a, 0x00)) : emblem.pixmap(lockSize, lockSize);
            painter.drawPixmap(corner, lock);
            painter.end();
            result.addPixmap(picture);
        }
        return result;
    }();
    return locked;
}

} // namespace

CPathView::~CPathView()
{
    // No result may come back into a tree that is going, and no sheet may call it.
    SetServerSheetHooks({});
    m_jobs->Target()->Detach();
    if (m_listingConnection)
        m_listingConnection->CancelOperation();
    m_listingConnection.reset();
    while (std::optional<ConnectionEntry> entry = ConnectionList.TakeFirst()) {
        SaveDuration(entry->serverName, entry->connectedAt);
    }
    SetBrowsingConnections(nullptr);
    m_jobs.reset();
}

void CPathView::OnNewConnection()
{
    Connect();
}

void CPathView::OnConnect()
{
    const QModelIndex selection = currentIndex();
    if (IsServerNode(selection))
        m_strServer = selection.data().toString();
    Connect();
}

void CPathView::Connect()
{
    CConnectDlg dialog(
        m_strServer, [](const std::string& name) { return ConnectionList.IsConnected(name); }, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    StartConnect(dialog.Record());
}

void CPathView::StartConnect(const ServerRecord& record)
{
    std::shared_ptr<QorFtpConnection> connection = MakeBrowsingConnection();
    const AppSettings settings = ProgramSettings();
    connection->SetTimeout(settings.timeoutSeconds);
    connection->SetListingLimit(settings.maxListing);
    connection->SetPassive(record.passive);
    PrepareEncryption(*connection, record);
    SocketHandOffMap.Create(connection.get());

    const std::uint32_t operationId = NewOperationId();
    OperationStatus status;
    status.operationId = operationId;
    status.title = "Connecting to " + record.name;
    status.description = "Trying to connect to " + record.name;
    OperationStatusList.Append(std::move(status));
    GetOperationHost().OperationCount(true, operationId);

    std::shared_ptr<PostTarget> target = m_jobs->Target();
    auto notify = [this, target](const ServerRecord& server, std::shared_ptr<QorFtpConnection> done) {
        target->Post([this, server, done] { WM_CONNECT_DONE(server, done); });
    };
    CConnectThread::Resume(std::make_unique<CConnectThread>(record, std::move(connection), operationId, notify));
}

void CPathView::WM_CONNECT_DONE(const ServerRecord& server, std::shared_ptr<QorFtpConnection> connection)
{
    const QString name = QString::fromStdString(server.name);
    // Two attempts for one server may both succeed; the server keeps the first connection.
    if (!connection || ConnectionList.IsConnected(server.name)) {
        emit ConnectionCompleted(name, false);
        return;
    }
    if (std::optional<int> handle = SocketHandOffMap.Take(connection.get()))
        connection->AttachSocket(*handle);
    m_strServer = name;
    SetCurrentConnection(connection.get());

    std::string directory = connection->GetCurrentDirectoryA();
    // A server that would not say where the login put us is browsed from its root.
    if (directory.empty())
        directory.push_back('/');
    ConnectionEntry entry;
    entry.connection = connection;
    entry.serverName = server.name;
    entry.startDirectory = directory;
    entry.connectedAt = QDateTime::currentDateTime();
    ConnectionList.Append(std::move(entry));

    QModelIndex serverNode = ServerIndex(name);
    if (serverNode.isValid()) {
        SaveConnectTime(server.name);
    } else {
        ServerRecord stored = server;
        if (const std::string trusted = connection->NewlyTrustedFingerprint(); !trusted.empty())
            stored.trustedFingerprint = trusted;
        SaveNewServer(stored);
        serverNode = InsertServerNode(name);
    }
    QStandardItem* serverItem = ItemOf(serverNode);
    QStandardItem* start = CFolderTreeModel::MakeRemoteNode(directory, FileIcons::Folder(), NODE_PLAIN, true);
    serverItem->appendRow(start);
    ShowEncryption(serverItem, connection->EncryptionDescription());
    serverItem->setData(NODE_SERVER, CFolderTreeModel::NodeDataRole);
    expand(serverNode);

    if (ServerNameOf(currentIndex()) == name) {
        emit ListCleared();
        ListRemote(directory, true, true, start->index());
    }
    emit ConnectionCompleted(name, true);
}

void CPathView::ShowEncryption(QStandardItem* serverItem, const std::string& description)
{
    const bool encrypted = !description.empty();
    serverItem->setIcon(encrypted ? LockedComputer() : FileIcons::ConnectedComputer());
    serverItem->setData(encrypted, EncryptedRole);
    serverItem->setToolTip(encrypted ? tr("Encrypted connection: %1").arg(QString::fromStdString(description))
                                     : tr("This connection is not encrypted: the password and the files pass "
                                          "in clear text."));
    // Read out along with the name, as the lock itself cannot be.
    serverItem->setData(serverItem->text() + QStringLiteral(", ") + (encrypted ? tr("encrypted") : tr("not encrypted")),
                        Qt::AccessibleTextRole);
}

void CPathView::OnDisconnect()
{
    // The command keeps its own rule, whatever state its action shows: a connection that a
    // transfer uses stays open.
    if (!CanDisconnect())
        return;
    Disconnect(ServerNameOf(currentIndex()));
}

bool CPathView::CanDisconnect() const
{
    const std::string server = ServerNameOf(currentIndex()).toStdString();
    return ConnectionList.IsConnected(server) && !ConnectionList.IsTransferBusy(server);
}

void CPathView::Disconnect(const QString& server)
{
    const std::string name = server.toStdString();
    std::vector<ConnectionEntry> closed = ConnectionList.RemoveServer(name);
    if (closed.empty())
        return;
    std::erase_if(m_remoteQueue, [&server](const RemoteJob& job) { return job.server == server; });
    bool wasCurrent = false;
    for (ConnectionEntry& entry : closed) {
        wasCurrent = wasCurrent || entry.connection.get() == m_pConnection;
        // A listing still running on it ends at once; the connection closes when it lets go.
        if (entry.connection == m_listingConnection)
            entry.connection->CancelOperation();
        SaveDuration(name, entry.connectedAt);
    }
    closed.clear();
    if (wasCurrent || !m_pConnection) {
        const std::shared_ptr<QorFtpConnection> first = ConnectionList.FirstConnection();
        SetCurrentConnection(first.get());
    }

    ShowListMessage(QStringLiteral("Not Connected to: ") + server);
    if (!m_pConnection)
        emit ListMessageAtTop(QStringLiteral("No Connection"));

    const QModelIndex serverNode = ServerIndex(server);
    if (QStandardItem* item = ItemOf(serverNode)) {
        RemoveChildren(serverNode);
        item->setIcon(FileIcons::Computer());
        item->setToolTip(QString());
        item->setData(false, EncryptedRole);
        item->setData(QVariant(), Qt::AccessibleTextRole);
    }
}
