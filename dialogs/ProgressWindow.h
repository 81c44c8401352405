// The transfer progress window: file, percentage bar, byte count and Cancel. The transfer runs
// on a worker thread and drives the window through QtProgressView, which forwards every change
// to the user-interface thread; the window asks for a cancel through a link that the view
// severs before the transfer's QorFtpProgress goes away.
#pragma once

#include "QorFtpUi.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <mutex>

class QLabel;
class QProgressBar;
class QPushButton;
class TransferProgressWnd;

// Shared by the view (transfer thread) and the window (user-interface thread).
struct ProgressLink {
    // Null once the view is destroyed: the window then calls nothing.
    void RequestCancel();
    void SetMinimized(bool minimized);

    std::mutex lock;
    QorFtpProgress* progress = nullptr;
    // Touched on the user-interface thread only.
    QPointer<TransferProgressWnd> window;
};

class TransferProgressWnd : public QWidget {
    Q_OBJECT
public:
    explicit TransferProgressWnd(std::shared_ptr<ProgressLink> link);

    void SetCaption(const QString& caption);
    void SetFileText(const QString& text);
    void SetPercent(int percent);
    void SetByteText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::shared_ptr<ProgressLink> m_link;
    QLabel* m_fileText;
    QProgressBar* m_progress;
    QLabel* m_byteText;
    QPushButton* m_cancel;
};

class QtProgressView : public QorFtpProgressView {
public:
    explicit QtProgressView(QorFtpProgress& progress);
    ~QtProgressView() override;

    void SetCaption(const std::string& caption) override;
    void SetFileText(const std::string& text) override;
    void SetPercent(int percent) override;
    void SetByteText(const std::string& text) override;

    const std::shared_ptr<ProgressLink>& Link() const { return m_link; }

private:
    // Queued to the window, on the user-interface thread.
    void Post(std::function<void(TransferProgressWnd&)> change);

    std::shared_ptr<ProgressLink> m_link;
};
