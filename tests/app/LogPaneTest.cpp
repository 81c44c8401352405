// The Log pane: bounded per connection, a real login's conversation (and a refused one) reaching
// it from worker threads with the password masked, Copy and Clear, remembered across runs.
#include "GuiTestSupport.h"

#include "PyFtpd.h"

#include "app/LogPane.h"
#include "app/MainFrame.h"
#include "app/QtFtpUi.h"
#include "app/SelkDoc.h"
#include "dialogs/CommandIds.h"
#include "operations/TraceLog.h"

#include "QorFtp.h"

#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QTreeView>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace tarvo::test;

namespace {

TraceEntry Line(quintptr connection, bool sent, const QString& text)
{
    return TraceEntry{connection, QDateTime(QDate(2026, 12, 7), QTime(12, 1, 2)), QStringLiteral("127.0.0.1"), sent,
                      text};
}

} // namespace

class LogPaneTest : public QObject {
    Q_OBJECT

private:
    QStringList Texts() const
    {
        QStringList texts;
        for (int row = 0; row < Model()->rowCount(); ++row)
            texts << FormatTraceEntry(Model()->Entry(row)).mid(9);
        return texts;
    }
    TraceLogModel* Model() const { return m_frame->m_logPane->Model(); }
    QAction* Toggle() const { return m_frame->m_logPane->toggleViewAction(); }

    TemporarySettings m_settings;
    CSelkDoc m_document;
    QtFtpUi m_ftpUi;
    std::unique_ptr<CMainFrame> m_frame;

private slots:
    void init()
    {
        QVERIFY(m_settings.IsValid());
        QorFtpSetUi(&m_ftpUi);
        OpenSettingsStore()->remove(QStringLiteral("Window"));
        m_frame = std::make_unique<CMainFrame>(m_document);
        m_frame->show();
    }
    void cleanup()
    {
        QorFtpSetUi(nullptr);
        m_frame.reset();
    }

    void oldestLinesOfAConnectionGoFirst()
    {
        TraceLogModel model;
        for (int i = 0; i < 3; ++i)
            model.Append(Line(2, false, QStringLiteral("other %1").arg(i)));
        for (int i = 0; i < TraceLogModel::kLinesPerConnection + 5; ++i)
            model.Append(Line(1, true, QStringLiteral("line %1").arg(i)));
        model.Append(Line(2, false, QStringLiteral("other 3")));
        QCOMPARE(model.LinesOf(1), TraceLogModel::kLinesPerConnection);
        QCOMPARE(model.LinesOf(2), 4);
        QCOMPARE(model.rowCount(), TraceLogModel::kLinesPerConnection + 4);
        QCOMPARE(model.Entry(0).text, QStringLiteral("other 0"));
        QCOMPARE(model.Entry(3).text, QStringLiteral("line 5"));
        QCOMPARE(model.Entry(model.rowCount() - 1).text, QStringLiteral("other 3"));
    }

    void errorRepliesMarkedAndLinesFormatted()
    {
        // Received lines with a 4xx or 5xx code only; a command is never an error.
        const std::pair<const char*, bool> received[]
            = {{"530 Login incorrect.", true}, {"421 Too many", true}, {"230 ok", false}, {" 5 files", false}};
        for (const auto& [text, error] : received)
            QVERIFY2(Line(1, false, QString::fromLatin1(text)).IsError() == error, text);
        QVERIFY(!Line(1, true, QStringLiteral("550")).IsError());
        QCOMPARE(FormatTraceEntry(Line(1, true, QStringLiteral("USER ann"))),
                 QStringLiteral("12:01:02 127.0.0.1 > USER ann"));
    }

    void coloursReadableLightAndDark()
    {
        for (const auto& [base, text] : {std::pair{Qt::white, Qt::black}, std::pair{Qt::black, Qt::white}}) {
            QPalette palette;
            palette.setColor(QPalette::Base, base);
            palette.setColor(QPalette::Text, text);
            const QColor sent = LogPane::LineColour(palette, true, false);
            const QColor received = LogPane::LineColour(palette, false, false);
            const QColor error = LogPane::LineColour(palette, false, true);
            QCOMPARE(received, QColor(text));
            QVERIFY(sent != received && error != received && error != sent);
            for (const QColor& colour : {sent, error})
                QVERIFY2(std::abs(colour.lightness() - QColor(base).lightness()) > 120, qPrintable(colour.name()));
        }
    }

