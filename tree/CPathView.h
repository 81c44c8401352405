// The left-hand pane: "My Computer" with its places and folders, every configured server, and
// the remote folders of connected servers. Selecting a node fills the file list beside it;
// the tree owns the browsing connections (ConnectionList). Remote listings and local folder
// reads run on worker threads, one remote exchange at a time, so the window never waits for
// a server.
#pragma once

#include "servers/ServerRecord.h"
#include "tree/BackgroundJobs.h"
#include "tree/ListingJobs.h"

#include <QPersistentModelIndex>
#include <QTimer>
#include <QTreeView>

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>

class CFolderTreeModel;
class QMenu;
class QStandardItem;
class QorFtpConnection;
// Signals carry the connection by pointer only.
Q_DECLARE_OPAQUE_POINTER(QorFtpConnection*)

class CPathView : public QTreeView {
    Q_OBJECT
public:
    explicit CPathView(QWidget* parent = nullptr);
    ~CPathView() override;

    CFolderTreeModel* Model() const { return m_model; }

    // The first fill (run once both panes exist), and the rebuild of the server nodes after
    // the servers changed while nothing is connected.
    void FillTree();

    // Of `item`, or of the selection when `item` is invalid.
    QString ServerNameOf(const QModelIndex& item = {}) const;
    QString RemotePathOf(const QModelIndex& item = {}) const;
    // The same path in the bytes the server sent its names in: the one to send back.
    std::string RemotePathBytesOf(const QModelIndex& item = {}) const;
    // Empty for "My Computer" itself.
    QString LocalPathOf(const QModelIndex& item = {}) const;

    QModelIndex MyComputerIndex() const;
    QModelIndex ServerIndex(const QString& name) const;
    // Opens the local folders down to `path` and selects it; invalid when it cannot be reached
    // (hidden or missing folders).
    QModelIndex SelectLocalPath(const QString& path);
    // Selects the subfolder `name` (its bytes as listed) of the folder the list shows (a folder
    // row opened in the list).
    void OpenChildFolder(const std::string& name);
    // A folder the list made in, or removed from, the folder it shows.
    void AddChildFolder(const std::string& name);
    void RemoveChildFolder(const std::string& name);

    const QString& CurrentServer() const { return m_strServer; }
    QorFtpConnection* CurrentConnection() const { return m_pConnection; }
    // The folder a drag rests on, drawn highlighted; invalid for none.
    QModelIndex DropHighlight() const { return m_dropHighlight; }
    // Whether files may be dropped on `item`: a local folder, or a folder of a connected server.
    bool CanDropOn(const QModelIndex& item) const;

    // The enabling rules: Connect and Delete server on a server that is not connected, Change
    // Directory on a connected server.
    bool CanConnectOrDelete() const;
    bool CanChangeDirectory() const;
    bool SelectionIsServer() const { return IsServerNode(currentIndex()); }
    // The context menu of `item` (105 for servers, 161 for remote folders); null where there is none.
    std::unique_ptr<QMenu> MakeContextMenu(const QModelIndex& item);
    void ShowContextMenu(const QModelIndex& item, const QPoint& globalPos);

    // Disconnect's rule: the selection's server is connected and no transfer uses it.
    bool CanDisconnect() const;

    // Starts a connect thread for `server`, as the connect dialog does once confirmed.
    void StartConnect(const ServerRecord& server);
    // Connection completed (the connect thread posts it); `connection` is null when the
    // attempt failed.
    void WM_CONNECT_DONE(const ServerRecord& server, std::shared_ptr<QorFtpConnection> connection);
    // A connected server node's lock and tooltip: `description` is the connection's TLS version and
    // cipher, empty when it is not encrypted.
    void ShowEncryption(QStandardItem* serverItem, const std::string& description);
    // bool on a server node: its connection is encrypted.
    static constexpr int EncryptedRole = Qt::UserRole + 40;
    // bool on a server node: its connection is known lost (the server closed it); the next use
    // logs in again.
    static constexpr int LostRole = Qt::UserRole + 41;
    // How long keep-alive commands go on while the user does nothing on a server (30 minutes).
    void SetKeepAliveIdleLimit(std::chrono::milliseconds limit) { m_keepAliveIdleLimit = limit; }

    // `directory` in the server's bytes.
    void ListRemote(const std::string& directory, bool addFoldersToTree, bool fillList, const QModelIndex& item);
    void ListLocalFolder(const QModelIndex& item);
    void ExpandLocal(const QModelIndex& item);

public slots:
    // New Connection (57600): the connect dialog with the current server pre-filled.
    void OnNewConnection();
    // Connect (32795): the connect dialog for the selected server.
    void OnConnect();
    // Disconnect (32773): the server of the selection.
    void OnDisconnect();
    void OnRefresh(); // 32806
    void OnUpOneLevel(); // 32786; also Backspace
    // Closes the server's connection; also run when the server closed it (421).
    void Disconnect(const QString& server);
    // Delete server (32796, and Delete while the tree is active): after a question; never for a
    // connected server.
    void OnDeleteServer();
    // Rename (32812, F2): label editing of the server node.
    void OnRenameServer();
    // Properties of a server (32797): its property sheet.
    void OnServerProperties();
    // Change Directory (32819): a typed path becomes a folder node of the selection's server.
    void OnChangeDirectory();

signals:
    // The main window's title.
    void TitleChanged(const QString& title);
    // The connection whose folder is shown changed (the document keeps a copy).
    void CurrentConnectionChanged(QorFtpConnection* connection);
    void ConnectionCompleted(const QString& server, bool connected);
    // A listing's results are in the tree; rows may still be going into the list.
    void ListingFinished();
    // A transfer took or gave back a browsing connection (Close Connection's rule).
    void ConnectionBusyChanged();

