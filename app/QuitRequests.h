// Quits that do not come from the window: SIGTERM, SIGINT and SIGHUP (a terminal closing, a
// service manager) and the desktop session ending. Each ends the event loop; main then cancels
// what still runs and leaves with status 0, where the close box refuses while operations run.
#pragma once

#include <QObject>

class QSocketNotifier;

class QuitRequests : public QObject {
    Q_OBJECT
public:
    // Installs the signal handlers; one object in the program.
    explicit QuitRequests(QObject* parent = nullptr);
    ~QuitRequests() override;

signals:
    void quitRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
