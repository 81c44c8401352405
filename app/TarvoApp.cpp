#include "app/TarvoApp.h"

#include "operations/Executor.h"

#include "app/BrowsePanes.h"
#include "app/MainFrame.h"
#include "app/QtOperationHost.h"
#include "app/ShellRegistration.h"
#include "app/SingleInstance.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/Artwork.h"
#include "dialogs/CommandIds.h"
#include "dialogs/OperationsDlg.h"
#include "dialogs/OptionsSheet.h"
#include "dialogs/ScriptEditorDialog.h"
#include "filelist/CFileView.h"
#include "filelist/MarkTable.h"
#include "operations/CommandThread.h"
#include "operations/OperationLists.h"
#include "operations/SameConnectionRetry.h"
#include "scripts/ScriptParser.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "servers/ServerStoreConversion.h"
#include "tree/CPathView.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {
CTarvoApp* g_app = nullptr;
void NewScript(CTarvoApp& app);
} // namespace

CTarvoApp* TheApp()
{
    return g_app;
}

CTarvoApp::CTarvoApp()
{
    g_app = this;
}

CTarvoApp::~CTarvoApp()
{
    // Nothing may reach the windows once they are gone.
    SetOperationHost(nullptr);
    SetInteraction(nullptr);
    QorFtpSetUi(nullptr);
    m_pMainWnd.reset();
    g_app = nullptr;
}

