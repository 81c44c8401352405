#include "filelist/FolderWatch.h"

#include <QFileSystemWatcher>

namespace {
constexpr int kSettleMs = 200;
}

FolderWatch::FolderWatch(QObject* parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        m_folder.clear();
        emit Changed();
    });
}

void FolderWatch::Start(const QString& folder)
{
    Stop();
    // A new watcher per folder: a notice still queued for the old one cannot reach the new one.
    m_watcher = new QFileSystemWatcher(this);
    if (!m_watcher->addPath(folder)) {
        delete m_watcher;
        m_watcher = nullptr;
        return;
    }
    m_folder = folder;
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderWatch::DirectoryChanged);
}

void FolderWatch::Stop()
{
    m_settle.stop();
    m_folder.clear();
    if (m_watcher) {
        m_watcher->disconnect(this);
        m_watcher->deleteLater();
        m_watcher = nullptr;
    }
}

void FolderWatch::DirectoryChanged()
{
    if (!m_watcher || m_settle.isActive())
        return;
    // One report per watch: later notices of the same burst are not wanted.
    m_watcher->disconnect(this);
    m_watcher->deleteLater();
    m_watcher = nullptr;
    m_settle.start();
}
