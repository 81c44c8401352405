// The folder tree's commands on servers: delete, rename by label editing, properties, change
// directory, and the context menus that offer them.
#include "tree/CPathView.h"

#include "dialogs/FileIcons.h"
#include "dialogs/LabelEditDelegate.h"
#include "dialogs/ServerPropertySheet.h"
#include "listing/TreePaths.h"
#include "operations/Interaction.h"
#include "servers/ServerMap.h"
#include "servers/ServerNameProblem.h"
#include "servers/ServerStore.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

QModelIndex CPathView::CommandItem()
{
    QModelIndex item = m_contextItem;
    m_contextItem = QPersistentModelIndex();
    return item.isValid() ? item : currentIndex();
}

bool CPathView::IsServerConnected(const QModelIndex& item) const
{
    return IsServerNode(item) && ConnectionList.IsConnected(item.data().toString().toStdString());
}

bool CPathView::CanConnectOrDelete() const
{
    const QModelIndex item = m_contextItem.isValid() ? QModelIndex(m_contextItem) : currentIndex();
    return IsServerNode(item) && !IsServerConnected(item);
}

bool CPathView::CanChangeDirectory() const
{
    const QString server = ServerNameOf(currentIndex());
    return server != QLatin1String(kMyComputer) && ConnectionList.IsConnected(server.toStdString());
}

void CPathView::OnDeleteServer()
{
    const QModelIndex item = CommandItem();
    if (!IsServerNode(item) || IsServerConnected(item))
        return;
    const QString name = item.data().toString();
    if (!GetInteraction().AskYesNo(tr("Are you sure you want to delete '%1'.").arg(name).toStdString()))
        return;
    DeleteServer(name.toStdString());
    const QModelIndex node = ServerIndex(name);
    if (node.isValid())
        m_model->removeRow(node.row());
}

void CPathView::OnRenameServer()
{
    const QModelIndex item = CommandItem();
    if (!IsServerNode(item))
        return;
    auto* delegate = dynamic_cast<LabelEditDelegate*>(itemDelegate());
    if (!delegate) {
        delegate = new LabelEditDelegate(this);
        setItemDelegate(delegate);
        connect(delegate, &QAbstractItemDelegate::closeEditor, this, [this] {
            const QPersistentModelIndex node = m_renamedNode;
            const QString text = m_renameText;
            const bool committed = m_renameCommitted;
            m_renameCommitted = false;
            if (QStandardItem* edited = ItemOf(node))
                edited->setEditable(false);
            // Out of the view's own handling: a message box may follow.
            QMetaObject::invokeMethod(
                this, [this, node, text, committed] { RenameEnded(node, committed ? text : QString()); },
                Qt::QueuedConnection);
        });
    }
    delegate->committed = [this](const QString& text) {
        m_renameText = text;
        m_renameCommitted = true;
    };
    m_renamedNode = item;
    if (QStandardItem* node = ItemOf(item))
        node->setEditable(true);
    setCurrentIndex(item);
    edit(item);
}

void CPathView::RenameEnded(const QPersistentModelIndex& node, const QString& text)
{
    const QString newName = text.trimmed();
    if (!node.isValid() || newName.isEmpty())
        return;
    const QString oldName = node.data().toString();
    if (newName == oldName)
        return;
    // The comparison is exact: a name that differs only in case is another name.
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (ServerNameOf(m_model->index(row, 0)) == newName) {
            GetInteraction().ShowMessage(tr("The server '%1' already exists.").arg(newName).toStdString(),
                                         MessageIcon::Error);
            return;
        }
    }
    if (const std::optional<std::string> problem = ServerNameProblem(newName.toStdString())) {
        GetInteraction().ShowMessage(*problem, MessageIcon::Error);
        return;
    }
    if (!RenameServer(oldName.toStdString(), newName.toStdString()))
        return;
    ConnectionList.RenameServer(oldName.toStdString(), newName.toStdString());
    if (m_strServer == oldName)
        m_strServer = newName;
    m_model->setData(node, newName);
    emit TitleChanged(tr("Tarvo >%1").arg(newName));
}

void CPathView::OnServerProperties()
{
    const QModelIndex item = CommandItem();
    if (!IsServerNode(item))
        return;
    const bool applied = ShowServerProperties(this, item.data().toString());
    // New settings show in the server nodes; only safe while no connection hangs below them.
    if (applied && !m_pConnection)
        FillTree();
}

void CPathView::OnChangeDirectory()
{
    if (!CanChangeDirectory())
        return;
    const std::optional<std::string> typed = GetInteraction().AskText(tr("Enter directory:").toStdString());
    if (!typed)
        return;
    QModelIndex root = currentIndex();
    while (root.parent().isValid())
        root = root.parent();
    std::string path = *typed;
    std::replace(path.begin(), path.end(), '\\', '/');
    QStandardItem* parent = ItemOf(root);
    if (!parent)
        return;
    parent->appendRow(CFolderTreeModel::MakeRemoteNode(path, FileIcons::Folder(), NODE_FOLDER, true));
    QStandardItem* made = parent->child(parent->rowCount() - 1);
    parent->sortChildren(0);
    expand(root);
    setCurrentIndex(made->index());
}

std::unique_ptr<QMenu> CPathView::MakeContextMenu(const QModelIndex& item)
{
    if (!item.isValid() || IsLocal(item))
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("FolderTreeContextMenu"));
    if (IsServerNode(item)) {
        const bool connected = IsServerConnected(item);
        menu->addAction(tr("&Connect"), this,
                        [this, item] {
                            m_contextItem = item;
                            m_strServer = CommandItem().data().toString();
                            Connect();
                        })
            ->setEnabled(!connected);
        menu->addAction(tr("&Disconnect"), this,
                        [this, item] {
                            m_contextItem = QPersistentModelIndex();
                            const QString server = item.data().toString();
                            if (ConnectionList.IsConnected(server.toStdString())
                                && !ConnectionList.IsTransferBusy(server.toStdString()))
                                Disconnect(server);
                        })
            ->setEnabled(connected && !ConnectionList.IsTransferBusy(item.data().toString().toStdString()));
        menu->addAction(tr("De&lete"), this,
                        [this, item] {
                            m_contextItem = item;
                            OnDeleteServer();
                        })
            ->setEnabled(!connected);
        menu->addAction(tr("Re&name"), this, [this, item] {
            m_contextItem = item;
            OnRenameServer();
        });
        menu->addAction(tr("P&roperties"), this, [this, item] {
            m_contextItem = item;
            OnServerProperties();
        });
        menu->setProperty("menuId", 105);
        return menu;
    }
    // A remote folder: it is selected, and so listed, first.
    setCurrentIndex(item);
    menu->addAction(tr("&Refresh"), this, &CPathView::OnRefresh);
    menu->setProperty("menuId", 161);
    return menu;
}

void CPathView::ShowContextMenu(const QModelIndex& item, const QPoint& globalPos)
{
    std::unique_ptr<QMenu> menu = MakeContextMenu(item);
    if (!menu)
        return;
    // The server node is highlighted as a drop target while its menu is open.
    if (IsServerNode(item))
        SetDropHighlight(item);
    menu->exec(globalPos);
    SetDropHighlight({});
}

void CPathView::contextMenuEvent(QContextMenuEvent* event)
{
    QModelIndex item;
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        item = currentIndex();
        at = viewport()->mapToGlobal(visualRect(item).topRight() + QPoint(5, 5));
    } else {
        item = indexAt(viewport()->mapFromGlobal(event->globalPos()));
    }
    ShowContextMenu(item, at);
}
