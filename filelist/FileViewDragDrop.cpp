// Rows dragged out of the file list, and files dropped on it: from the list itself, from the
// folder tree, another window of the program or the desktop's file manager.
#include "filelist/CFileView.h"

#include "operations/TransferData.h"
#include "operations/TransferList.h"

#include <QAbstractItemView>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

namespace {

// Ctrl and Shift together: no drop; Ctrl: copy; Alt: move; anything else: copy.
Qt::DropAction EffectOf(Qt::KeyboardModifiers keys)
{
    if ((keys & Qt::ControlModifier) && (keys & Qt::ShiftModifier))
        return Qt::IgnoreAction;
    if (keys & Qt::ControlModifier)
        return Qt::CopyAction;
    if (keys & Qt::AltModifier)
        return Qt::MoveAction;
    return Qt::CopyAction;
}

bool CarriesFiles(const QMimeData* data)
{
    return data && (data->hasUrls() || data->hasFormat(QLatin1String(kTransferListMimeType)));
}

} // namespace

void CFileView::StartRowDrag(QAbstractItemView* view)
{
    const int dragged = view->currentIndex().row();
    if (!m_model->Item(dragged))
        return;
    std::unique_ptr<QMimeData> data = SelectionData();
    if (!data)
        return;
    if (!IsLocal()) {
        m_dragSourceFolder = CurrentFolder();
        if (m_dragSourceFolder.endsWith(QLatin1Char('/')))
            m_dragSourceFolder.chop(1);
    }
    auto* drag = new QDrag(view);
    drag->setMimeData(data.release());
    drag->setPixmap(
        m_model->index(dragged, CFileListModel::NameColumn).data(Qt::DecorationRole).value<QIcon>().pixmap(32));
    drag->setHotSpot(QPoint(8, 8));
    const std::string draggedName = m_model->Item(dragged)->name;
    const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    // Cleared here: a later drop from elsewhere onto a folder of the same path is no drag of ours.
    m_dragSourceFolder.clear();
    // A move took the dragged row away; the folder watch shows the rest as it is.
    if (done == Qt::MoveAction && IsLocal()) {
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const FileItem* item = m_model->Item(row);
            if (item && item->name == draggedName) {
                RemoveRow(row);
                break;
            }
        }
    }
}

void CFileView::DragEnter(QDragEnterEvent* event)
{
    m_acceptDrop = CarriesFiles(event->mimeData()) && (IsLocal() ? !m_model->Folder().isEmpty() : CanUseConnection());
    if (m_acceptDrop && !m_dragSourceFolder.isEmpty()) {
        QString folder = CurrentFolder();
        if (folder.endsWith(QLatin1Char('/')))
            folder.chop(1);
        // Rows cannot be dropped on the folder they come from.
        m_acceptDrop = folder != m_dragSourceFolder;
    }
    // Accepted for now so that the moves come; each move decides the effect.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
}

void CFileView::DragMove(QDragMoveEvent* event, QAbstractItemView* view)
{
    const Qt::DropAction effect = m_acceptDrop ? EffectOf(event->modifiers()) : Qt::IgnoreAction;
    const int hover = view->indexAt(event->position().toPoint()).row();
    if (hover != m_highlightedRow) {
        const FileItem* item = m_model->Item(hover);
        if (m_acceptDrop && item && item->kind == ITEM_FOLDER) {
            SetDropHighlight(hover);
            m_hoverTimer.start();
        } else {
            SetDropHighlight(-1);
        }
    }
    if (effect == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(effect);
    event->accept();
}

void CFileView::DragLeave()
{
    SetDropHighlight(-1);
}

void CFileView::SetDropHighlight(int row)
{
    if (row < 0)
        m_hoverTimer.stop();
    m_highlightedRow = row;
    m_model->SetDropHighlightRow(row);
}

void CFileView::Drop(QDropEvent* event)
{
    SetDropHighlight(-1);
    const Qt::DropAction effect = m_acceptDrop ? EffectOf(event->modifiers()) : Qt::IgnoreAction;
    if (effect == Qt::IgnoreAction || Root().isEmpty()) {
        event->ignore();
        return;
    }
    const std::string folder = IsLocal() ? CurrentFolder().toStdString() : m_model->FolderBytes();
    ExecuteTransferData(*event->mimeData(), effect == Qt::MoveAction ? DropMove : DropCopy, Root().toStdString(),
                        folder);
    event->setDropAction(effect);
    event->accept();
}
