#include "tree/CPathView.h"

#include "dialogs/FileIcons.h"
#include "dialogs/ServerPropertySheet.h"
#include "listing/TreePaths.h"
#include "servers/ServerMap.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"
#include "tree/LocalPlaces.h"

#include <QDir>
#include <QKeyEvent>

namespace {

const QString kMyComputerText = QString::fromLatin1(kMyComputer);

} // namespace

CPathView::CPathView(QWidget* parent)
    : QTreeView(parent)
    , m_model(new CFolderTreeModel(this))
    , m_jobs(std::make_unique<BackgroundJobs>(this))
{
    setObjectName(QStringLiteral("PathView"));
    setAccessibleName(tr("Folders"));
    setModel(m_model);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    // The tree is the one place that knows the browsing connections.
    SetBrowsingConnections(&ConnectionList);
    // Transfers set the busy flags on any thread; a tree that has gone is not told (its target
    // is detached first).
    ConnectionList.SetBusyListener(
        [this, target = m_jobs->Target()] { target->Post([this] { emit ConnectionBusyChanged(); }); });
    connect(this, &QTreeView::expanded, this, &CPathView::OnExpanded);
    // Once a second: a lost connection is shown, and keep-alive commands go out when due.
    connect(&m_keepAliveTimer, &QTimer::timeout, this, &CPathView::KeepAliveTick);
    m_keepAliveTimer.start(1000);
    SetupDropTarget();
    // The property sheets show the running connection's time and delete servers the tree's way.
    SetServerSheetHooks({[](const std::string& name) -> std::optional<QDateTime> {
                             if (std::optional<ConnectionEntry> entry = ConnectionList.EntryOf(name))
                                 return entry->connectedAt;
                             return std::nullopt;
                         },
                         [this](const QString& name) {
                             m_contextItem = ServerIndex(name);
                             OnDeleteServer();
                         }});
}

QStandardItem* CPathView::ItemOf(const QModelIndex& index) const
{
    return index.isValid() ? m_model->itemFromIndex(index) : nullptr;
}

QStringList CPathView::TextsOf(const QModelIndex& item) const
{
    QStringList texts;
    for (QModelIndex at = item; at.isValid(); at = at.parent())
        // "My Computer" is shown in the user's language but named by its identifier.
        texts.prepend(at == MyComputerIndex() ? kMyComputerText : at.data().toString());
    return texts;
}

QString CPathView::ServerNameOf(const QModelIndex& item) const
{
    return ServerNameOfTexts(TextsOf(item.isValid() ? item : currentIndex()));
}

QString CPathView::RemotePathOf(const QModelIndex& item) const
{
    const QModelIndex node = item.isValid() ? item : currentIndex();
    return RemotePathOfTexts(TextsOf(node), m_model->index(0, 0, node).data().toString());
}

QString CPathView::LocalPathOf(const QModelIndex& item) const
{
    QModelIndex node = item.isValid() ? item : currentIndex();
    QStringList below;
    while (node.isValid() && node.parent().isValid() && node.parent().parent().isValid()) {
        below.prepend(node.data().toString());
        node = node.parent();
    }
    // `node` is now a place under "My Computer", or "My Computer" itself.
    return LocalPathOfTexts(node.data(CFolderTreeModel::PlacePathRole).toString(), below);
}

bool CPathView::IsLocal(const QModelIndex& item) const
{
    return ServerNameOf(item) == kMyComputerText;
}

bool CPathView::IsServerNode(const QModelIndex& item) const
{
    return item.isValid() && !item.parent().isValid() && item.row() > 0;
}

QModelIndex CPathView::MyComputerIndex() const
{
    return m_model->index(0, 0);
}

QModelIndex CPathView::ServerIndex(const QString& name) const
{
    for (int row = 1; row < m_model->rowCount(); ++row) {
        const QModelIndex node = m_model->index(row, 0);
        if (node.data().toString() == name)
            return node;
    }
    return {};
}

void CPathView::FillTree()
{
    if (!m_pConnection)
        emit TitleChanged(tr("No Connection - Ftp"));
    if (m_bFirstFill) {
        m_model->clear();
        QStandardItem* myComputer
            = CFolderTreeModel::MakeNode(tr("My Computer"), FileIcons::ConnectedComputer(), NODE_PLAIN, true);
        m_model->appendRow(myComputer);
        FillDrives(myComputer);
        expand(myComputer->index());
        // The list starts on the first place, with "My Computer" itself selected.
        if (myComputer->rowCount() > 0)
            setCurrentIndex(myComputer->child(0)->index());
        setCurrentIndex(myComputer->index());
    } else if (m_model->rowCount() > 1) {
        m_model->removeRows(1, m_model->rowCount() - 1);
    }
    for (const auto& [name, record] : ServerMap)
        InsertServerNode(QString::fromStdString(name));
    m_bFirstFill = false;
}

