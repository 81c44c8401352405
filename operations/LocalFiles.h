// Local files on the clipboard and in drops (text/uri-list with file:// URLs, what Linux file
// managers exchange), and the local copy and move of dropped files.
#pragma once

#include <QString>

#include <string>
#include <vector>

class QMimeData;

// Puts `paths` on `data` as text/uri-list.
void SetLocalFiles(QMimeData& data, const std::vector<std::string>& paths);
// The local files `data` names; URLs that are not local files are left out.
std::vector<std::string> LocalFilesOf(const QMimeData& data);

// `name` when `folder` has nothing of that name, otherwise the first free "name (2).ext",
// "name (3).ext", ... ("name (2)" without an extension; a leading dot does not start one).
QString FreeLocalName(const QString& folder, const QString& name);

// Copies or moves files and folders into `targetFolder`, giving each a free name there. A failure
// is shown and the next item goes on; nothing is removed before its copy is complete. Returns the
// number of items copied or moved.
int CopyOrMoveLocalFiles(const std::vector<std::string>& sources, const std::string& targetFolder, bool move);
