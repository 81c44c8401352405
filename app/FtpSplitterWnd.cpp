#include "app/FtpSplitterWnd.h"

#include <QApplication>
#include <QWheelEvent>

CFtpSplitterWnd::CFtpSplitterWnd(QWidget* parent)
    : QSplitter(Qt::Horizontal, parent)
{
    setObjectName(QStringLiteral("CFtpSplitterWnd"));
    setChildrenCollapsible(false);
}

void CFtpSplitterWnd::SetPanes(QWidget* tree, QWidget* fileList)
{
    const QList<int> sizes = this->sizes();
    while (count() > 0)
        delete widget(0);
    insertWidget(0, tree);
    insertWidget(1, fileList);
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    if (sizes.size() == 2)
        setSizes(sizes);
}

void CFtpSplitterWnd::wheelEvent(QWheelEvent* event)
{
    if (m_forwarding) {
        event->accept();
        return;
    }
    const QPoint global = event->globalPosition().toPoint();
    for (int column = 0; column < count(); ++column) {
        QWidget* pane = widget(column);
        if (!pane->rect().contains(pane->mapFromGlobal(global)))
            continue;
        // The pane's own scroll area takes the turn where the pane has one.
        QWidget* target = pane->childAt(pane->mapFromGlobal(global));
        if (!target)
            target = pane;
        QWheelEvent forwarded(target->mapFromGlobal(event->globalPosition()), event->globalPosition(),
                              event->pixelDelta(), event->angleDelta(), event->buttons(), event->modifiers(),
                              event->phase(), event->inverted(), event->source());
        m_forwarding = true;
        QApplication::sendEvent(target, &forwarded);
        m_forwarding = false;
        event->accept();
        return;
    }
    // Over neither pane: dropped.
    event->accept();
}