    // What the file list beside the tree is to show; connected where the panes are put together.
    // The rows go by reference so that a large listing is moved, not copied: connect them
    // directly.
    void ListCleared();
    void ListMessage(const QString& text); // one notice row in place of the rows
    void ListMessageAtTop(const QString& text); // a notice row above the others
    void LocalRowsReady(const QString& root, const QString& folder, std::vector<FileRow>& rows);
    void RemoteRowsReady(const QString& server, const std::string& folder, std::vector<FileRow>& rows,
                         QorFtpConnection* connection);
    void FolderWatchWanted(bool watch);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct RemoteJob {
        QPersistentModelIndex item;
        QString server;
        RemoteListingRequest request;
        bool fillList = false;
        quint64 generation = 0;
        QString shownName;
        bool reconnected = false; // run once more after a new login; a second loss disconnects
    };

    void SetupDropTarget();
    // The item a command acts on: the context menu's item, taken once, else the selection.
    QModelIndex CommandItem();
    bool IsServerConnected(const QModelIndex& item) const;
    void RenameEnded(const QPersistentModelIndex& node, const QString& text);
    void SetDropHighlight(const QModelIndex& item);
    QStandardItem* ItemOf(const QModelIndex& index) const;
    QModelIndex ChildOfListed(const std::string& name) const;
    QStringList TextsOf(const QModelIndex& item) const;
    bool IsLocal(const QModelIndex& item) const;
    bool IsServerNode(const QModelIndex& item) const;
    void FillDrives(QStandardItem* myComputer);
    QModelIndex InsertServerNode(const QString& name);
    void AddLocalChildren(const QModelIndex& item, const QString& path);
    void SetChildrenFlag(const QModelIndex& item, bool flag);
    void RemoveChildren(const QModelIndex& item);
    void SetCurrentConnection(QorFtpConnection* connection);
    void ShowListMessage(const QString& text);
    void Connect();
    void OnExpanded(const QModelIndex& index);
    void ListRemoteSelection(const QModelIndex& item);
    void QueueRemote(RemoteJob job);
    void RunNextRemote();
    void RemoteDone(const RemoteJob& job, std::uint32_t operationId, RemoteListing& result);
    void ApplyRemote(const RemoteJob& job, RemoteListing& result);
    // A new connection set up as the server's record says, not yet logged in.
    std::shared_ptr<QorFtpConnection> NewBrowsingConnection(const ServerRecord& record);
    // Logs the job's server in again on a new connection off this thread, then runs the job on
    // it; a failed login disconnects the server.
    void Reconnect(RemoteJob job);
    void ReconnectDone(RemoteJob job, std::uint32_t operationId, const std::shared_ptr<QorFtpConnection>& fresh,
                       bool loggedIn);
    void ShowLost(const QString& server);
    void ShowStatus(const QString& text);
    void KeepAliveTick();

    CFolderTreeModel* m_model;
    QString m_strServer;
    QorFtpConnection* m_pConnection = nullptr;
    bool m_bFirstFill = true;

    // Every fill of the list gets a new number; a result that comes back under an older one
    // was overtaken by the user and is not shown.
    quint64 m_listGeneration = 0;
    // The node whose folder the list shows.
    QPersistentModelIndex m_listedItem;
    std::deque<RemoteJob> m_remoteQueue;
    bool m_remoteRunning = false;
    std::shared_ptr<QorFtpConnection> m_listingConnection;
    std::unique_ptr<BackgroundJobs> m_jobs;

    QPersistentModelIndex m_contextItem;
    QPersistentModelIndex m_renamedNode;
    QString m_renameText;
    bool m_renameCommitted = false;

    bool m_dropAcceptable = false;
    QPersistentModelIndex m_dropHighlight;
    QTimer m_dropHoverTimer;

    // Per server: the user's last listing there, and the last keep-alive command.
    std::map<QString, std::chrono::steady_clock::time_point> m_lastUsed;
    std::map<QString, std::chrono::steady_clock::time_point> m_lastNoop;
    std::chrono::milliseconds m_keepAliveIdleLimit = std::chrono::minutes(30);
    QTimer m_keepAliveTimer;
    // A parent listed in place of a folder that went while the connection was lost.
    QPersistentModelIndex m_fallbackItem;
};
