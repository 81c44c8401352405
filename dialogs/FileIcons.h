// The pictures of the tree and the file list: the program's own five icons, folder and
// document icons, icons of local files and of remote files by extension, and the overlays.
// User-interface thread only (icons are pixmaps).
#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

// Lower-case extension (for "exe" and "lnk" files the whole lower-case name) to its icon.
// Filled as local files are shown and remote extensions are looked up, so each extension is
// asked of the icon theme once.
extern QHash<QString, QIcon> ExtensionIconMap;

namespace FileIcons {

// Each is taken from a file of that name in the program's folder when one exists
// ("caution.ico", "computer.ico", "conncomp.ico", "exeicon.ico", "checkmar.ico").
QIcon Caution(); // message rows
QIcon Computer(); // a server that is not connected
QIcon ConnectedComputer(); // "My Computer" and a connected server
QIcon Executable();
QIcon CheckMark();

// A closed folder with the open folder as its selected picture.
QIcon Folder();
QIcon Document();
// A place under "My Computer" ("/", the home folder, a volume).
QIcon Place(const QString& path);

QIcon LocalFile(const QString& path, const QString& iconKey);
QIcon RemoteFile(const QString& iconKey);

// `base` with the shortcut arrow and/or the check mark drawn over it.
QIcon WithOverlays(const QIcon& base, bool shortcut, bool check);

} // namespace FileIcons
