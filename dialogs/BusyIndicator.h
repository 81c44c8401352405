// The toolbar's animation: a ring of dots that turns while background work runs. A click on it
// is reported so the frame can toggle the background-operations window.
#pragma once

#include <QTimer>
#include <QWidget>

class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrameCount = 12;

    explicit BusyIndicator(QWidget* parent = nullptr);

    // From the first frame to the last, repeating without end.
    void Play();
    // Stops and returns to the first frame.
    void Stop();
    bool IsPlaying() const { return m_timer.isActive(); }
    int CurrentFrame() const { return m_frame; }

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTimer m_timer;
    int m_frame = 0;
};
