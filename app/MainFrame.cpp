#include "app/MainFrame.h"

#include "app/FtpSplitterWnd.h"
#include "app/LogPane.h"
#include "app/SelkDoc.h"
#include "dialogs/Artwork.h"
#include "dialogs/BusyIndicator.h"
#include "dialogs/CommandIds.h"
#include "dialogs/HelpPage.h"
#include "dialogs/OperationsDlg.h"
#include "dialogs/SplashWindow.h"
#include "operations/OperationLists.h"
#include "settings/Settings.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QWhatsThis>

namespace {

const QString kWindowGroup = QStringLiteral("Window");

// Stand-ins until the folder tree and the file list exist.
QWidget* PlaceholderTree()
{
    auto* tree = new QTreeWidget;
    tree->setObjectName(QStringLiteral("PathViewPlaceholder"));
    tree->setHeaderLabels({CMainFrame::tr("Folders")});
    tree->header()->setVisible(false);
    return tree;
}

QWidget* PlaceholderFileList()
{
    auto* list = new QTreeWidget;
    list->setObjectName(QStringLiteral("FileViewPlaceholder"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels(
        {CMainFrame::tr("Name"), CMainFrame::tr("Size"), CMainFrame::tr("Type"), CMainFrame::tr("Modified")});
    list->header()->resizeSection(0, 220);
    return list;
}

} // namespace

CMainFrame::CMainFrame(CSelkDoc& document, QWidget* parent)
    : QMainWindow(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(ProgramIcon());
    // The tree puts the connected server here later.
    setWindowTitle(tr("Ftp - Not connected"));

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    m_wndOperations = new COperationsDlg(this);
    CreatePanes();
    CreateLogPane();
    RestoreWindowState();
}

CMainFrame::~CMainFrame()
{
    // The pane hides as the frame goes; that is no choice of the user's to remember.
    m_logPane->toggleViewAction()->disconnect(this);
}

QAction* CMainFrame::AddCommand(int commandId, const QString& text, const QIcon& icon, const QKeySequence& shortcut)
{
    auto* action = new QAction(icon, text, this);
    action->setObjectName(QString::number(commandId));
    action->setShortcut(shortcut);
    // Until the pane that handles it exists, a command stays visibly unavailable.
    action->setEnabled(false);
    m_commands.insert(commandId, action);
    return action;
}

QAction* CMainFrame::Command(int commandId) const
{
    return m_commands.value(commandId, nullptr);
}

void CMainFrame::CreateActions()
{
    using namespace Command;
    AddCommand(
        NewConnection, tr("&New Connection..."),
        ToolbarIcon({QStringLiteral("network-server"), QStringLiteral("network-workgroup")}, QStyle::SP_DriveNetIcon),
        QKeySequence(Qt::CTRL | Qt::Key_N))
        ->setStatusTip(tr("Connect to an FTP server"));
    AddCommand(Connect, tr("C&onnect..."), ToolbarIcon({QStringLiteral("network-connect")}))
        ->setStatusTip(tr("Connect to the selected server"));
    AddCommand(DeleteServer, tr("&Delete Server"))->setStatusTip(tr("Remove the selected server from the list"));
    AddCommand(RenameServer, tr("Rena&me Server"))->setStatusTip(tr("Give the selected server another name"));
    AddCommand(ServerProperties, tr("Server Proper&ties..."))
        ->setStatusTip(tr("Show and change the selected server's settings"));
    AddCommand(Disconnect, tr("&Close Connection"),
               ToolbarIcon({QStringLiteral("network-offline"), QStringLiteral("process-stop")}, QStyle::SP_BrowserStop))
        ->setStatusTip(tr("Close the connection to the selected server"));
    AddCommand(LoadScript, tr("&Load Script..."), ToolbarIcon({QStringLiteral("document-open")}),
               QKeySequence(Qt::CTRL | Qt::Key_O));
    AddCommand(RunScript, tr("&Run Script"), ToolbarIcon({QStringLiteral("media-playback-start")}),
               QKeySequence(Qt::CTRL | Qt::Key_R));
    AddCommand(NewScript, tr("New &Script..."), ToolbarIcon({QStringLiteral("document-new")}));
    AddCommand(PageSetup, tr("Page Set&up..."), ToolbarIcon({QStringLiteral("document-page-setup")}));
    AddCommand(PrintPreview, tr("Print Pre&view"), ToolbarIcon({QStringLiteral("document-print-preview")}));
    AddCommand(Print, tr("&Print..."), ToolbarIcon({QStringLiteral("document-print")}),
               QKeySequence(Qt::CTRL | Qt::Key_P))
        ->setStatusTip(tr("Print the listing of the current folder"));
    QAction* exit = AddCommand(Exit, tr("E&xit"), ToolbarIcon({QStringLiteral("application-exit")}),
                               QKeySequence(Qt::CTRL | Qt::Key_Q));
    exit->setEnabled(true);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    // Cut has no handler anywhere: the list's rows are never moved by the clipboard.
    AddCommand(Cut, tr("Cu&t"), ToolbarIcon({QStringLiteral("edit-cut")}), QKeySequence(Qt::CTRL | Qt::Key_X));
    QAction* copy = AddCommand(Copy, tr("&Copy"), ToolbarIcon({QStringLiteral("edit-copy")}));
    copy->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    copy->setStatusTip(tr("Copy the selected files"));
    AddCommand(Append, tr("App&end"), {}, QKeySequence(Qt::CTRL | Qt::Key_Z))
        ->setStatusTip(tr("Add the selected files to the copied ones"));
    QAction* paste = AddCommand(Paste, tr("&Paste"), ToolbarIcon({QStringLiteral("edit-paste")}));
    paste->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    paste->setStatusTip(tr("Paste the copied files into the current folder"));
    AddCommand(Command::Delete, tr("&Delete"), ToolbarIcon({QStringLiteral("edit-delete")}, QStyle::SP_TrashIcon),
               QKeySequence(Qt::Key_Delete))
        ->setStatusTip(tr("Delete the selection"));
    AddCommand(SelectAll, tr("Select &All"), ToolbarIcon({QStringLiteral("edit-select-all")}),
               QKeySequence(Qt::CTRL | Qt::Key_A));
    AddCommand(MarkUnmark, tr("&Mark/UnMark"));
    AddCommand(Open, tr("&Open"))->setStatusTip(tr("Open the selected folder"));
    AddCommand(Rename, tr("Re&name"), {}, QKeySequence(Qt::Key_F2))->setStatusTip(tr("Rename the selected file"));
    AddCommand(Command::View, tr("&View"))->setStatusTip(tr("Open a copy of the selected file with its program"));
    AddCommand(FilePermissions, tr("File Perm&issions..."))
        ->setStatusTip(tr("Change who may read, write and run the file"));
    AddCommand(Properties, tr("P&roperties"), ToolbarIcon({QStringLiteral("document-properties")}),
               QKeySequence(Qt::ALT | Qt::Key_Return))
        ->setStatusTip(tr("Show what the list knows about the selected file"));
    AddCommand(Command::Download, tr("Do&wnload..."));
    AddCommand(DownloadFile, tr("Download &File..."));
    AddCommand(UploadFile, tr("&Upload File..."));
    AddCommand(NewFolder, tr("New Fo&lder"),
               ToolbarIcon({QStringLiteral("folder-new")}, QStyle::SP_FileDialogNewFolder));
    AddCommand(ChangeDirectory, tr("C&hange Directory..."));

    AddCommand(LargeIcons, tr("Lar&ge Icons"), ToolbarIcon({QStringLiteral("view-list-icons")}, ViewGlyph::LargeIcons))
        ->setStatusTip(tr("Show the files as large icons"));
    AddCommand(SmallIcons, tr("S&mall Icons"),
               ToolbarIcon({QStringLiteral("view-list-compact")}, ViewGlyph::SmallIcons))
        ->setStatusTip(tr("Show the files as small icons"));
    AddCommand(List, tr("L&ist"), ToolbarIcon({QStringLiteral("view-list-text")}, ViewGlyph::List))
        ->setStatusTip(tr("Show the files as a list"));
    AddCommand(Details, tr("&Details"), ToolbarIcon({QStringLiteral("view-list-details")}, ViewGlyph::Details))
        ->setStatusTip(tr("Show the files with size, type and date"));
    auto* viewModes = new QActionGroup(this);
    for (int id : {LargeIcons, SmallIcons, List, Details}) {
        Command(id)->setCheckable(true);
        viewModes->addAction(Command(id));
    }
    Command(Details)->setChecked(true);
    AddCommand(StateIcons, tr("Stat&e Icons"), ToolbarIcon({QStringLiteral("checkbox")}, ViewGlyph::StateIcons))
        ->setStatusTip(tr("Show or hide the marks in front of the files"));
    Command(StateIcons)->setCheckable(true);
    AddCommand(Refresh, tr("&Refresh"), ToolbarIcon({QStringLiteral("view-refresh")}, QStyle::SP_BrowserReload),
               QKeySequence(QKeySequence::Refresh));
    AddCommand(UpOneLevel, tr("&Up One Level"), ToolbarIcon({QStringLiteral("go-up")}, QStyle::SP_FileDialogToParent))
        ->setStatusTip(tr("Go to the folder above"));
    AddCommand(Options, tr("&Options..."),
               ToolbarIcon({QStringLiteral("preferences-system"), QStringLiteral("preferences-other")}));

    QAction* helpTopics = AddCommand(HelpIndex, tr("&Help Topics"),
                                     ToolbarIcon({QStringLiteral("help-contents"), QStringLiteral("help-browser")}),
                                     QKeySequence::HelpContents);
    helpTopics->setStatusTip(tr("Open the user's manual in the web browser"));
    helpTopics->setEnabled(true);
    connect(helpTopics, &QAction::triggered, this, [this] { OpenHelpTopic(this); });
    QAction* contextHelp = AddCommand(ContextHelp, tr("What's &This?"),
                                      ToolbarIcon({QStringLiteral("help-contextual"), QStringLiteral("help-whatsthis"),
                                                   QStringLiteral("help-browser")},
                                                  QStyle::SP_TitleBarContextHelpButton),
                                      QKeySequence(Qt::SHIFT | Qt::Key_F1));
    contextHelp->setStatusTip(tr("Click on any part of the window to learn what it does"));
    contextHelp->setEnabled(true);
    connect(contextHelp, &QAction::triggered, this, [] { QWhatsThis::enterWhatsThisMode(); });
    QAction* about = AddCommand(About, tr("&About Tarvo..."), ToolbarIcon({QStringLiteral("help-about")}));
    about->setMenuRole(QAction::AboutRole);
}

void CMainFrame::CreateMenus()
{
    using namespace Command;
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    m_fileMenu->addActions({Command(NewConnection), Command(Connect), Command(Disconnect)});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({Command(DeleteServer), Command(RenameServer), Command(ServerProperties)});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({Command(LoadScript), Command(RunScript), Command(NewScript)});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({Command(PageSetup), Command(PrintPreview), Command(Print)});
    m_recentSeparator = m_fileMenu->addSeparator();
    m_recentSeparator->setVisible(false);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(Command(Exit));

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addActions({Command(Cut), Command(Copy), Command(Append), Command(Paste)});
    edit->addSeparator();
    edit->addActions({Command(Command::Delete), Command(Rename), Command(SelectAll), Command(MarkUnmark)});
    edit->addSeparator();
    edit->addActions({Command(Open), Command(Command::Download), Command(DownloadFile), Command(UploadFile),
                      Command(NewFolder), Command(ChangeDirectory)});
    edit->addSeparator();
    edit->addActions({Command(Command::View), Command(FilePermissions), Command(Properties)});

    QMenu* view = menuBar()->addMenu(tr("&View", "menu bar"));
    m_viewMenu = view;
    view->addActions({Command(LargeIcons), Command(SmallIcons), Command(List), Command(Details)});
    view->addSeparator();
    view->addActions({Command(StateIcons), Command(Refresh), Command(UpOneLevel)});
    view->addSeparator();
    // The turning wheel's window, for the keyboard too: shown, brought up and given the focus.
    QAction* operations = view->addAction(tr("&Background Operations"), this, [this] {
        PlaceOperationsWindow();
        m_wndOperations->show();
        m_wndOperations->raise();
        m_wndOperations->activateWindow();
    });
    operations->setObjectName(QStringLiteral("BackgroundOperations"));
    operations->setStatusTip(tr("Show the running background operations"));
    view->addAction(Command(Options));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addActions({Command(HelpIndex), Command(ContextHelp)});
    help->addSeparator();
    help->addAction(Command(About));
}

void CMainFrame::CreateToolBar()
{
    using namespace Command;
    m_wndToolBar = new QToolBar(tr("Toolbar"), this);
    m_wndToolBar->setObjectName(QStringLiteral("FtpToolBar"));
    m_wndToolBar->setIconSize(QSize(16, 16));
    m_wndToolBar->setMovable(false);
    // Positions 0 to 19; 20 is the stretch and 21 the busy indicator at the right end.
    const int positions[] = {NewConnection,
                             Disconnect,
                             0,
                             Cut,
                             Copy,
                             Paste,
                             0,
                             Print,
                             0,
                             UpOneLevel,
                             0,
                             Command::Delete,
                             0,
                             LargeIcons,
                             SmallIcons,
                             List,
                             Details,
                             StateIcons,
                             0,
                             ContextHelp};
    for (int id : positions) {
        if (id == 0)
            m_wndToolBar->addSeparator();
        else
            m_wndToolBar->addAction(Command(id));
    }
    auto* stretch = new QWidget(m_wndToolBar);
    stretch->setObjectName(QStringLiteral("ToolBarStretch"));
    stretch->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_wndToolBar->addWidget(stretch);

    m_wndAnimate = new BusyIndicator(m_wndToolBar);
    m_wndAnimate->setObjectName(QStringLiteral("116"));
    m_wndAnimate->setToolTip(tr("Background operations"));
    m_wndAnimate->setAccessibleName(tr("Background operations"));
    m_wndAnimate->setWhatsThis(tr("Turns while background operations run. "
                                  "Click it to show or hide the list of background operations."));
    m_wndToolBar->addWidget(m_wndAnimate);
    connect(m_wndAnimate, &BusyIndicator::clicked, this, &CMainFrame::ToggleOperationsWindow);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    QAction* toggle = m_wndToolBar->toggleViewAction();
    toggle->setText(tr("&Toolbar"));
    m_viewMenu->insertAction(m_viewMenu->actions().value(0), toggle);
}

void CMainFrame::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("59393"));
    m_operationsPane = new QLabel(bar);
    m_operationsPane->setObjectName(QString::number(kOperationsPaneId));
    m_operationsPane->setMinimumWidth(m_operationsPane->fontMetrics().horizontalAdvance(tr("Operations: 000")) + 8);
    bar->addPermanentWidget(m_operationsPane);
    UpdateOperationsPane();

