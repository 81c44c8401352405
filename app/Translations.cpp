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

namespace {

// The English texts are the program's own; only those with a count take their one and many
// forms from a translation.
void InstallEnglishPlurals(QCoreApplication& app, const QStringList& folders)
{
    auto* plurals = new QTranslator(&app);
    for (const QString& folder : folders) {
        if (plurals->load(QStringLiteral("tarvo_en"), folder)) {
            app.installTranslator(plurals);
            return;
        }
    }
    delete plurals;
}

} // namespace

QString InstallTranslations(QCoreApplication& app, const QStringList& languages, const QStringList& folders)
{
    for (const QString& language : languages) {
        const QLocale locale(language);
        if (locale.language() == QLocale::English || locale.language() == QLocale::C) {
            InstallEnglishPlurals(app, folders);
            return {};
        }
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
    InstallEnglishPlurals(app, folders);
    return {};
}
