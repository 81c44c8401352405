#include "filelist/FileListModel.h"

#include "dialogs/FileIcons.h"
#include "filelist/MarkTable.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

CFileListModel::CFileListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int CFileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CFileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

std::string CFileListModel::KeyOf(const FileRow& row) const
{
    return MarkKey(m_folderBytes, row.item.name);
}

bool CFileListModel::IsMarked(int row) const
{
    const FileRow* entry = Row(row);
    return entry && !entry->message && MarkTable.count(KeyOf(*entry)) > 0;
}

QIcon CFileListModel::IconOf(const FileRow& row, bool check) const
{
    QIcon base;
    if (row.item.kind == ITEM_FOLDER)
        base = FileIcons::Folder();
    else if (!row.localPath.isEmpty())
        base = FileIcons::LocalFile(row.localPath, row.iconKey);
    else
        base = FileIcons::RemoteFile(row.iconKey);
    return FileIcons::WithOverlays(base, row.shortcut, check);
}

QVariant CFileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size()))
        return {};
    const FileRow& row = m_rows[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    if (row.message) {
        if (column == NameColumn && (role == Qt::DisplayRole || role == Qt::ToolTipRole))
            return row.shownName;
        if (column == NameColumn && role == Qt::DecorationRole)
            return FileIcons::Caution();
        if (role == ItemDataRole)
            return MESSAGE_ROW_DATA;
        if (role == StateImageRole || role == OverlayRole)
            return 0;
        return {};
    }
    switch (role) {
    case Qt::ToolTipRole:
        if (column == NameColumn && row.latin1Name)
            return Latin1NameNote();
        return {};
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (column) {
        case NameColumn:
            return row.shownName;
        case SizeColumn:
            return row.item.kind == ITEM_FOLDER ? QString() : SizeText(row.item.size);
        case TypeColumn:
            return row.typeText;
        case ModifiedColumn:
            return row.modified;
        default:
            return {};
        }
    case Qt::BackgroundRole:
        if (index.row() != m_dropHighlightRow)
            return {};
        return QGuiApplication::palette().brush(QPalette::Highlight);
    case Qt::ForegroundRole:
        if (index.row() != m_dropHighlightRow)
            return {};
        return QGuiApplication::palette().brush(QPalette::HighlightedText);
    case Qt::TextAlignmentRole:
        if (column == SizeColumn)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    case Qt::DecorationRole:
        if (column != NameColumn)
            return {};
        return IconOf(row, !m_stateIconsShown && IsMarked(index.row()));
    case Qt::CheckStateRole:
        if (column != NameColumn || !m_stateIconsShown)
            return {};
        return IsMarked(index.row()) ? Qt::Checked : Qt::Unchecked;
    case ItemDataRole:
        return static_cast<int>(row.item.kind);
    case StateImageRole:
        return IsMarked(index.row()) ? 2 : 1;
    case OverlayRole:
        return (row.shortcut ? 2 : 0) | (!m_stateIconsShown && IsMarked(index.row()) ? 4 : 0);
    case ItemNameRole:
        return QByteArray::fromStdString(row.item.name);
    default:
        return {};
    }
}

bool CFileListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    // A click on a row's state image marks or unmarks it.
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != NameColumn)
        return false;
    const bool wanted = value.toInt() == Qt::Checked;
    if (wanted != IsMarked(index.row()))
        ToggleMark(index.row());
    return true;
}

QVariant CFileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole) {
        static const char* const titles[] = {QT_TR_NOOP("Name"), QT_TR_NOOP("Size"), QT_TR_NOOP("Type"),
                                             QT_TR_NOOP("Modified")};
        return section >= 0 && section < ColumnCount ? tr(titles[section]) : QVariant();
    }
    if (role == Qt::TextAlignmentRole && section == SizeColumn)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags CFileListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (IsMessageRow(index.row()))
        return Qt::ItemIsEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_stateIconsShown && index.column() == NameColumn)
        flags |= Qt::ItemIsUserCheckable;
    if (index.row() == m_editableRow && index.column() == NameColumn)
        flags |= Qt::ItemIsEditable;
    flags |= Qt::ItemIsDragEnabled;
    return flags;
}

