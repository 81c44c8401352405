// The application object: starts the program in its order, keeps the program-wide settings,
// registers script files with the desktop, opens a script named on the command line or handed
// over by a second start, and shows the About box.
#pragma once

#include "app/QtFtpUi.h"
#include "app/QtInteraction.h"
#include "app/RecentScripts.h"
#include "app/SelkDoc.h"
#include "scripts/CommandLine.h"
#include "settings/Settings.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CMainFrame;
class QtOperationHost;
class SingleInstance;

class CTarvoApp : public QObject {
    Q_OBJECT
public:
    CTarvoApp();
    ~CTarvoApp() override;

    // Starts the program; false when it is to end at once, with `exitCode`.
    bool InitInstance(const ProgramCommandLine& commandLine, int& exitCode);

    // Loads the script into the script steps and lists it among the recent scripts.
    bool OpenScript(const QString& path);
    // Run Script is offered exactly while a script is loaded.
    void UpdateRunScript();
    // The running instance's side of a second start.
    void OnShellRequest(const QString& request);
    void OnAppAbout();

    CMainFrame* MainFrame() const { return m_pMainWnd.get(); }

    AppSettings m_settings;
    QString m_helpFile;
    // The system's wheel settings, re-read when the desktop changes them.
    int m_wheelScrollLines = 1;
    int m_rollDirectionForward = 1;
    CSelkDoc m_document;
    RecentScripts m_recentScripts;

private:
    // The folder tree and the file list, linked to each other and to the frame's commands.
    void CreatePanes();
    void ReadWheelSettings();
    void StartDemoOperations();
    void ScheduleScreenshot(const QString& file, int delayMilliseconds);
    void OpenRecentScript(int commandId);

    QtFtpUi m_ftpUi;
    QtInteraction m_interaction;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    std::unique_ptr<QtOperationHost> m_host;
    std::unique_ptr<SingleInstance> m_instance;
};

// The one application object while the program runs; null in tests that build windows alone.
CTarvoApp* TheApp();