void CPathView::FillDrives(QStandardItem* myComputer)
{
    for (const LocalPlace& place : LocalPlaces()) {
        QStandardItem* node = CFolderTreeModel::MakeNode(place.text, FileIcons::Place(place.path), NODE_FOLDER, true);
        node->setData(place.path, CFolderTreeModel::PlacePathRole);
        myComputer->appendRow(node);
    }
}

QModelIndex CPathView::InsertServerNode(const QString& name)
{
    // Sorted ignoring case; "My Computer" stays first whatever its text compares to, and a name
    // equal but for case goes before the one already there.
    int row = 1;
    while (row < m_model->rowCount() && m_model->index(row, 0).data().toString().compare(name, Qt::CaseInsensitive) < 0)
        ++row;
    m_model->insertRow(row, CFolderTreeModel::MakeNode(name, FileIcons::Computer(), NODE_SERVER, true));
    return m_model->index(row, 0);
}

void CPathView::SetChildrenFlag(const QModelIndex& item, bool flag)
{
    if (!item.isValid() || item.data(CFolderTreeModel::ChildrenFlagRole).toBool() == flag)
        return;
    m_model->setData(item, flag, CFolderTreeModel::ChildrenFlagRole);
    // The view keeps whether a node has children from its last layout.
    scheduleDelayedItemsLayout();
}

void CPathView::RemoveChildren(const QModelIndex& item)
{
    if (item.isValid() && m_model->rowCount(item) > 0)
        m_model->removeRows(0, m_model->rowCount(item), item);
}

void CPathView::SetCurrentConnection(QorFtpConnection* connection)
{
    if (m_pConnection == connection)
        return;
    m_pConnection = connection;
    emit CurrentConnectionChanged(connection);
}

void CPathView::ShowListMessage(const QString& text)
{
    ++m_listGeneration;
    m_listedItem = QPersistentModelIndex();
    emit ListMessage(text);
}

void CPathView::AddLocalChildren(const QModelIndex& item, const QString& path)
{
    const std::vector<LocalFolder> folders = LocalSubfolders(path);
    QStandardItem* parent = ItemOf(item);
    if (!parent)
        return;
    QList<QStandardItem*> nodes;
    for (const LocalFolder& folder : folders)
        nodes << CFolderTreeModel::MakeNode(folder.name, FileIcons::Folder(), NODE_FOLDER, folder.hasSubfolders);
    parent->appendRows(nodes);
    SetChildrenFlag(item, !folders.empty());
}

void CPathView::ExpandLocal(const QModelIndex& item)
{
    const QString path = LocalPathOf(item);
    if (path.isEmpty() || m_model->rowCount(item) > 0)
        return;
    AddLocalChildren(item, path);
}

void CPathView::ListLocalFolder(const QModelIndex& item)
{
    const quint64 generation = ++m_listGeneration;
    emit ListCleared();
    m_listedItem = item;
    const QString path = LocalPathOf(item);
    if (path.isEmpty())
        return;
    if (m_model->rowCount(item) == 0)
        AddLocalChildren(item, path);
    const bool firstFill = m_bFirstFill;
    m_jobs->Run<std::vector<FileRow>>([path] { return LocalRows(path); },
                                      [this, generation, path, firstFill](std::vector<FileRow>& rows) {
                                          if (generation != m_listGeneration)
                                              return;
                                          emit LocalRowsReady(kMyComputerText, path, rows);
                                          // The first fill shows the first place without watching it.
                                          if (!firstFill)
                                              emit FolderWatchWanted(true);
                                          emit ListingFinished();
                                      });
}

QModelIndex CPathView::SelectLocalPath(const QString& path)
{
    const QString wanted = QDir::cleanPath(path);
    const QModelIndex myComputer = MyComputerIndex();
    QModelIndex place;
    QString placePath;
    for (int row = 0; row < m_model->rowCount(myComputer); ++row) {
        const QModelIndex candidate = m_model->index(row, 0, myComputer);
        const QString candidatePath = candidate.data(CFolderTreeModel::PlacePathRole).toString();
        const bool inside = wanted == candidatePath || candidatePath == QLatin1String("/")
            || wanted.startsWith(candidatePath + QLatin1Char('/'));
        if (inside && candidatePath.size() > placePath.size()) {
            place = candidate;
            placePath = candidatePath;
        }
    }
    if (!place.isValid())
        return {};
    QModelIndex node = place;
    const QStringList names = wanted.mid(placePath.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& name : names) {
        ExpandLocal(node);
        expand(node);
        QModelIndex child;
        for (int row = 0; row < m_model->rowCount(node) && !child.isValid(); ++row) {
            if (m_model->index(row, 0, node).data().toString() == name)
                child = m_model->index(row, 0, node);
        }
        if (!child.isValid())
            return {};
        node = child;
    }
    setCurrentIndex(node);
    scrollTo(node);
    return node;
}