    void realConversationsWithPasswordMasked()
    {
        PyFtpd server;
        const auto login = [&server](const char* password) {
            std::atomic<int> result = -1;
            std::thread worker([&] {
                QorFtpConnection connection;
                result = connection.Login("127.0.0.1", PyFtpd::kUser, password, server.port(), "");
                connection.Close();
            });
            // The refused login's message waits on this thread.
            WhenModalShows<QMessageBox>(qApp, [](QMessageBox* box) { box->accept(); });
            if (!QTest::qWaitFor([&result] { return result != -1; }, 15000))
                qWarning("the login did not end");
            worker.join();
            return result.load();
        };
        QVERIFY(!Toggle()->isChecked());
        QVERIFY(!m_ftpUi.Tracing());
        QCOMPARE(login(PyFtpd::kPassword), 1);
        QCoreApplication::processEvents();
        QCOMPARE(Model()->rowCount(), 0);

        // As a user opens it: View > Log.
        QMenu* view = m_frame->findChildren<QMenu*>().value(2);
        QVERIFY(view->actions().contains(Toggle()));
        QCOMPARE(Toggle()->text(), QStringLiteral("&Log"));
        Toggle()->trigger();
        QVERIFY(m_frame->m_logPane->isVisible());
        QVERIFY(m_ftpUi.Tracing());
        QCOMPARE(login(PyFtpd::kPassword), 1);
        QCOMPARE(login("wrong"), 0);
        QTRY_VERIFY(Texts().contains(QStringLiteral("127.0.0.1 < 530 Authentication failed.")));
        const QStringList texts = Texts();
        QCOMPARE(texts.value(0), QStringLiteral("127.0.0.1 < 220 pyftpdlib ready"));
        QVERIFY2(texts.contains(QStringLiteral("127.0.0.1 > USER user")), qPrintable(texts.join(u'\n')));
        QCOMPARE(texts.count(QStringLiteral("127.0.0.1 > PASS ********")), 2);
        QVERIFY(texts.contains(QStringLiteral("127.0.0.1 < 230 Login successful.")));
        QVERIFY(!texts.join(u'\n').contains(QLatin1String(PyFtpd::kPassword)));
        QVERIFY(!texts.join(u'\n').contains(QLatin1String("wrong")));
        // The refusal is marked as an error.
        const int refused = static_cast<int>(texts.indexOf(QStringLiteral("127.0.0.1 < 530 Authentication failed.")));
        QVERIFY(Model()->index(refused, 0).data(TraceLogModel::ErrorRole).toBool());
        QVERIFY(!Model()->index(0, 0).data(TraceLogModel::ErrorRole).toBool());

        // Ctrl+C in the view copies the selected lines, not the frame's files.
        QTreeView* logView = m_frame->findChild<QTreeView*>(QStringLiteral("LogView"));
        QVERIFY(!logView->accessibleName().isEmpty());
        logView->setFocus();
        logView->selectionModel()->select(Model()->index(refused, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        logView->selectionModel()->select(Model()->index(0, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QApplication::clipboard()->clear();
        // With the frame's Copy available, as it is once the file list is there.
        m_frame->Command(Command::Copy)->setEnabled(true);
        m_frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        QTest::keyClick(logView, Qt::Key_C, Qt::ControlModifier);
        const QStringList copied = QApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(copied.size(), 2);
        QVERIFY(copied[0].endsWith(QLatin1String(" 127.0.0.1 < 220 pyftpdlib ready")));
        QVERIFY(copied[1].endsWith(QLatin1String(" 127.0.0.1 < 530 Authentication failed.")));

        m_frame->findChild<QAction*>(QStringLiteral("LogClear"))->trigger();
        QCOMPARE(Model()->rowCount(), 0);
        // Closed, the log hears nothing again.
        Toggle()->trigger();
        QVERIFY(!m_ftpUi.Tracing());
    }

    void shownStateRemembered()
    {
        QVERIFY(!Toggle()->isChecked());
        Toggle()->trigger();
        for (bool shown : {true, false}) {
            m_frame = std::make_unique<CMainFrame>(m_document);
            m_frame->show();
            QCOMPARE(Toggle()->isChecked(), shown);
            QCOMPARE(m_frame->m_logPane->isVisible(), shown);
            QCOMPARE(TraceFeed::Instance().Listening(), shown);
            if (shown)
                Toggle()->trigger();
        }
    }
};

QTEST_MAIN(LogPaneTest)
#include "LogPaneTest.moc"