void CFileListModel::SetFolder(const QString& root, const QString& folder, const std::string& folderBytes)
{
    m_root = root;
    m_folder = folder;
    m_folderBytes = folderBytes;
}

void CFileListModel::Clear()
{
    m_dropHighlightRow = -1;
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
}

void CFileListModel::AddMessage(const QString& text, bool atTop)
{
    FileRow row;
    row.message = true;
    row.shownName = text;
    const int at = atTop ? 0 : static_cast<int>(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.insert(m_rows.begin() + at, std::move(row));
    endInsertRows();
}

void CFileListModel::SetDropHighlightRow(int row)
{
    const int old = m_dropHighlightRow;
    m_dropHighlightRow = row;
    for (int changed : {old, row}) {
        if (changed >= 0 && changed < rowCount())
            emit dataChanged(index(changed, 0), index(changed, ColumnCount - 1), {Qt::BackgroundRole});
    }
}

int CFileListModel::AppendNewFolderRow()
{
    FileRow row;
    row.item.kind = ITEM_FOLDER;
    row.typeText = tr("File Folder");
    const int at = static_cast<int>(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
    return at;
}

void CFileListModel::RemoveRow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    if (m_editableRow == row)
        m_editableRow = -1;
    else if (m_editableRow > row)
        --m_editableRow;
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void CFileListModel::NameFolderRow(int row, const std::string& name, const QString& shownName)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    FileRow& entry = m_rows[static_cast<std::size_t>(row)];
    entry.item = FileItem{};
    entry.item.kind = ITEM_FOLDER;
    entry.item.name = name;
    entry.shownName = shownName;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void CFileListModel::AppendRows(std::vector<FileRow>& rows, std::size_t first, std::size_t last)
{
    if (first >= last)
        return;
    const int start = static_cast<int>(m_rows.size());
    beginInsertRows({}, start, start + static_cast<int>(last - first) - 1);
    std::move(rows.begin() + static_cast<std::ptrdiff_t>(first), rows.begin() + static_cast<std::ptrdiff_t>(last),
              std::back_inserter(m_rows));
    endInsertRows();
}

const FileRow* CFileListModel::Row(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)];
}

std::string CFileListModel::PathOf(int row) const
{
    const FileRow* entry = Row(row);
    return entry && !entry->message ? KeyOf(*entry) : std::string();
}

const FileItem* CFileListModel::Item(int row) const
{
    const FileRow* entry = Row(row);
    return entry && !entry->message ? &entry->item : nullptr;
}

bool CFileListModel::IsMessageRow(int row) const
{
    const FileRow* entry = Row(row);
    return entry && entry->message;
}

bool CFileListModel::ToggleMark(int row)
{
    const FileRow* entry = Row(row);
    if (!entry || entry->message)
        return false;
    const std::string key = KeyOf(*entry);
    bool marked;
    if (MarkTable.erase(key) > 0) {
        marked = false;
    } else {
        MarkTable[key] = MarkRecord{m_root.toStdString(), key, entry->item.kind, entry->item.permissions};
        marked = true;
    }
    const QModelIndex cell = index(row, NameColumn);
    emit dataChanged(cell, cell, {Qt::DecorationRole, Qt::CheckStateRole, StateImageRole, OverlayRole});
    return marked;
}

void CFileListModel::SetStateIconsShown(bool shown)
{
    if (m_stateIconsShown == shown)
        return;
    m_stateIconsShown = shown;
    if (!m_rows.empty())
        emit dataChanged(index(0, NameColumn), index(rowCount() - 1, NameColumn),
                         {Qt::DecorationRole, Qt::CheckStateRole, OverlayRole});
}
