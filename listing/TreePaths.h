// How a node of the folder tree becomes a server name, a remote path or a local path. Plain
// functions over the texts from the root-level node down to the node, so they are tested
// without a tree.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

inline constexpr char kMyComputer[] = "My Computer";

// The root-level node's text: a server name, or "My Computer" for the local side. (Server names
// may hold "/", so the text is not cut at one.)
QString ServerNameOfTexts(const QStringList& texts);

// The names below the server joined with "/", with the one "//" that a start folder "/" leaves
// made single. For the server node itself, `firstChild` (its first start folder) is used. On
// bytes, as the server sent them, so the path goes back to it unchanged.
std::string RemotePathOfNames(const std::vector<std::string>& names, const std::string& firstChild);
// The same over the texts shown.
QString RemotePathOfTexts(const QStringList& texts, const QString& firstChildText);

// `placePath` is the folder of the place under "My Computer" ("/", "/home/ann"); `below` are
// the folder names under that place. Empty for "My Computer" itself, which lists nothing.
QString LocalPathOfTexts(const QString& placePath, const QStringList& below);

// Up One Level on a server node: the start folder one level up, or none when it cannot go
// higher (the root, or a path with no separator at all). On the bytes the server sent.
std::optional<std::string> ParentStartDirectory(const std::string& directory);
