// The program's only top-level window: the splitter with the folder tree and the file list,
// the toolbar with its busy indicator, the status bar's operation counter and the
// "Bkg Operations:" window. Every background activity reports its start and end here.
#pragma once

#include <QHash>
#include <QMainWindow>

#include <cstdint>

class BusyIndicator;
class CFtpSplitterWnd;
class COperationsDlg;
class CSelkDoc;
class LogPane;
class QAction;
class QLabel;
class QMenu;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CSelkDoc& document, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The action of a command id (CommandIds.h); null for one the frame does not offer.
    QAction* Command(int commandId) const;
    // Replaces the two placeholder panes once the tree and the file list exist.
    void SetPanes(QWidget* tree, QWidget* fileList);

    // Disables the frame behind the splash until the splash closes.
    void ShowSplash();
    // The recent scripts, newest first, as the File menu lists them.
    void SetRecentScripts(const QStringList& paths);
    void ToggleOperationsWindow();

    int m_nOperations = 0;
    CFtpSplitterWnd* m_wndSplitter = nullptr;
    COperationsDlg* m_wndOperations = nullptr;
    QLabel* m_operationsPane = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    BusyIndicator* m_wndAnimate = nullptr;
    // View > Log: the conversation with the servers, hidden until asked for.
    LogPane* m_logPane = nullptr;

public slots:
    // An operation started (true) or ended.
    void WM_OPERATION_COUNT(bool started, std::uint32_t operationId);
    // Handed on unchanged to the file list.
    void WM_RUN_ON_SAME_CONNECTION(std::uint32_t operationId);

signals:
    void RunOnSameConnection(std::uint32_t operationId);
    // A recent-script entry was chosen; the id is 57616 for the first entry.
    void WM_OPEN_RECENT_SCRIPT(int commandId);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePanes();
    void CreateLogPane();
    void RestoreWindowState();
    void RestoreSplit();
    void SaveWindowState() const;
    QAction* AddCommand(int commandId, const QString& text, const QIcon& icon = {}, const QKeySequence& shortcut = {});
    void UpdateOperationsPane();
    void PlaceOperationsWindow();

    CSelkDoc& m_document;
    QHash<int, QAction*> m_commands;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QAction* m_recentSeparator = nullptr;
    QList<QAction*> m_recentActions;
    bool m_operationsWindowPlaced = false;
};
