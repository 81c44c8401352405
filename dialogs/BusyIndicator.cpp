#include "dialogs/BusyIndicator.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

BusyIndicator::BusyIndicator(QWidget* parent)
    : QWidget(parent)
{
    setFixedWidth(31);
    setCursor(Qt::PointingHandCursor);
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrameCount;
        update();
    });
}

QSize BusyIndicator::sizeHint() const
{
    return {31, 24};
}

void BusyIndicator::Play()
{
    m_frame = 0;
    m_timer.start();
    update();
}

void BusyIndicator::Stop()
{
    m_timer.stop();
    m_frame = 0;
    update();
}

void BusyIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 4;
    const QPointF centre = QRectF(rect()).center();
    const qreal ring = side / 2 - side / 8;
    const qreal dot = qMax<qreal>(1.5, side / 9);
    const QColor active = palette().color(QPalette::Highlight);
    const QColor idle = palette().color(QPalette::Mid);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < kFrameCount; ++i) {
        const qreal angle = 2 * M_PI * i / kFrameCount - M_PI / 2;
        const QPointF at(centre.x() + ring * qCos(angle), centre.y() + ring * qSin(angle));
        QColor color = idle;
        if (IsPlaying()) {
            // The leading dot is solid, the ones behind it fade out.
            const int behind = (m_frame - i + kFrameCount) % kFrameCount;
            color = active;
            color.setAlphaF(qMax(0.15, 1.0 - behind / qreal(kFrameCount - 4)));
        }
        painter.setBrush(color);
        painter.drawEllipse(at, dot, dot);
    }
}

void BusyIndicator::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QWidget::mousePressEvent(event);
}
