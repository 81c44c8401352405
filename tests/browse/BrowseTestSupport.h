// Shared by the browsing tests: the window tests' settings and dialog answers, a recording
// operation host and library interface, answers for the connect dialog, a model's texts, and the
// whole main window with its panes as a base for tests that drive its commands and drops.
#pragma once

#include "GuiTestSupport.h"

#include "PyFtpd.h"
#include "RecordingHost.h"
#include "RecordingInteraction.h"
#include "RecordingUi.h"
#include "app/BrowsePanes.h"
#include "app/MainFrame.h"
#include "app/SelkDoc.h"
#include "dialogs/ConnectDialog.h"
#include "filelist/CFileView.h"
#include "filelist/MarkTable.h"
#include "listing/TreePaths.h"
#include "operations/CommandThread.h"
#include "operations/Executor.h"
#include "operations/OperationLists.h"
#include "operations/TransferList.h"
#include "servers/ServerMap.h"
#include "tree/CPathView.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <filesystem>
#include <string>
#include <vector>

using tarvo::test::RecordingHost;
using tarvo::test::RecordingUi;

// Fills the next connect dialog for a server on 127.0.0.1 and presses Connect once the dialog
// is on the screen.
inline void AnswerConnectDialog(QObject* owner, const QString& name, unsigned port, const QString& user = {},
                                const QString& password = {})
{
    WhenModalShows<CConnectDlg>(owner, [=](CConnectDlg* dialog) {
        // The name first: typing a new one clears the other fields.
        dialog->findChild<QComboBox*>(QStringLiteral("1007"))->setEditText(name);
        dialog->findChild<QLineEdit*>(QStringLiteral("1064"))->setText(QStringLiteral("127.0.0.1"));
        dialog->findChild<QLineEdit*>(QStringLiteral("1001"))->setText(user);
        dialog->findChild<QLineEdit*>(QStringLiteral("1003"))->setText(password);
        dialog->findChild<QLineEdit*>(QStringLiteral("1005"))->setText(QString::number(port));
        dialog->findChild<QPushButton*>(QStringLiteral("1"))->click();
    });
}

// True once the spy has fired, whether it did so before this call or within the time.
inline bool Fired(QSignalSpy& spy, int ms = 15000)
{
    return spy.count() > 0 || spy.wait(ms);
}

// The texts of one column below `parent`, top to bottom.
inline QStringList ColumnTexts(const QAbstractItemModel* model, int column = 0, const QModelIndex& parent = {})
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(parent); ++row)
        texts << model->index(row, column, parent).data().toString();
    return texts;
}

// The main window with the folder tree and the file list put together as the program does,
// every question answered by a RecordingInteraction. A test class derives from it and calls
// StartWindow() in init() and EndWindow() in cleanup().
class BrowseWindowTest : public QObject {
protected:
    QStringList Names() const { return ColumnTexts(m_list->Model(), CFileListModel::NameColumn); }
    QAction* Action(int id) const { return m_frame->Command(id); }

    void StartWindow()
    {
        SetOperationHost(&m_host);
        QorFtpSetUi(&m_ui);
        SetInteraction(&m_ask);
        m_ask = tarvo::test::RecordingInteraction();
        ServerMap.clear();
        MarkTable.clear();
        OperationStatusList.Clear();
        m_document = std::make_unique<CSelkDoc>();
        m_frame = std::make_unique<CMainFrame>(*m_document);
        m_tree = new CPathView;
        m_list = new CFileView;
        LinkPanes(m_tree, m_list);
        m_frame->SetPanes(m_tree, m_list);
        ConnectPaneCommands(m_tree, m_list, [this](int id) { return m_frame->Command(id); });
        // One transfer at a time: pyftpdlib now and then loses track of one of several active-mode
        // data connections it opens at once and never answers that PORT.
        ProgramExecutor().SetTransferLimit(1);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        // The start-up listing of the first local place comes first.
        QTRY_COMPARE(m_list->Root(), QString::fromLatin1(kMyComputer));
    }
    void EndWindow()
    {
        QVERIFY(WaitForOperations(std::chrono::seconds(20)));
        ProgramExecutor().SetTransferLimit(0);
        m_frame.reset();
        m_document.reset();
        // The tree's list of connections outlives the tree.
        while (ConnectionList.TakeFirst()) { }
        SetInteraction(nullptr);
        QorFtpSetUi(nullptr);
        SetOperationHost(nullptr);
    }

