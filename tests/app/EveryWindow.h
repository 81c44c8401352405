// Every window of the program, built directly with empty data, for the tests that look at all of
// them at once (the pseudo-translation, the screen reader's names): the main window with its
// panes, and each dialog. The data a window shows (servers, files) is left empty, so what remains
// is the program's own text.
#pragma once

#include "app/BrowsePanes.h"
#include "app/MainFrame.h"
#include "app/SelkDoc.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/CertificateDialog.h"
#include "dialogs/CommandIds.h"
#include "dialogs/ConnectDialog.h"
#include "dialogs/DeleteConfirmDialog.h"
#include "dialogs/DownloadAsDialog.h"
#include "dialogs/FilePropertiesDialog.h"
#include "dialogs/InputDialog.h"
#include "dialogs/OperationsDlg.h"
#include "dialogs/OptionsSheet.h"
#include "dialogs/OverwriteDialog.h"
#include "dialogs/PermissionsDialog.h"
#include "dialogs/ProgressWindow.h"
#include "dialogs/ScriptEditorDialog.h"
#include "dialogs/ServerPropertySheet.h"
#include "filelist/CFileView.h"
#include "tree/CPathView.h"

#include <QTest>

#include <functional>
#include <memory>

using WindowFactory = std::function<std::unique_ptr<QWidget>()>;
Q_DECLARE_METATYPE(WindowFactory)

inline std::unique_ptr<QWidget> MainWindowWithPanes()
{
    static CSelkDoc document;
    auto frame = std::make_unique<CMainFrame>(document);
    auto* tree = new CPathView;
    auto* list = new CFileView;
    QObject::connect(tree, &CPathView::TitleChanged, frame.get(), &QWidget::setWindowTitle);
    LinkPanes(tree, list);
    frame->SetPanes(tree, list);
    ConnectPaneCommands(tree, list, [frame = frame.get()](int id) { return frame->Command(id); });
    // The details view, whose column headers are text too.
    frame->Command(Command::Details)->trigger();
    return frame;
}

// One row per window, named after it: the factory in the column "window".
inline void AddEveryWindowRows()
{
    QTest::addColumn<WindowFactory>("window");
    const auto row = [](const char* name, WindowFactory factory) { QTest::newRow(name) << factory; };
    row("main window", MainWindowWithPanes);
    row("connect", [] { return std::make_unique<CConnectDlg>(QString(), [](const std::string&) { return false; }); });
    row("server properties", [] { return std::make_unique<CServerProperty>(QString()); });
    row("options", [] { return std::make_unique<COptions>(); });
    row("overwrite", [] { return std::make_unique<OverwriteDialog>(); });
    row("delete confirm", [] { return std::make_unique<DeleteConfirmDialog>(); });
    row("download as", [] { return std::make_unique<CDownloadAsDlg>(DownloadAsQuestion{}); });
    row("permissions", [] { return std::make_unique<CPermissionsDlg>(QStringLiteral("rwxr-x---")); });
    row("file properties", [] { return std::make_unique<CFilePropertiesDlg>(FilePropertiesView{}); });
    row("input", [] { return std::make_unique<CInputDialog>(); });
    row("script editor", [] {
        return std::make_unique<ScriptEditorDialog>(std::vector<ScriptEditorMark>{}, std::vector<std::string>{});
    });
    row("about", [] { return std::make_unique<CAboutDlg>(); });
    row("certificate", [] { return std::make_unique<CertificateDialog>(QorFtpCertificate{}); });
    row("operations", [] {
        // It belongs to a main window; a plain one stands in.
        static QWidget owner;
        return std::make_unique<COperationsDlg>(&owner);
    });
    row("progress", [] { return std::make_unique<TransferProgressWnd>(std::make_shared<ProgressLink>()); });
}

// The window on the screen, as a user meets it.
inline bool Show(QWidget* window)
{
    window->show();
    return QTest::qWaitForWindowExposed(window);
}
