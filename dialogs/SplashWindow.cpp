#include "dialogs/SplashWindow.h"

#include "dialogs/Artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

SplashWindow::SplashWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_picture(SplashPixmap())
{
    setObjectName(QStringLiteral("SplashWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_picture.size());
    const QScreen* screen
        = mainWindow && mainWindow->screen() ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
    QTimer::singleShot(kShowMilliseconds, this, &SplashWindow::Finish);
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter(this).drawPixmap(0, 0, m_picture);
}

void SplashWindow::Finish()
{
    QPointer<QWidget> mainWindow = parentWidget();
    close();
    if (mainWindow) {
        mainWindow->setEnabled(true);
        mainWindow->repaint();
        mainWindow->raise();
        mainWindow->activateWindow();
    }
}