    // Connects to the server and shows its start folder in the list, with the list active.
    bool Open(const tarvo::test::PyFtpd& server, const QString& name = QStringLiteral("Local"))
    {
        QSignalSpy done(m_tree, &CPathView::ConnectionCompleted);
        AnswerConnectDialog(this, name, server.port(), QStringLiteral("user"), QStringLiteral("secret"));
        m_tree->OnNewConnection();
        if (!Fired(done) || !done.last().at(1).toBool())
            return false;
        return ShowFolder(StartNode(name), name);
    }
    QModelIndex StartNode(const QString& server) const
    {
        return m_tree->Model()->index(0, 0, m_tree->ServerIndex(server));
    }
    bool ShowFolder(const QModelIndex& node, const QString& root = QStringLiteral("Local"))
    {
        // From elsewhere, so the selection changes even when the node is current already.
        m_tree->setCurrentIndex(m_tree->MyComputerIndex());
        m_tree->setCurrentIndex(node);
        // The connect dialog took the activation with it.
        m_frame->activateWindow();
        m_list->CurrentView()->setFocus();
        return QTest::qWaitFor([&] { return m_list->Root() == root && m_list->CurrentView()->hasFocus(); });
    }
    // Runs `step` and waits until the list has been filled again.
    bool Refilled(const std::function<void()>& step)
    {
        QSignalSpy fill(m_list, &CFileView::FillFinished);
        step();
        return Fired(fill);
    }
    // Shows a local folder in the list, with the list active.
    bool ShowLocalFolder(const std::string& path)
    {
        const QString folder = QString::fromStdString(path);
        if (!m_tree->SelectLocalPath(folder).isValid())
            return false;
        m_list->CurrentView()->setFocus();
        return QTest::qWaitFor([&] { return m_list->CurrentFolder() == folder + QLatin1Char('/'); });
    }
    void SelectNamed(const QStringList& names)
    {
        m_list->SelectionModel()->clearSelection();
        for (const QString& name : names) {
            const int row = static_cast<int>(Names().indexOf(name));
            QVERIFY2(row >= 0, qPrintable(name));
            // As a click in the list mode does: the name cell alone.
            m_list->SelectionModel()->select(m_list->Model()->index(row, 0), QItemSelectionModel::Select);
        }
    }
    // Triggers a command as the menu or its key does; false when it is disabled.
    bool Trigger(int id)
    {
        QAction* action = Action(id);
        if (!action || !action->isEnabled())
            return false;
        action->trigger();
        return true;
    }
    // Waits, with the window answering the workers, until the background operations made the file.
    static bool Arrived(const std::string& path, const std::string& bytes)
    {
        return QTest::qWaitFor(
            [&] {
                std::error_code error;
                return std::filesystem::file_size(path, error) == bytes.size() && !error
                    && tarvo::test::ReadFileBytes(path) == bytes;
            },
            20000);
    }
    // What a drag brings over `widget` at `at`, with the keys held: the answer of the last event.
    struct DragAnswer {
        bool accepted = false;
        Qt::DropAction action = Qt::IgnoreAction;
    };
    static DragAnswer DragOver(QWidget* widget, const QPoint& at, const QMimeData& data,
                               Qt::KeyboardModifiers keys = Qt::NoModifier, bool drop = false)
    {
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(widget, &enter);
        QDragMoveEvent move(at, offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(widget, &move);
        if (!drop)
            return {move.isAccepted(), move.dropAction()};
        QDropEvent dropped(QPointF(at), offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(widget, &dropped);
        return {dropped.isAccepted(), dropped.dropAction()};
    }
    static std::unique_ptr<QMimeData> Remote(const std::string& server, const std::vector<std::string>& paths)
    {
        auto data = std::make_unique<QMimeData>();
        data->setData(QLatin1String(kTransferListMimeType), *WriteTransferList(server, paths));
        return data;
    }
    QWidget* ListArea() const { return m_list->CurrentView()->viewport(); }
    // A point of the list with no row under it.
    QPoint EmptyListPoint() const { return ListArea()->rect().bottomRight() - QPoint(5, 5); }

    TemporarySettings m_settings;
    RecordingHost m_host;
    RecordingUi m_ui;
    tarvo::test::RecordingInteraction m_ask;
    std::unique_ptr<CSelkDoc> m_document;
    std::unique_ptr<CMainFrame> m_frame;
    CPathView* m_tree = nullptr;
    CFileView* m_list = nullptr;
};
