// The nodes of the folder tree: "My Computer" with its places and folders, the servers, and
// the remote folders of connected servers. A node can show a plus before it has children,
// so folders are listed only when they are opened.
#pragma once

#include <QStandardItemModel>

// The integer every node carries.
enum NodeData : int {
    NODE_PLAIN = 0,   // "My Computer"; the start folder made when a connection completes
    NODE_SERVER = 1,  // a server
    NODE_FOLDER = 2,  // places, local and remote folders
};

class CFolderTreeModel : public QStandardItemModel {
    Q_OBJECT
public:
    enum Role {
        NodeDataRole = Qt::UserRole + 1,
        ChildrenFlagRole,  // bool: show a plus even without children
        PlacePathRole,     // the folder of a place under "My Computer"
    };

    explicit CFolderTreeModel(QObject* parent = nullptr);

    bool hasChildren(const QModelIndex& parent = {}) const override;

    static QStandardItem* MakeNode(const QString& text, const QIcon& icon, NodeData data, bool childrenFlag);
};
