// How a node of the folder tree becomes a server name, a remote path or a local path. Plain
// functions over the texts from the root-level node down to the node, so they are tested
// without a tree.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

inline constexpr char kMyComputer[] = "My Computer";

// The root-level node's text: a server name, or "My Computer" for the local side. (Server names
// may hold "/", so the text is not cut at one.)
QString ServerNameOfTexts(const QStringList& texts);

// The texts below the server joined with "/", with the one "//" that a start folder "/" leaves
// made single. For the server node itself, `firstChildText` (its first start folder) is used.
QString RemotePathOfTexts(const QStringList& texts, const QString& firstChildText);

// `placePath` is the folder of the place under "My Computer" ("/", "/home/ann"); `below` are
// the folder names under that place. Empty for "My Computer" itself, which lists nothing.
QString LocalPathOfTexts(const QString& placePath, const QStringList& below);

// Up One Level on a server node: the start folder one level up, or none when it cannot go
// higher (the root, or a path with no separator at all).
std::optional<QString> ParentStartDirectory(const QString& directory);
