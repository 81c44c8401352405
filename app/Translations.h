// The program in its user's language: its own translation and Qt's, for standard buttons and
// dialogs.
#pragma once

#include <QStringList>

class QCoreApplication;

// Where the program's .qm files are: beside the program while it is built, in share/tarvo
// once installed.
QStringList TranslationFolders();

// Installs on `app` the translation for the first of `languages` (BCP 47 names, the user's
// preference first) that the program has, with Qt's own for the same language. Nothing for an
// English user, nor for a language that comes after English. Looks in `folders`. Returns the language loaded, or an
// empty string.
QString InstallTranslations(QCoreApplication& app, const QStringList& languages,
                            const QStringList& folders = TranslationFolders());
