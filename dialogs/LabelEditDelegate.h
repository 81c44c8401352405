// The editor of a label edited in place (a file's name in the list, a server's in the tree):
// reports the text the user commits and leaves the model alone, since what the label becomes is
// decided by what the rename or the new folder does.
#pragma once

#include <QLineEdit>
#include <QStyledItemDelegate>

#include <functional>

class LabelEditDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    std::function<void(const QString&)> committed;
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor); line && committed)
            committed(line->text());
    }
};
