// Makes .ftp scripts known to the desktop: a MIME type, a desktop entry that opens them with
// Tarvo, and the program's icon, all in the user's data folder. Each file is written once; a
// file already there, the user's own or an older one, is left alone.
#pragma once

#include <QString>
#include <QStringList>

// `dataFolder` is $XDG_DATA_HOME (~/.local/share) unless a test chooses another.
// Returns the files it wrote.
QStringList RegisterScriptFileType(const QString& program, const QString& dataFolder = {});
