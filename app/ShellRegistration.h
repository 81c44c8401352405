// Makes .ftp scripts known to the desktop: a MIME type, a desktop entry that opens them with
// Tarvo, and the program's icon, all in the user's data folder. Each file is written once; a
// file already there, the user's own or an older one, is left alone. An installed program has
// them from its package and writes none.
#pragma once

#include <QString>
#include <QStringList>

// True when `program` runs from an install: it lives in a bin folder beside the share folder that
// holds its desktop entry (share/applications/tarvo.desktop).
bool IsInstalledProgram(const QString& program);

// `dataFolder` is $XDG_DATA_HOME (~/.local/share) unless a test chooses another.
// Returns the files it wrote.
QStringList RegisterScriptFileType(const QString& program, const QString& dataFolder = {});
