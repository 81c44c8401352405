// The document's two duties: the connection whose folder is shown, and refusing to let the main
// window close while background operations run.
#pragma once

class QorFtpConnection;
class QWidget;

class CSelkDoc {
public:
    // Written by the tree when it changes its current connection; read by the file list.
    QorFtpConnection* m_pConnection = nullptr;

    // Says why when it refuses; nothing is cancelled.
    bool CanCloseFrame(QWidget* frame) const;
};
