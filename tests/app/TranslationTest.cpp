// The program in German: the user's languages choose the translation, and the menus follow it.
#include "GuiTestSupport.h"
#include "app/MainFrame.h"
#include "app/SelkDoc.h"
#include "app/Translations.h"

#include <QMenuBar>
#include <QTest>
#include <QTranslator>

class TranslationTest : public QObject {
    Q_OBJECT

    TemporarySettings m_settings;

    static void RemoveTranslators()
    {
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    static QStringList MenuTitles()
    {
        CSelkDoc document;
        CMainFrame frame(document);
        QStringList titles;
        for (QAction* menu : frame.menuBar()->actions())
            titles << menu->text();
        return titles;
    }

private slots:
    void cleanup() { RemoveTranslators(); }

    void languageChosen_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QStringList>("menus");
        const QStringList english{"&File", "&Edit", "&View", "&Help"};
        const QStringList german{"&Datei", "&Bearbeiten", "&Ansicht", "&Hilfe"};
        QTest::newRow("German") << QStringList{"de-DE"} << "de-DE" << german;
        QTest::newRow("German, plain") << QStringList{"de"} << "de" << german;
        QTest::newRow("English first") << QStringList{"en-US", "de-DE"} << "" << english;
        QTest::newRow("unknown, then German") << QStringList{"sw", "de-AT"} << "de-AT" << german;
        QTest::newRow("none") << QStringList{} << "" << english;
    }
    void languageChosen()
    {
        QFETCH(QStringList, languages);
        QFETCH(QString, loaded);
        QFETCH(QStringList, menus);
        QVERIFY(m_settings.IsValid());
        QCOMPARE(InstallTranslations(*qApp, languages, {QStringLiteral(TARVO_QM_FOLDER)}), loaded);
        QCOMPARE(MenuTitles(), menus);
    }

    // Qt's own buttons come with the program's language.
    void qtButtonsFollow()
    {
        QCOMPARE(InstallTranslations(*qApp, {"de-DE"}, {QStringLiteral(TARVO_QM_FOLDER)}), QStringLiteral("de-DE"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    }
};

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
