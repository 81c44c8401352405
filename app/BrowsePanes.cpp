#include "app/BrowsePanes.h"

#include "dialogs/CommandIds.h"
#include "filelist/CFileView.h"
#include "operations/OperationLists.h"
#include "settings/Settings.h"
#include "tree/CPathView.h"
#include "tree/ConnectionList.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QWheelEvent>

#include <memory>

namespace {

// The WheelOver setting: the wheel scrolls the pane that has the focus wherever the pointer is
// over the two panes; without it, the pane under the pointer, as everywhere on the desktop.
class WheelOverFilter : public QObject {
public:
    WheelOverFilter(CPathView* tree, CFileView* list)
        : QObject(list)
        , m_tree(tree)
        , m_list(list)
    {
        tree->viewport()->installEventFilter(this);
        for (QAbstractItemView* view : list->findChildren<QAbstractItemView*>())
            view->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel || !ProgramSettings().wheelOver)
            return false;
        QWidget* focused = QApplication::focusWidget();
        QAbstractItemView* target = nullptr;
        if (focused && (focused == m_list || m_list->isAncestorOf(focused)))
            target = m_list->CurrentView();
        else if (focused && (focused == m_tree || m_tree->isAncestorOf(focused)))
            target = m_tree;
        if (!target || watched == target->viewport())
            return false;
        auto* wheel = static_cast<QWheelEvent*>(event);
        QWheelEvent moved(target->viewport()->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                          wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(), wheel->modifiers(),
                          wheel->phase(), wheel->inverted());
        QApplication::sendEvent(target->viewport(), &moved);
        return true;
    }

private:
    CPathView* m_tree;
    CFileView* m_list;
};

} // namespace

void LinkPanes(CPathView* tree, CFileView* list)
{
    new WheelOverFilter(tree, list);
    // Rows travel by reference to be moved: these calls must be direct.
    const auto direct = Qt::DirectConnection;
    QObject::connect(tree, &CPathView::ListCleared, list, &CFileView::ClearList, direct);
    QObject::connect(tree, &CPathView::ListMessage, list, &CFileView::ShowMessage, direct);
    QObject::connect(tree, &CPathView::ListMessageAtTop, list, &CFileView::InsertMessageAtTop, direct);
    QObject::connect(
        tree, &CPathView::LocalRowsReady, list,
        [list](const QString& root, const QString& folder, std::vector<FileRow>& rows) {
            list->ShowRows(root, folder, std::move(rows));
        },
        direct);
    QObject::connect(
        tree, &CPathView::RemoteRowsReady, list,
        [list](const QString& server, const std::string& folder, std::vector<FileRow>& rows,
               QorFtpConnection* connection) {
            list->connection = connection;
            list->ShowRemoteRows(server, folder, std::move(rows));
        },
        direct);
    QObject::connect(
        tree, &CPathView::FolderWatchWanted, list,
        [list](bool watch) { watch ? list->StartFolderWatch() : list->StopFolderWatch(); }, direct);
    QObject::connect(list, &CFileView::RefreshWanted, tree, &CPathView::OnRefresh);
    QObject::connect(list, &CFileView::UpOneLevelWanted, tree, &CPathView::OnUpOneLevel);
    QObject::connect(list, &CFileView::ChildFolderWanted, tree, &CPathView::OpenChildFolder);
    QObject::connect(list, &CFileView::ChildFolderAdded, tree, &CPathView::AddChildFolder);
    QObject::connect(list, &CFileView::ChildFolderRemoved, tree, &CPathView::RemoveChildFolder);
    list->connectionLookup
        = [](const QString& server) { return ConnectionList.SharedConnectionOf(server.toStdString()); };
    tree->FillTree();
}

