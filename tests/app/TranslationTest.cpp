// The program in German: the user's languages choose the translation, and the menus follow it.
#include "EveryWindow.h"
#include "GuiTestSupport.h"
#include "app/LibraryMessages.h"
#include "app/QtInteraction.h"
#include "app/MainFrame.h"
#include "app/SelkDoc.h"
#include "app/Translations.h"
#include "operations/OperationTexts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
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

    // The parts of Qt's file dialog, by name: their texts come in Qt's own translation.
    static QSet<QString> FileDialogParts()
    {
        QFileDialog plain;
        plain.setOptions(QFileDialog::DontUseNativeDialog);
        QSet<QString> names;
        for (const QObject* part : plain.findChildren<QObject*>())
            if (!part->objectName().isEmpty())
                names.insert(part->objectName());
        return names;
    }

    // Whether `widget` is Qt's own: a part of the file dialog, or a standard button showing the
    // text Qt gives it (translated by Qt's catalogue).
    static bool QtsOwn(QWidget* widget, const QWidget* window, const QSet<QString>& fileDialogParts)
    {
        if (qobject_cast<const QFileDialog*>(window)) {
            for (const QWidget* at = widget; at && at != window; at = at->parentWidget())
                if (fileDialogParts.contains(at->objectName()))
                    return true;
        }
        auto* button = qobject_cast<QPushButton*>(widget);
        const auto* box = button ? qobject_cast<const QDialogButtonBox*>(button->parentWidget()) : nullptr;
        if (!box || box->standardButton(button) == QDialogButtonBox::NoButton)
            return false;
        QDialogButtonBox standard(box->standardButton(button));
        return standard.buttons().constFirst()->text() == button->text();
    }

    // Every text of `window` a user can see now that is not bracketed: "where: text".
    static QStringList Unbracketed(QWidget* window, const QSet<QString>& fileDialogParts)
    {
        QStringList found;
        const auto check = [&found](const QObject* where, const QString& text) {
            const QString shown = text.trimmed();
            // The program's name, a message box's title, reads the same in every language.
            if (shown.isEmpty() || shown == QLatin1String("Tarvo"))
                return;
            if (!(shown.startsWith(QLatin1Char('[')) && shown.endsWith(QLatin1Char(']'))))
                found << QStringLiteral("not bracketed: %1 %2: %3")
                             .arg(QString::fromLatin1(where->metaObject()->className()), where->objectName(), shown);
        };
        const std::function<void(const QWidget*, const QList<QAction*>&)> menu
            = [&](const QWidget* owner, const QList<QAction*>& actions) {
                  for (const QAction* action : actions) {
                      check(owner, action->text());
                      check(owner, action->statusTip());
                      if (action->menu())
                          menu(action->menu(), action->menu()->actions());
                  }
              };
        check(window, window->windowTitle());
        if (auto* frame = qobject_cast<QMainWindow*>(window))
            menu(frame->menuBar(), frame->menuBar()->actions());
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(window) || QtsOwn(widget, window, fileDialogParts))
                continue;
            check(widget, widget->toolTip());
            check(widget, widget->accessibleName());
            if (auto* label = qobject_cast<QLabel*>(widget))
                check(label, label->text());
            else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                check(button, button->text());
            else if (auto* group = qobject_cast<QGroupBox*>(widget))
                check(group, group->title());
            else if (auto* tabs = qobject_cast<QTabWidget*>(widget))
                for (int i = 0; i < tabs->count(); ++i)
                    check(tabs, tabs->tabText(i));
            else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && !combo->isEditable())
                for (int i = 0; i < combo->count(); ++i)
                    check(combo, combo->itemText(i));
            else if (qobject_cast<QToolBar*>(widget) || qobject_cast<QDockWidget*>(widget))
                check(widget, widget->windowTitle());
            else if (auto* header = qobject_cast<QHeaderView*>(widget); header && header->model())
                for (int i = 0; i < header->count(); ++i)
                    if (!header->isSectionHidden(i))
                        check(header, header->model()->headerData(i, header->orientation()).toString());
        }
        return found;
    }

    // The texts cut short: a label, a button or a box narrower or lower than its text needs.
    static QStringList Clipped(QWidget* window)
    {
        QStringList clipped;
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(widget);
            auto* button = qobject_cast<QAbstractButton*>(widget);
            // A wrapped label grows downwards; one that may shrink elides its text itself.
            if (!widget->isVisibleTo(window) || (label && label->wordWrap())
                || widget->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored
                || !(label || (button && !button->text().isEmpty()) || qobject_cast<QGroupBox*>(widget)))
                continue;
            const QSize needed = widget->minimumSizeHint();
            if (widget->width() < needed.width() || widget->height() < needed.height())
                clipped << QStringLiteral("cut short: %1 %2 (%3 < %4)")
                               .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName())
                               .arg(widget->width())
                               .arg(needed.width());
        }
        return clipped;
    }

    // What Alt and a letter can reach in `window` now: its menus, its sheet's tabs, its buttons
    // and the labels that lead to a control.
    static QList<QAction*> MnemonicEntries(QWidget* window)
    {
        QList<QAction*> entries;
        const auto entry = [window](const QString& text) { return new QAction(text, window); };
        if (auto* frame = qobject_cast<QMainWindow*>(window))
            entries << frame->menuBar()->actions();
        for (QTabWidget* sheet : window->findChildren<QTabWidget*>())
            for (int tab = 0; tab < sheet->count(); ++tab)
                entries << entry(sheet->tabText(tab));
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(window))
                continue;
            if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy())
                entries << entry(label->text());
            else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                entries << entry(button->text());
            else if (auto* group = qobject_cast<QGroupBox*>(widget); group && group->isCheckable())
                entries << entry(group->title());
        }
        return entries;
    }

