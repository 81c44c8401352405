#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QStringList TranslationFolders()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder + QStringLiteral("/translations"),
            programFolder + QStringLiteral("/../share/tarvo/translations")};
}

QString InstallTranslations(QCoreApplication& app, const QStringList& languages, const QStringList& folders)
{
    for (const QString& language : languages) {
        const QLocale locale(language);
        // The English texts are the program's own.
        if (locale.language() == QLocale::English || locale.language() == QLocale::C)
            return {};
        auto* program = new QTranslator(&app);
        bool found = false;
        for (const QString& folder : folders) {
            if (program->load(locale, QStringLiteral("tarvo"), QStringLiteral("_"), folder)) {
                found = true;
                break;
            }
        }
        if (!found) {
            delete program;
            continue;
        }
        app.installTranslator(program);
        auto* qt = new QTranslator(&app);
        if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            app.installTranslator(qt);
        else
            delete qt;
        return language;
    }
    return {};
}
