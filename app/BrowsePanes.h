// What the main window needs to embed the folder tree and the file list.
//
//     auto* tree = new CPathView;
//     auto* list = new CFileView;
//     QObject::connect(tree, &CPathView::TitleChanged, frame, &QWidget::setWindowTitle);
//     QObject::connect(tree, &CPathView::CurrentConnectionChanged, frame,
//                      [&document](QorFtpConnection* c) { document.m_pConnection = c; });
//     LinkPanes(tree, list);   // after LoadServers(): the tree's first fill
//     frame->SetPanes(tree, list);
//     ConnectPaneCommands(tree, list, [frame](int id) { return frame->Command(id); });
//
// The operation count reaches the frame through the installed OperationHost, the library's
// messages through the installed QorFtpUi. The same-connection retry needs nothing of the panes:
// ConnectionList (installed as BrowsingConnections) reports a connection the tree is listing
// with as busy, so a retry never shares it with a listing.
#pragma once

#include <functional>

class CFileView;
class CPathView;
class QAction;

// The one place where the tree and the file list meet: the tree's requests go to the list, the
// list's to the tree; then the tree makes its first fill.
void LinkPanes(CPathView* tree, CFileView* list);

// Connects the frame's actions, found by command id (null for one it does not have), to the
// panes, enables them, and keeps the view-mode and state-icon checks in step with the list.
void ConnectPaneCommands(CPathView* tree, CFileView* list, const std::function<QAction*(int)>& command);
