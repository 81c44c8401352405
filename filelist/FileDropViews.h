// The list's two views with the list's own drag and drop: a drag of rows starts from the list's
// selection, and drops go to the list's folder, whichever view is on the screen.
#pragma once

#include "filelist/CFileView.h"

#include <QAbstractItemView>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>

template <typename View> class FileDropView : public View {
public:
    FileDropView(CFileView* owner, QWidget* parent)
        : View(parent)
        , m_owner(owner)
    {
        this->setDragEnabled(true);
        this->setAcceptDrops(true);
        this->setDropIndicatorShown(false);
        this->setDragDropMode(QAbstractItemView::DragDrop);
        // Drags arrive at the viewport, which takes them only when it says so itself.
        this->viewport()->setAcceptDrops(true);
    }

protected:
    void startDrag(Qt::DropActions) override
    {
        // Only the left button drags rows; the right one is for the context menu.
        if (QGuiApplication::mouseButtons() & Qt::LeftButton)
            m_owner->StartRowDrag(this);
    }
    void dragEnterEvent(QDragEnterEvent* event) override { m_owner->DragEnter(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { m_owner->DragMove(event, this); }
    void dragLeaveEvent(QDragLeaveEvent*) override { m_owner->DragLeave(); }
    void dropEvent(QDropEvent* event) override { m_owner->Drop(event); }

private:
    CFileView* m_owner;
};
