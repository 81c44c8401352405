#include "tree/BrowsePanes.h"

#include "filelist/CFileView.h"
#include "tree/CPathView.h"

#include <QAction>
#include <QItemSelectionModel>

namespace {

// The command ids the two panes answer.
enum : int {
    kNewConnection = 57600,
    kDisconnect = 32773,
    kConnect = 32795,
    kSmallIcons = 32782,
    kStateIcons = 32783,
    kList = 32784,
    kLargeIcons = 32785,
    kUpOneLevel = 32786,
    kDetails = 32791,
    kRefresh = 32806,
};

} // namespace

void LinkPanes(CPathView* tree, CFileView* list)
{
    tree->SetFileView(list);
    list->SetPathView(tree);
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
    wire(kNewConnection, tree, [tree] { tree->OnNewConnection(); });
    wire(kConnect, tree, [tree] { tree->OnConnect(); });
    wire(kDisconnect, tree, [tree] { tree->OnDisconnect(); });
    wire(kRefresh, tree, [tree] { tree->OnRefresh(); });
    wire(kUpOneLevel, tree, [tree] { tree->OnUpOneLevel(); });

    struct Mode {
        int id;
        CFileView::ViewMode mode;
    };
    const Mode modes[] = {{kLargeIcons, CFileView::ViewMode::LargeIcons},
                          {kSmallIcons, CFileView::ViewMode::SmallIcons},
                          {kList, CFileView::ViewMode::List},
                          {kDetails, CFileView::ViewMode::Details}};
    for (const Mode& mode : modes) {
        QAction* action = wire(mode.id, list, [list, wanted = mode.mode] { list->SetViewMode(wanted); });
        if (!action)
            continue;
        action->setCheckable(true);
        action->setChecked(list->CurrentViewMode() == mode.mode);
        QObject::connect(list, &CFileView::ViewModeChanged, action,
                         [action, wanted = mode.mode](CFileView::ViewMode now) { action->setChecked(now == wanted); });
    }
    if (QAction* action = wire(kStateIcons, list, [list] { list->OnStateIcons(); })) {
        action->setCheckable(true);
        action->setChecked(list->StateIconsShown());
        QObject::connect(list, &CFileView::StateIconsChanged, action, &QAction::setChecked);
    }
    if (QAction* disconnect = command(kDisconnect)) {
        const auto update = [tree, disconnect] { disconnect->setEnabled(tree->CanDisconnect()); };
        QObject::connect(tree, &CPathView::CurrentConnectionChanged, disconnect, update);
        QObject::connect(tree, &CPathView::ConnectionCompleted, disconnect, update);
        QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, disconnect, update);
        update();
    }
}
