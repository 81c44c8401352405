#include "tree/LocalPlaces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

namespace {

// File systems that hold no user files, or only the system's own view of itself.
bool IsPseudo(const QStorageInfo& volume)
{
    static const QSet<QByteArray> pseudo = {
        "proc",        "sysfs",           "devtmpfs", "devpts",  "tmpfs",    "cgroup",  "cgroup2", "securityfs",
        "debugfs",     "tracefs",         "pstore",   "bpf",     "configfs", "fusectl", "mqueue",  "hugetlbfs",
        "autofs",      "binfmt_misc",     "efivarfs", "overlay", "squashfs", "nsfs",    "ramfs",   "rpc_pipefs",
        "fuse.portal", "fuse.gvfsd-fuse",
    };
    if (pseudo.contains(volume.fileSystemType()))
        return true;
    const QString root = volume.rootPath();
    for (const char* system : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot", "/var/lib"}) {
        const QString prefix = QString::fromLatin1(system);
        // Removable media are mounted under /run/media by some desktops.
        if ((root == prefix || root.startsWith(prefix + QLatin1Char('/')))
            && !root.startsWith(QLatin1String("/run/media/")))
            return true;
    }
    return false;
}

QString Text(const QString& name, const QString& path)
{
    return QStringLiteral("%1 (%2)").arg(name, path);
}

} // namespace

std::vector<LocalPlace> LocalPlaces()
{
    std::vector<LocalPlace> places;
    QSet<QString> seen;
    places.push_back(
        {Text(QCoreApplication::translate("LocalPlaces", "File System"), QStringLiteral("/")), QStringLiteral("/")});
    seen.insert(QStringLiteral("/"));
    const QString home = QDir::homePath();
    if (!seen.contains(home)) {
        places.push_back({Text(QCoreApplication::translate("LocalPlaces", "Home"), home), home});
        seen.insert(home);
    }
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        // Containers bind single files (/etc/hosts) as mounts; only folders can be browsed.
        if (!volume.isValid() || !volume.isReady() || seen.contains(root) || IsPseudo(volume)
            || !QFileInfo(root).isDir())
            continue;
        seen.insert(root);
        QString name = volume.name();
        if (name.isEmpty())
            name = QFileInfo(root).fileName();
        places.push_back({Text(name, root), root});
    }
    return places;
}
