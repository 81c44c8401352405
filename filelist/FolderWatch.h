// Watches one local folder for entries that come, go or are renamed, and reports the first
// change once; whoever refills the folder starts the next watch.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QFileSystemWatcher;

class FolderWatch : public QObject {
    Q_OBJECT
public:
    explicit FolderWatch(QObject* parent = nullptr);

    // Stops a running watch first.
    void Start(const QString& folder);
    void Stop();
    bool IsWatching() const { return !m_folder.isEmpty(); }
    const QString& Folder() const { return m_folder; }

signals:
    void Changed();

private:
    void DirectoryChanged();

    QFileSystemWatcher* m_watcher = nullptr;
    // A file is often made in several steps; waiting a moment lets the refill see all of them.
    QTimer m_settle;
    QString m_folder;
};