    QAction* toggle = new QAction(tr("&Status Bar"), this);
    toggle->setCheckable(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
    m_viewMenu->insertAction(m_viewMenu->actions().value(1), toggle);
    m_viewMenu->insertSeparator(m_viewMenu->actions().value(2));
}

void CMainFrame::CreatePanes()
{
    m_wndSplitter = new CFtpSplitterWnd(this);
    m_wndSplitter->SetPanes(PlaceholderTree(), PlaceholderFileList());
    setCentralWidget(m_wndSplitter);
}

void CMainFrame::CreateLogPane()
{
    m_logPane = new LogPane(this);
    addDockWidget(Qt::BottomDockWidgetArea, m_logPane);
    m_logPane->hide();
    QAction* toggle = m_logPane->toggleViewAction();
    // Below Toolbar and Status Bar, before their separator.
    m_viewMenu->insertAction(m_viewMenu->actions().value(2), toggle);
    connect(toggle, &QAction::toggled, this, [](bool shown) {
        const auto store = OpenSettingsStore();
        store->beginGroup(kWindowGroup);
        store->setValue(QStringLiteral("Log"), shown);
    });
}

void CMainFrame::SetPanes(QWidget* tree, QWidget* fileList)
{
    m_wndSplitter->SetPanes(tree, fileList);
    // The new panes bring size hints of their own: place the split again.
    RestoreSplit();
    tree->setFocus();
}

void CMainFrame::RestoreSplit()
{
    const auto store = OpenSettingsStore();
    store->beginGroup(kWindowGroup);
    if (m_wndSplitter->restoreState(store->value(QStringLiteral("Splitter")).toByteArray()))
        return;
    // The tree gets what a 392-pixel list leaves, but no more than two fifths of the width.
    const int total = width();
    const int tree = qBound(180, total - 392, total * 2 / 5);
    m_wndSplitter->setSizes({tree, total - tree});
}

void CMainFrame::RestoreWindowState()
{
    const auto store = OpenSettingsStore();
    store->beginGroup(kWindowGroup);
    const bool placed = restoreGeometry(store->value(QStringLiteral("Geometry")).toByteArray());
    restoreState(store->value(QStringLiteral("State")).toByteArray());
    // Off until the user opens it; then open in every run until closed.
    m_logPane->setVisible(store->value(QStringLiteral("Log"), false).toBool());
    if (!placed) {
        QSize size(960, 640);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            size = size.boundedTo(screen->availableSize() * 9 / 10);
        resize(size);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    RestoreSplit();
}

void CMainFrame::SaveWindowState() const
{
    const auto store = OpenSettingsStore();
    store->beginGroup(kWindowGroup);
    store->setValue(QStringLiteral("Geometry"), saveGeometry());
    store->setValue(QStringLiteral("State"), saveState());
    store->setValue(QStringLiteral("Splitter"), m_wndSplitter->saveState());
}

void CMainFrame::ShowSplash()
{
    // Disabling takes the focus away, and enabling does not give it back: a keyboard user would
    // find no pane answering once the splash has gone.
    QPointer<QWidget> focused = focusWidget();
    setEnabled(false);
    auto* splash = new SplashWindow(this);
    connect(splash, &QObject::destroyed, this, [focused] {
        if (focused)
            focused->setFocus();
    });
    splash->show();
}

void CMainFrame::SetRecentScripts(const QStringList& paths)
{
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    for (int index = 0; index < paths.size() && index < kRecentScriptCount; ++index) {
        const int commandId = Command::RecentFirst + index;
        auto* action
            = new QAction(QStringLiteral("&%1 %2").arg(index + 1).arg(QFileInfo(paths[index]).fileName()), this);
        action->setObjectName(QString::number(commandId));
        action->setStatusTip(paths[index]);
        // Posted, as the file list loads it when it gets to it.
        connect(action, &QAction::triggered, this, [this, commandId] {
            QMetaObject::invokeMethod(
                this, [this, commandId] { emit WM_OPEN_RECENT_SCRIPT(commandId); }, Qt::QueuedConnection);
        });
        m_fileMenu->insertAction(m_recentSeparator, action);
        m_recentActions.append(action);
    }
    m_recentSeparator->setVisible(!m_recentActions.isEmpty());
}

void CMainFrame::ToggleOperationsWindow()
{
    if (m_wndOperations->isVisible()) {
        m_wndOperations->hide();
        return;
    }
    PlaceOperationsWindow();
    m_wndOperations->show();
    m_wndOperations->raise();
}

void CMainFrame::PlaceOperationsWindow()
{
    if (m_operationsWindowPlaced)
        return;
    m_operationsWindowPlaced = true;
    // First shown at the top right of the panes, below the indicator that opens it, with room
    // for the window manager's caption.
    const QPoint corner = m_wndSplitter->mapToGlobal(QPoint(m_wndSplitter->width(), 0));
    m_wndOperations->move(corner.x() - m_wndOperations->width() - 24, corner.y() + 40);
}

void CMainFrame::UpdateOperationsPane()
{
    m_operationsPane->setText(tr("Operations:%1").arg(m_nOperations));
}

void CMainFrame::WM_OPERATION_COUNT(bool started, std::uint32_t operationId)
{
    if (started) {
        if (m_nOperations++ == 0)
            m_wndAnimate->Play();
        // A listing of the tree without a title is counted but not listed.
        std::optional<OperationStatus> status = OperationStatusList.Find(operationId);
        if (status && !status->title.empty())
            m_wndOperations->InsertOperation(operationId, QString::fromStdString(status->title));
    } else {
        if (operationId != 0)
            m_wndOperations->RemoveOperation(operationId);
        if (--m_nOperations == 0)
            m_wndAnimate->Stop();
    }
    UpdateOperationsPane();
}

void CMainFrame::WM_RUN_ON_SAME_CONNECTION(std::uint32_t operationId)
{
    emit RunOnSameConnection(operationId);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_document.CanCloseFrame(this)) {
        event->ignore();
        return;
    }
    SaveWindowState();
    m_wndOperations->hide();
    event->accept();
}