private slots:
    void cleanup() { RemoveTranslators(); }

    void languageChosen_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QStringList>("menus");
        // A count in English takes its one and many forms; empty: not looked at.
        QTest::addColumn<QString>("counts");
        const QStringList english{"&File", "&Edit", "&View", "&Help"};
        const QStringList german{"&Datei", "&Bearbeiten", "&Ansicht", "&Hilfe"};
        const QString englishCounts = QStringLiteral("1 file, 3 files, 1 folder");
        QTest::newRow("German") << QStringList{"de-DE"} << "de-DE" << german << QString();
        QTest::newRow("German, plain") << QStringList{"de"} << "de" << german << QString();
        QTest::newRow("English first") << QStringList{"en-US", "de-DE"} << "" << english << englishCounts;
        QTest::newRow("unknown, then German") << QStringList{"sw", "de-AT"} << "de-AT" << german << QString();
        QTest::newRow("none") << QStringList{} << "" << english << englishCounts;
    }
    void languageChosen()
    {
        QFETCH(QStringList, languages);
        QFETCH(QString, loaded);
        QFETCH(QStringList, menus);
        QVERIFY(m_settings.IsValid());
        QCOMPARE(InstallTranslations(*qApp, languages, {QStringLiteral(TARVO_QM_FOLDER)}), loaded);
        QCOMPARE(MenuTitles(), menus);
        QFETCH(QString, counts);
        if (!counts.isEmpty()) {
            const auto count = [](const char* text, int n) {
                return QCoreApplication::translate("FolderJob", text, nullptr, n);
            };
            QCOMPARE(QStringList({count("%n file(s)", 1), count("%n file(s)", 3), count("%n folder(s)", 1)})
                         .join(QStringLiteral(", ")),
                     counts);
        }
    }

    // Every window page by page (as the user turns a sheet's pages), in three languages: in the
    // pseudo-language no text bypasses the translation or is pieced together from parts; in German
    // none is cut short; in English and German Alt and a letter reach one control only, menus
    // included. Data (names, sizes) is left empty.
    void everyWindow_data() { AddEveryWindowRows(); }
    void everyWindow()
    {
        QFETCH(WindowFactory, window);
        QStringList found;
        for (const QString language : {"en", "de", "pseudo"}) {
            RemoveTranslators();
            if (language == QLatin1String("pseudo")) {
                auto* pseudo = new QTranslator(qApp);
                QVERIFY(pseudo->load(QStringLiteral(TARVO_PSEUDO_QM)));
                QCoreApplication::installTranslator(pseudo);
            } else {
                InstallTranslations(*qApp, {language}, {QStringLiteral(TARVO_QM_FOLDER)});
            }
            const std::unique_ptr<QWidget> shown = window();
            QVERIFY(Show(shown.get()));
            const QList<QTabWidget*> sheets = shown->findChildren<QTabWidget*>();
            for (int page = 0; page < (sheets.isEmpty() ? 1 : sheets.constFirst()->count()); ++page) {
                if (!sheets.isEmpty())
                    sheets.constFirst()->setCurrentIndex(page);
                QStringList problems = language == QLatin1String("pseudo")
                    ? Unbracketed(shown.get(), FileDialogParts())
                    : SharedMnemonics(shown->windowTitle(), MnemonicEntries(shown.get()));
                if (language == QLatin1String("de"))
                    problems << Clipped(shown.get());
                for (const QString& problem : problems)
                    found << language + QStringLiteral(": ") + problem;
            }
        }
        found.removeDuplicates();
        for (const QString& problem : found)
            qWarning("%s", qPrintable(problem));
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("%1 problems").arg(found.size())));
    }

    // Qt's own buttons come with the program's language.
    void qtButtonsFollow()
    {
        QCOMPARE(InstallTranslations(*qApp, {"de-DE"}, {QStringLiteral(TARVO_QM_FOLDER)}), QStringLiteral("de-DE"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    }

    // The operations' rows and messages are made in the user's language, inserts kept.
    void operationTexts()
    {
        OperationRequest request;
        request.kind = OperationKind::Download;
        request.file = "/pub/a %s.txt";
        request.sourceServer = "alpha";
        QCOMPARE(InstallTranslations(*qApp, {"de"}, {QStringLiteral(TARVO_QM_FOLDER)}), QStringLiteral("de"));
        const std::optional<StatusTexts> row = BackgroundStatusTexts(request);
        QVERIFY(row);
        QCOMPARE(row->description, std::string("/pub/a %s.txt wird von alpha heruntergeladen"));
        QCOMPARE(FillInsert(OperationText::Tr(OperationText::kTemporaryFileFailed), "/tmp", "a"),
                 std::string("In '/tmp' konnte keine temporäre Datei für 'a' angelegt werden."));
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
        QTest::newRow("count, one") << "The listing has 1 line(s) in a form that could not be read; they are not shown."
                                    << "Die Liste hat 1 Zeile in einer Form, die nicht gelesen werden konnte; "
                                       "sie wird nicht angezeigt.";
        QTest::newRow("count, more")
            << "The listing has 12 line(s) in a form that could not be read; they are not shown."
            << "Die Liste hat 12 Zeilen in einer Form, die nicht gelesen werden konnte; "
               "sie werden nicht angezeigt.";
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
        // As a folder job gathers them, for its list of what failed.
        QCOMPARE(QString::fromStdString(QtInteraction().LibraryText(text.toStdString())), german);
    }
};

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
