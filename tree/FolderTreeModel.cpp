#include "tree/FolderTreeModel.h"

#include "listing/FileRow.h"

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

QStandardItem* CFolderTreeModel::MakeRemoteNode(const std::string& name, const QIcon& icon, NodeData data,
                                                bool childrenFlag)
{
    QStandardItem* node = MakeNode({}, icon, data, childrenFlag);
    SetRemoteName(node, name);
    return node;
}

void CFolderTreeModel::SetRemoteName(QStandardItem* node, const std::string& name)
{
    node->setText(RemoteNameText(name));
    node->setData(QByteArray::fromStdString(name), NameBytesRole);
    node->setToolTip(IsUtf8(name) ? QString() : Latin1NameNote());
}

std::string CFolderTreeModel::NameBytesOf(const QModelIndex& node)
{
    const QVariant bytes = node.data(NameBytesRole);
    return bytes.isValid() ? bytes.toByteArray().toStdString() : node.data().toString().toStdString();
}
