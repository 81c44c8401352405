// The start-up picture: shown for four seconds over the disabled main window, which it then
// enables and brings to the front.
#pragma once

#include <QPixmap>
#include <QWidget>

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMilliseconds = 4000;

    explicit SplashWindow(QWidget* mainWindow);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Finish();

    QPixmap m_picture;
};
