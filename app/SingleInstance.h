// One running Tarvo per user: a second start hands its request to the first over a local
// socket and ends. A script to open travels as the shell's open request, [open("path")]; an
// empty request only brings the running window forward.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QLocalServer;

// The script that a shell open request names: the text after [open(" up to the next double
// quote. Without that quote, or for any other request, nothing.
std::optional<QString> ParseShellOpenRequest(const QString& request);

// [open("path")] for the file.
QString ShellOpenRequest(const QString& path);

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Per user, so two people on one machine each get their own.
    static QString DefaultServerName();

    explicit SingleInstance(const QString& serverName = DefaultServerName(), QObject* parent = nullptr);

    // True when a running instance took the request.
    bool HandOver(const QString& request, int timeoutMilliseconds = 3000) const;
    // Becomes the running instance; false when the name cannot be had.
    bool Listen();

signals:
    void RequestReceived(const QString& request);

private:
    QString m_serverName;
    QLocalServer* m_server = nullptr;
};