bool CTarvoApp::InitInstance(const ProgramCommandLine& commandLine, int& exitCode)
{
    exitCode = 0;

    // A running Tarvo takes the request, so the user keeps one window.
    m_instance = std::make_unique<SingleInstance>();
    if (m_instance->HandOver(commandLine.script.isEmpty() ? QString() : ShellOpenRequest(commandLine.script)))
        return false;

    // The settings root: $XDG_CONFIG_HOME/Halvern/Tarvo.conf.
    QCoreApplication::setOrganizationName(QStringLiteral("Halvern"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvo"));

    // Installed before the settings file is first read, so that news of a damaged one comes as a
    // message box.
    SetInteraction(&m_interaction);
    m_recentScripts.Load();
    m_settings = ProgramSettings();
    ProgramExecutor().SetTransferLimit(m_settings.maxTransfers);
    m_helpFile = m_settings.programFolder + QStringLiteral("Tarvo.html");

    RegisterScriptFileType(QCoreApplication::applicationFilePath());

    OperationStatusList.Clear();
    PendingRequestList.Clear();
    ScriptStepList.Clear();

    ReadWheelSettings();
    connect(QGuiApplication::styleHints(), &QStyleHints::wheelScrollLinesChanged, this,
            [this] { ReadWheelSettings(); });

    ConvertServerStore();
    LoadServers();

    // Everything a worker asks, shows or counts now reaches the windows.
    QorFtpSetUi(&m_ftpUi);

    ChooseIconTheme();
    m_pMainWnd = std::make_unique<CMainFrame>(m_document);
    m_host = std::make_unique<QtOperationHost>(m_pMainWnd.get());
    SetOperationHost(m_host.get());
    CreatePanes();
    m_pMainWnd->SetRecentScripts(m_recentScripts.Paths());
    QAction* about = m_pMainWnd->Command(Command::About);
    about->setEnabled(true);
    connect(about, &QAction::triggered, this, &CTarvoApp::OnAppAbout);
    connect(m_pMainWnd.get(), &CMainFrame::WM_OPEN_RECENT_SCRIPT, this, &CTarvoApp::OpenRecentScript);
    QAction* load = m_pMainWnd->Command(Command::LoadScript);
    load->setEnabled(true);
    connect(load, &QAction::triggered, this, [this] {
        if (const std::optional<std::string> path = GetInteraction().AskScriptFile())
            OpenScript(QString::fromStdString(*path));
    });
    QAction* options = m_pMainWnd->Command(Command::Options);
    options->setEnabled(true);
    connect(options, &QAction::triggered, this, [this] {
        // File names are cased as they are listed: a new case shows on the next listing.
        if (ShowOptions(m_pMainWnd.get()))
            m_pMainWnd->Command(Command::Refresh)->trigger();
    });
    connect(m_pMainWnd->Command(Command::RunScript), &QAction::triggered, this, [] {
        if (ScriptStepList.Count() > 0)
            RunScript();
    });
    UpdateRunScript();
    QAction* newScript = m_pMainWnd->Command(Command::NewScript);
    newScript->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(newScript, &QAction::triggered, this, [this] { NewScript(*this); });
    // A server at its connection limit: the user agreed to run the request over the browsing
    // connection instead.
    connect(m_pMainWnd.get(), &CMainFrame::RunOnSameConnection, this,
            [](std::uint32_t operationId) { RunOnSameConnection(operationId); });
    m_pMainWnd->show();
    if (commandLine.showSplash)
        m_pMainWnd->ShowSplash();

    if (!m_instance->Listen())
        qWarning("tarvo: another start will open a second window: the local socket is taken");
    connect(m_instance.get(), &SingleInstance::RequestReceived, this, &CTarvoApp::OnShellRequest);

    if (!commandLine.script.isEmpty())
        OpenScript(commandLine.script);

    std::srand(static_cast<unsigned>(std::time(nullptr)));

    if (commandLine.demoOperations)
        StartDemoOperations();
    const QString screenshot = qEnvironmentVariable("TARVO_SCREENSHOT");
    if (!screenshot.isEmpty())
        ScheduleScreenshot(screenshot, qEnvironmentVariableIntValue("TARVO_SCREENSHOT_DELAY"));
    return true;
}

void CTarvoApp::ReadWheelSettings()
{
    m_wheelScrollLines = qMax(1, QApplication::wheelScrollLines());
    // Qt reports no reversed zoom direction; forward it is.
    m_rollDirectionForward = 1;
}

void CTarvoApp::UpdateRunScript()
{
    if (QAction* run = m_pMainWnd ? m_pMainWnd->Command(Command::RunScript) : nullptr)
        run->setEnabled(ScriptStepList.Count() > 0);
}

bool CTarvoApp::OpenScript(const QString& path)
{
    const bool loaded = LoadScriptFile(path.toStdString());
    UpdateRunScript();
    if (!loaded)
        return false;
    m_recentScripts.Add(path);
    if (m_pMainWnd)
        m_pMainWnd->SetRecentScripts(m_recentScripts.Paths());
    return true;
}

namespace {

// New Script: the marked items become steps of a script that, once saved, is loaded at once.
void NewScript(CTarvoApp& app)
{
    if (MarkTable.empty())
        return;
    std::vector<ScriptEditorMark> marks;
    for (const auto& [key, record] : MarkTable)
        marks.push_back({record.serverName, record.path, record.kind});
    // In the folder tree's order.
    std::vector<std::string> servers;
    for (const auto& [name, record] : ServerMap)
        servers.push_back(name);
    std::sort(servers.begin(), servers.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
    });
    ScriptEditorDialog dialog(std::move(marks), std::move(servers), app.MainFrame());
    // Loaded once saved, so Run Script runs it at once.
    if (dialog.exec() == QDialog::Accepted)
        app.OpenScript(dialog.SavedPath());
}

} // namespace

void CTarvoApp::OpenRecentScript(int commandId)
{
    const int index = commandId - Command::RecentFirst;
    if (index < 0 || index >= m_recentScripts.Paths().size())
        return;
    if (!OpenScript(m_recentScripts.Paths()[index])) {
        m_recentScripts.Remove(index);
        m_pMainWnd->SetRecentScripts(m_recentScripts.Paths());
    }
}

void CTarvoApp::OnShellRequest(const QString& request)
{
    const std::optional<QString> script = ParseShellOpenRequest(request);
    // Besides the shell's open request, only the empty "come forward" of a second start.
    if (!script && !request.isEmpty())
        return;
    CMainFrame* frame = m_pMainWnd.get();
    if (frame->isMinimized())
        frame->showNormal();
    else
        frame->show();
    frame->raise();
    frame->activateWindow();
    if (script)
        OpenScript(*script);
}

void CTarvoApp::OnAppAbout()
{
    CAboutDlg about(m_pMainWnd.get());
    about.exec();
}

void CTarvoApp::StartDemoOperations()
{
    struct Demo {
        const char* title;
        const char* description;
    };
    const Demo demos[] = {
        {"Connecting to ftp.example.org", "Connecting to ftp.example.org as anonymous"},
        {"Downloading release-notes.txt", "Downloading /pub/release-notes.txt to /home/ann/Downloads"},
        {"Uploading site.tar.gz", "Uploading /home/ann/site.tar.gz to /var/www on web.example.org"},
    };
    std::uint32_t id = 0xDE000000;
    for (const Demo& demo : demos) {
        OperationStatus status;
        status.operationId = ++id;
        status.title = demo.title;
        status.description = demo.description;
        OperationStatusList.Append(status);
        m_pMainWnd->WM_OPERATION_COUNT(true, status.operationId);
    }
    m_pMainWnd->ToggleOperationsWindow();
}

void CTarvoApp::ScheduleScreenshot(const QString& file, int delayMilliseconds)
{
    QTimer::singleShot(delayMilliseconds > 0 ? delayMilliseconds : 1500, this, [this, file] {
        CMainFrame* frame = m_pMainWnd.get();
        QRect area = frame->frameGeometry();
        if (frame->m_wndOperations->isVisible())
            area = area.united(frame->m_wndOperations->frameGeometry());
        QImage picture;
        // The whole screen holds the window manager's frames too; an offscreen run has none.
        if (QScreen* screen = frame->screen(); screen && QGuiApplication::platformName() == QLatin1String("xcb"))
            picture = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
        if (picture.isNull()) {
            picture = frame->grab().toImage();
            if (frame->m_wndOperations->isVisible()) {
                QPainter painter(&picture);
                painter.drawPixmap(frame->m_wndOperations->pos() - frame->pos(), frame->m_wndOperations->grab());
            }
        }
        const bool saved = picture.save(file, "PNG");
        std::fprintf(stderr, saved ? "tarvo: screenshot written to %s\n" : "tarvo: could not write %s\n",
                     qPrintable(file));
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

void CTarvoApp::CreatePanes()
{
    CMainFrame* frame = m_pMainWnd.get();
    auto* tree = new CPathView;
    auto* list = new CFileView;
    connect(tree, &CPathView::TitleChanged, frame, &QWidget::setWindowTitle);
    connect(tree, &CPathView::CurrentConnectionChanged, this,
            [this](QorFtpConnection* connection) { m_document.m_pConnection = connection; });
    LinkPanes(tree, list);
    // New Script is offered exactly while something is marked; marks change with the list's rows.
    const auto updateNewScript = [frame] { frame->Command(Command::NewScript)->setEnabled(!MarkTable.empty()); };
    connect(list->Model(), &QAbstractItemModel::dataChanged, frame, updateNewScript);
    connect(list->Model(), &QAbstractItemModel::rowsRemoved, frame, updateNewScript);
    connect(list->Model(), &QAbstractItemModel::modelReset, frame, updateNewScript);
    connect(list, &CFileView::CommandStateChanged, frame, updateNewScript);
    updateNewScript();
    frame->SetPanes(tree, list);
    ConnectPaneCommands(tree, list, [frame](int id) { return frame->Command(id); });
}
