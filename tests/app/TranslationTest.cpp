// The program in German: the user's languages choose the translation, and the menus follow it.
#include "GuiTestSupport.h"
#include "app/LibraryMessages.h"
#include "app/MainFrame.h"
#include "app/SelkDoc.h"
#include "app/Translations.h"

#include <QMenu>
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

    // The letter after a single '&', lower-cased; none for "&&" or no mnemonic.
    static QChar Mnemonic(const QString& text)
    {
        for (qsizetype at = 0; at + 1 < text.size(); ++at) {
            if (text[at] != QLatin1Char('&'))
                continue;
            if (text[at + 1] != QLatin1Char('&'))
                return text[at + 1].toLower();
            ++at;
        }
        return {};
    }

    // "menu: letter shared by a, b" for every letter two entries of one menu (or its submenus) share.
    static QStringList SharedMnemonics(const QString& title, const QList<QAction*>& actions)
    {
        QStringList found;
        QMultiMap<QChar, QString> byLetter;
        for (QAction* action : actions) {
            if (action->isSeparator())
                continue;
            if (const QChar letter = Mnemonic(action->text()); !letter.isNull())
                byLetter.insert(letter, action->text());
            if (action->menu())
                found << SharedMnemonics(action->text(), action->menu()->actions());
        }
        for (const QChar letter : byLetter.uniqueKeys()) {
            if (byLetter.count(letter) > 1)
                found << QStringLiteral("%1: %2 shared by %3").arg(title, letter, byLetter.values(letter).join(", "));
        }
        return found;
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

    // Every menu of the window can be worked by Alt and one letter per entry, in either language.
    void mnemonicsUnique_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::newRow("English") << QStringList{};
        QTest::newRow("German") << QStringList{"de"};
    }
    void mnemonicsUnique()
    {
        QFETCH(QStringList, languages);
        InstallTranslations(*qApp, languages, {QStringLiteral(TARVO_QM_FOLDER)});
        CSelkDoc document;
        CMainFrame frame(document);
        frame.SetRecentScripts({"/tmp/a.ftp", "/tmp/b.ftp"});
        const QStringList shared = SharedMnemonics(QStringLiteral("menu bar"), frame.menuBar()->actions());
        QVERIFY2(shared.isEmpty(), qPrintable(shared.join(QStringLiteral("; "))));
    }

    // Qt's own buttons come with the program's language.
    void qtButtonsFollow()
    {
        QCOMPARE(InstallTranslations(*qApp, {"de-DE"}, {QStringLiteral(TARVO_QM_FOLDER)}), QStringLiteral("de-DE"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    }

    // The library's messages by their English templates, inserts kept as the server sent them.
    void libraryMessages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("german");
        QTest::newRow("two inserts, reply kept")
            << "Login to 'ftp.example' failed.\n\n530 Login incorrect."
            << "Anmeldung an 'ftp.example' fehlgeschlagen.\n\n530 Login incorrect.";
        QTest::newRow("numbers") << "The download ended after 10 of the file's 20 bytes."
                                 << "Der Download endete nach 10 von 20 Bytes der Datei.";
        QTest::newRow("insert holding %2") << "Delete file 'a%2b' failed.\n\n550 No."
                                           << "Löschen der Datei 'a%2b' fehlgeschlagen.\n\n550 No.";
        QTest::newRow("no inserts") << "Not Connected."
                                    << "Nicht verbunden.";
        QTest::newRow("server's own text") << "421 Too many users"
                                           << "421 Too many users";
    }
    void libraryMessages()
    {
        QFETCH(QString, text);
        QFETCH(QString, german);
        QCOMPARE(TranslateLibraryMessage(text), text);
        QCOMPARE(InstallTranslations(*qApp, {"de"}, {QStringLiteral(TARVO_QM_FOLDER)}), QStringLiteral("de"));
        QCOMPARE(TranslateLibraryMessage(text), german);
    }
};

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
