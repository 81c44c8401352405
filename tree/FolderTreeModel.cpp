#include "tree/FolderTreeModel.h"

CFolderTreeModel::CFolderTreeModel(QObject* parent)
    : QStandardItemModel(parent)
{
}

bool CFolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return QStandardItemModel::hasChildren(parent);
    return rowCount(parent) > 0 || parent.data(ChildrenFlagRole).toBool();
}

QStandardItem* CFolderTreeModel::MakeNode(const QString& text, const QIcon& icon, NodeData data, bool childrenFlag)
{
    auto* node = new QStandardItem(icon, text);
    node->setData(static_cast<int>(data), NodeDataRole);
    node->setData(childrenFlag, ChildrenFlagRole);
    node->setEditable(false);
    return node;
}
