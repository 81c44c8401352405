// The nodes of the folder tree: "My Computer" with its places and folders, the servers, and
// the remote folders of connected servers. A node can show a plus before it has children,
// so folders are listed only when they are opened.
#pragma once

#include <QStandardItemModel>

#include <string>

// The integer every node carries.
enum NodeData : int {
    NODE_PLAIN = 0, // "My Computer"; the start folder made when a connection completes
    NODE_SERVER = 1, // a server
    NODE_FOLDER = 2, // places, local and remote folders
};

class CFolderTreeModel : public QStandardItemModel {
    Q_OBJECT
public:
    enum Role {
        NodeDataRole = Qt::UserRole + 1,
        ChildrenFlagRole, // bool: show a plus even without children
        PlacePathRole, // the folder of a place under "My Computer"
        NameBytesRole, // QByteArray: a remote folder's name (or start folder) as the server sent it
    };

    explicit CFolderTreeModel(QObject* parent = nullptr);

    bool hasChildren(const QModelIndex& parent = {}) const override;

    static QStandardItem* MakeNode(const QString& text, const QIcon& icon, NodeData data, bool childrenFlag);
    // A node named by the server: shown decoded, its bytes kept for the way back.
    static QStandardItem* MakeRemoteNode(const std::string& name, const QIcon& icon, NodeData data, bool childrenFlag);
    static void SetRemoteName(QStandardItem* node, const std::string& name);
    // The bytes a node stands for: the server's for remote folders, else its text as UTF-8.
    static std::string NameBytesOf(const QModelIndex& node);
};
