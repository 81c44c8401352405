// The rows of the file list: entries of one folder, or notice rows such as "No Files". Four
// columns: Name, Size, Type, Modified. Marks are read from MarkTable as the rows are shown, so
// a mark made elsewhere shows without a refill.
#pragma once

#include "listing/FileRow.h"

#include <QAbstractTableModel>

#include <vector>

class CFileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, SizeColumn, TypeColumn, ModifiedColumn, ColumnCount };
    enum Role {
        // MESSAGE_ROW_DATA for a notice row, else the FileItem's kind.
        ItemDataRole = Qt::UserRole + 1,
        // 1 not marked, 2 marked (0 for notice rows).
        StateImageRole,
        // Bits of the overlays drawn: 2 the shortcut arrow, 4 the check mark.
        OverlayRole,
        // QByteArray: the FileItem's name as listed, in the bytes the server sent (the Name column
        // shows it decoded, maybe in other capitals).
        ItemNameRole,
    };

    explicit CFileListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Where the rows come from: the tree's root text ("My Computer" or a server name) and the
    // folder, shown and as bytes, which together with a row's name make its MarkTable key.
    void SetFolder(const QString& root, const QString& folder, const std::string& folderBytes);
    const QString& Root() const { return m_root; }
    const QString& Folder() const { return m_folder; }
    const std::string& FolderBytes() const { return m_folderBytes; }

    void Clear();
    void AddMessage(const QString& text, bool atTop = false);
    void Reserve(std::size_t rows) { m_rows.reserve(rows); }
    // Appends rows [first, last) of `rows`, moving them.
    void AppendRows(std::vector<FileRow>& rows, std::size_t first, std::size_t last);

    // The row label editing works on: the new folder's row or a renamed one; -1 for none.
    void SetEditableRow(int row) { m_editableRow = row; }
    // The folder row a drag rests on, drawn highlighted; -1 for none.
    void SetDropHighlightRow(int row);
    // A new folder's row, empty until it is named; returns its number.
    int AppendNewFolderRow();
    void RemoveRow(int row);
    // The new folder's row once made: named, and a folder entry.
    void NameFolderRow(int row, const std::string& name, const QString& shownName);

    // Null for a notice row or a row out of range.
    const FileItem* Item(int row) const;
    const FileRow* Row(int row) const;
    // The entry's path in the bytes of the folder and the name as listed: the one a command
    // sends back to the server. Empty for a notice row.
    std::string PathOf(int row) const;
    bool IsMessageRow(int row) const;

    bool IsMarked(int row) const;
    // Marks or unmarks one entry row; notice rows are left alone. Returns whether it is marked.
    bool ToggleMark(int row);
    void SetStateIconsShown(bool shown);
    bool StateIconsShown() const { return m_stateIconsShown; }

private:
    std::string KeyOf(const FileRow& row) const;
    QIcon IconOf(const FileRow& row, bool marked) const;

    std::vector<FileRow> m_rows;
    QString m_root;
    QString m_folder;
    std::string m_folderBytes;
    bool m_stateIconsShown = false;
    int m_editableRow = -1;
    int m_dropHighlightRow = -1;
};