void CPathView::OpenChildFolder(const std::string& name)
{
    QModelIndex folder = m_listedItem;
    if (!folder.isValid())
        return;
    if (IsLocal(folder))
        ExpandLocal(folder);
    QModelIndex child;
    for (int row = 0; row < m_model->rowCount(folder) && !child.isValid(); ++row) {
        if (CFolderTreeModel::NameBytesOf(m_model->index(row, 0, folder)) == name)
            child = m_model->index(row, 0, folder);
    }
    // A folder made since the node's children were read is shown in the list but not yet in
    // the tree.
    if (!child.isValid()) {
        QStandardItem* parent = ItemOf(folder);
        parent->appendRow(CFolderTreeModel::MakeRemoteNode(name, FileIcons::Folder(), NODE_FOLDER, true));
        child = parent->child(parent->rowCount() - 1)->index();
    }
    expand(folder);
    setCurrentIndex(child);
    scrollTo(child);
}

QModelIndex CPathView::ChildOfListed(const std::string& name) const
{
    const QModelIndex folder = m_listedItem;
    for (int row = 0; folder.isValid() && row < m_model->rowCount(folder); ++row) {
        const QModelIndex child = m_model->index(row, 0, folder);
        if (CFolderTreeModel::NameBytesOf(child) == name)
            return child;
    }
    return {};
}

void CPathView::AddChildFolder(const std::string& name)
{
    const QModelIndex folder = m_listedItem;
    if (!folder.isValid() || ChildOfListed(name).isValid())
        return;
    QStandardItem* parent = ItemOf(folder);
    parent->appendRow(IsLocal(folder) ? CFolderTreeModel::MakeNode(QString::fromStdString(name), FileIcons::Folder(),
                                                                   NODE_FOLDER, false)
                                      : CFolderTreeModel::MakeRemoteNode(name, FileIcons::Folder(), NODE_FOLDER, true));
    SetChildrenFlag(folder, true);
}

void CPathView::RemoveChildFolder(const std::string& name)
{
    const QModelIndex child = ChildOfListed(name);
    if (child.isValid())
        m_model->removeRow(child.row(), child.parent());
}

void CPathView::OnExpanded(const QModelIndex& index)
{
    if (IsLocal(index)) {
        ExpandLocal(index);
        return;
    }
    if (IsServerNode(index) || m_model->rowCount(index) > 0)
        return;
    std::string directory = RemotePathBytesOf(index);
    if (!directory.ends_with('/'))
        directory += '/';
    ListRemote(directory, true, false, index);
}

void CPathView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    const QModelIndex selection = currentIndex();
    if (!selection.isValid())
        return;
    const QString server = ServerNameOf(selection);
    emit TitleChanged(tr("Tarvo >%1").arg(server == kMyComputerText ? tr("My Computer") : server));

    if (server == kMyComputerText) {
        if (selection == MyComputerIndex()) {
            emit FolderWatchWanted(false);
            return;
        }
        ListLocalFolder(selection);
        return;
    }

    emit FolderWatchWanted(false);
    if (!m_pConnection)
        return;
    const std::optional<ConnectionEntry> entry = ConnectionList.EntryOf(server.toStdString());
    if (!entry) {
        ShowListMessage(tr("Not Connected to: %1").arg(server));
        return;
    }
    m_strServer = QString::fromStdString(entry->serverName);
    SetCurrentConnection(entry->connection.get());
    if (entry->busy) {
        ShowListMessage(tr("Connection!"));
        for (const char* line : {QT_TR_NOOP("Using the same"), QT_TR_NOOP("Uploading"), QT_TR_NOOP("or"),
                                 QT_TR_NOOP("Downloading")})
            emit ListMessageAtTop(tr(line));
        return;
    }
    QModelIndex item = selection;
    if (IsServerNode(selection)) {
        const QModelIndex first = m_model->index(0, 0, selection);
        // Back from the start folder to its server: it is on the screen already.
        if (!first.isValid() || first == previous)
            return;
        item = first;
    }
    ListRemoteSelection(item);
}

void CPathView::keyPressEvent(QKeyEvent* event)
{
    if (state() != QAbstractItemView::EditingState) {
        if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
            const QModelIndex item = currentIndex();
            ShowContextMenu(item, viewport()->mapToGlobal(visualRect(item).topRight() + QPoint(5, 5)));
            return;
        }
        if (event->key() == Qt::Key_Backspace) {
            OnUpOneLevel();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            const QModelIndex selection = currentIndex();
            if (IsServerNode(selection) && !ConnectionList.IsConnected(selection.data().toString().toStdString())) {
                m_strServer = selection.data().toString();
                OnNewConnection();
            }
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

void CPathView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (IsServerNode(index) && !ConnectionList.IsConnected(index.data().toString().toStdString())) {
        m_strServer = index.data().toString();
        Connect();
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}