void ConnectPaneCommands(CPathView* tree, CFileView* list, const std::function<QAction*(int)>& command)
{
    const auto wire = [&command](int id, QObject* receiver, auto slot) {
        QAction* action = command(id);
        if (!action)
            return static_cast<QAction*>(nullptr);
        QObject::connect(action, &QAction::triggered, receiver, slot);
        action->setEnabled(true);
        return action;
    };
    wire(Command::NewConnection, tree, [tree] { tree->OnNewConnection(); });
    wire(Command::Disconnect, tree, [tree] { tree->OnDisconnect(); });
    wire(Command::Refresh, tree, [tree] { tree->OnRefresh(); });
    wire(Command::UpOneLevel, tree, [tree] { tree->OnUpOneLevel(); });
    wire(Command::Print, list, [list] { list->OnPrint(); });
    wire(Command::PrintPreview, list, [list] { list->OnPrintPreview(); });
    wire(Command::PageSetup, list, [list] { list->OnPageSetup(); });

    struct Mode {
        int id;
        CFileView::ViewMode mode;
    };
    const Mode modes[] = {{Command::LargeIcons, CFileView::ViewMode::LargeIcons},
                          {Command::SmallIcons, CFileView::ViewMode::SmallIcons},
                          {Command::List, CFileView::ViewMode::List},
                          {Command::Details, CFileView::ViewMode::Details}};
    for (const Mode& mode : modes) {
        QAction* action = wire(mode.id, list, [list, wanted = mode.mode] { list->SetViewMode(wanted); });
        if (!action)
            continue;
        action->setCheckable(true);
        action->setChecked(list->CurrentViewMode() == mode.mode);
        QObject::connect(list, &CFileView::ViewModeChanged, action,
                         [action, wanted = mode.mode](CFileView::ViewMode now) { action->setChecked(now == wanted); });
    }
    if (QAction* action = wire(Command::StateIcons, list, [list] { list->OnStateIcons(); })) {
        action->setCheckable(true);
        action->setChecked(list->StateIconsShown());
        QObject::connect(list, &CFileView::StateIconsChanged, action, &QAction::setChecked);
    }
    // The list's commands act while the list is the active pane: the one of the two that had the
    // focus last. Menus and dialogs taking the focus change nothing.
    auto listActive = std::make_shared<bool>(false);
    // Some keys mean one thing in each pane: Del deletes files in the list and a server in the
    // tree, F2 renames either, Alt+Return shows the properties of either.
    struct PaneCommand {
        int id;
        void (CFileView::*slot)();
        bool (CFileView::*enabled)() const;
        void (CPathView::*treeSlot)() = nullptr;
        bool (CPathView::*treeEnabled)() const = nullptr;
    };
    const PaneCommand paneCommands[] = {
        {Command::Open, &CFileView::OnOpen, nullptr},
        {Command::Download, &CFileView::OnDownload, nullptr},
        {Command::Delete, &CFileView::OnDelete, nullptr, &CPathView::OnDeleteServer, &CPathView::CanConnectOrDelete},
        {Command::NewFolder, &CFileView::OnNewFolder, &CFileView::CanNewFolder},
        {Command::Rename, &CFileView::OnRename, nullptr, &CPathView::OnRenameServer, &CPathView::SelectionIsServer},
        {Command::Copy, &CFileView::OnCopy, &CFileView::CanCopy},
        {Command::Append, &CFileView::OnAppend, &CFileView::CanAppend},
        {Command::Paste, &CFileView::OnPaste, &CFileView::CanPaste},
        {Command::SelectAll, &CFileView::OnSelectAll, nullptr},
        {Command::View, &CFileView::OnView, nullptr},
        {Command::FilePermissions, &CFileView::OnFilePermissions, nullptr},
        {Command::MarkUnmark, &CFileView::OnMarkUnmark, &CFileView::CanMarkUnmark},
        {Command::Properties, &CFileView::OnProperties, nullptr, &CPathView::OnServerProperties,
         &CPathView::SelectionIsServer},
        {Command::DownloadFile, &CFileView::OnDownloadFile, &CFileView::CanUseConnection},
        {Command::UploadFile, &CFileView::OnUploadFile, &CFileView::CanUseConnection},
    };
    struct Rule {
        QAction* action;
        bool (CFileView::*enabled)() const;
        bool hasTreeSlot;
        bool (CPathView::*treeEnabled)() const;
    };
    std::vector<Rule> rules;
    for (const PaneCommand& entry : paneCommands) {
        QAction* action = command(entry.id);
        if (!action)
            continue;
        QObject::connect(action, &QAction::triggered, list, [tree, list, listActive, entry] {
            if (*listActive)
                (list->*entry.slot)();
            else if (entry.treeSlot)
                (tree->*entry.treeSlot)();
        });
        rules.push_back({action, entry.enabled, entry.treeSlot != nullptr, entry.treeEnabled});
    }
    // The tree's own server commands, whichever pane is active.
    struct TreeCommand {
        int id;
        void (CPathView::*slot)();
        bool (CPathView::*enabled)() const;
    };
    const TreeCommand treeCommands[] = {
        {Command::Connect, &CPathView::OnConnect, &CPathView::CanConnectOrDelete},
        {Command::DeleteServer, &CPathView::OnDeleteServer, &CPathView::CanConnectOrDelete},
        {Command::RenameServer, &CPathView::OnRenameServer, &CPathView::SelectionIsServer},
        {Command::ServerProperties, &CPathView::OnServerProperties, &CPathView::SelectionIsServer},
        {Command::ChangeDirectory, &CPathView::OnChangeDirectory, &CPathView::CanChangeDirectory},
    };
    std::vector<std::pair<QAction*, bool (CPathView::*)() const>> treeRules;
    for (const TreeCommand& entry : treeCommands) {
        QAction* action = command(entry.id);
        if (!action)
            continue;
        QObject::connect(action, &QAction::triggered, tree, [tree, slot = entry.slot] { (tree->*slot)(); });
        treeRules.emplace_back(action, entry.enabled);
    }
    const auto updateList = [tree, list, listActive, rules, treeRules] {
        for (const Rule& rule : rules) {
            if (*listActive)
                rule.action->setEnabled(!rule.enabled || (list->*rule.enabled)());
            else
                rule.action->setEnabled(rule.hasTreeSlot && (!rule.treeEnabled || (tree->*rule.treeEnabled)()));
        }
        for (const auto& [action, enabled] : treeRules)
            action->setEnabled((tree->*enabled)());
    };
    QObject::connect(qApp, &QApplication::focusChanged, list,
                     [tree, list, listActive, updateList](QWidget*, QWidget* now) {
                         if (!now)
                             return;
                         if (now == list || list->isAncestorOf(now))
                             *listActive = true;
                         else if (now == tree || tree->isAncestorOf(now))
                             *listActive = false;
                         else
                             return;
                         updateList();
                     });
    QObject::connect(list, &CFileView::CommandStateChanged, list, updateList);
    QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, list, updateList);
    QObject::connect(tree, &CPathView::ConnectionCompleted, list, updateList);
    QObject::connect(tree, &CPathView::CurrentConnectionChanged, list, updateList);
    updateList();
    if (QAction* about = command(Command::About))
        QObject::connect(list, &CFileView::AboutWanted, about, &QAction::trigger);

    if (QAction* disconnect = command(Command::Disconnect)) {
        const auto update = [tree, disconnect] { disconnect->setEnabled(tree->CanDisconnect()); };
        QObject::connect(tree, &CPathView::CurrentConnectionChanged, disconnect, update);
        QObject::connect(tree, &CPathView::ConnectionCompleted, disconnect, update);
        QObject::connect(tree, &CPathView::ConnectionBusyChanged, disconnect, update);
        QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, disconnect, update);
        update();
    }
}
