// Files dropped on the folder tree: from the file list, another server's rows, or the desktop's
// file manager. The folder under the pointer is highlighted, rests open it, and a drop goes to
// the folder's server and path.
#include "tree/CPathView.h"

#include "listing/TreePaths.h"
#include "operations/TransferData.h"
#include "operations/TransferList.h"
#include "settings/Settings.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPalette>

namespace {

// Ctrl and Shift together: no drop; Alt without Ctrl: move; anything else: copy.
Qt::DropAction TreeEffectOf(Qt::KeyboardModifiers keys)
{
    if ((keys & Qt::ControlModifier) && (keys & Qt::ShiftModifier))
        return Qt::IgnoreAction;
    if ((keys & Qt::AltModifier) && !(keys & Qt::ControlModifier))
        return Qt::MoveAction;
    return Qt::CopyAction;
}

} // namespace

void CPathView::SetupDropTarget()
{
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    viewport()->setAcceptDrops(true);
    // Near the top or bottom edge the tree scrolls, as Qt does for any view during a drag.
    setAutoScroll(true);
    setAutoScrollMargin(15);
    m_dropHoverTimer.setSingleShot(true);
    connect(&m_dropHoverTimer, &QTimer::timeout, this, [this] {
        const QModelIndex item = m_dropHighlight;
        if (!item.isValid())
            return;
        setCurrentIndex(item);
        expand(item);
    });
}

bool CPathView::CanDropOn(const QModelIndex& item) const
{
    if (!item.isValid())
        return false;
    const QString server = ServerNameOf(item);
    if (server == QLatin1String(kMyComputer))
        return item != MyComputerIndex();
    return ConnectionList.IsConnected(server.toStdString()) && !IsServerNode(item);
}

void CPathView::SetDropHighlight(const QModelIndex& item)
{
    if (m_dropHighlight.isValid())
        m_model->setData(m_dropHighlight, QVariant(), Qt::BackgroundRole);
    m_dropHighlight = item;
    if (item.isValid())
        m_model->setData(item, QGuiApplication::palette().brush(QPalette::Highlight).color().lighter(160),
                         Qt::BackgroundRole);
}

void CPathView::dragEnterEvent(QDragEnterEvent* event)
{
    // Qt's own handling starts the scrolling at the edges.
    QTreeView::dragEnterEvent(event);
    const QMimeData* data = event->mimeData();
    m_dropAcceptable = data && (data->hasUrls() || data->hasFormat(QLatin1String(kTransferListMimeType)));
    // The moves decide the effect.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
}

void CPathView::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeView::dragMoveEvent(event);
    const QModelIndex item = indexAt(event->position().toPoint());
    if (QPersistentModelIndex(item) != m_dropHighlight) {
        SetDropHighlight(item);
        if (item.isValid())
            m_dropHoverTimer.start(static_cast<int>(ProgramSettings().dragTime * 1000));
        else
            m_dropHoverTimer.stop();
    }
    const Qt::DropAction effect = m_dropAcceptable ? TreeEffectOf(event->modifiers()) : Qt::IgnoreAction;
    if (effect == Qt::IgnoreAction || !CanDropOn(item)) {
        event->ignore();
        return;
    }
    event->setDropAction(effect);
    event->accept();
}

void CPathView::dragLeaveEvent(QDragLeaveEvent* event)
{
    QTreeView::dragLeaveEvent(event);
    m_dropHoverTimer.stop();
    SetDropHighlight({});
}

void CPathView::dropEvent(QDropEvent* event)
{
    m_dropHoverTimer.stop();
    SetDropHighlight({});
    stopAutoScroll();
    setState(NoState);
    const QModelIndex item = indexAt(event->position().toPoint());
    const Qt::DropAction effect = m_dropAcceptable ? TreeEffectOf(event->modifiers()) : Qt::IgnoreAction;
    if (effect == Qt::IgnoreAction || !CanDropOn(item)) {
        event->ignore();
        return;
    }
    const QString server = ServerNameOf(item);
    std::string folder;
    if (server == QLatin1String(kMyComputer)) {
        QString path = LocalPathOf(item);
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        folder = path.toStdString();
    } else {
        folder = RemotePathBytesOf(item);
    }
    ExecuteTransferData(*event->mimeData(), effect == Qt::MoveAction ? DropMove : DropCopy, server.toStdString(),
                        folder);
    event->setDropAction(effect);
    event->accept();
}
