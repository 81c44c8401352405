#include "operations/TraceLog.h"

#include "QorFtpUi.h"

#include <QCoreApplication>
#include <QStringDecoder>

namespace {

QString Decode(const std::string& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())) : text;
}

QString DirectionMark(bool sent)
{
    return sent ? QStringLiteral(">") : QStringLiteral("<");
}

} // namespace

bool TraceEntry::IsError() const
{
    return !sent && text.size() >= 3 && (text[0] == u'4' || text[0] == u'5') && text[1].isDigit() && text[2].isDigit();
}

TraceEntry ToTraceEntry(const QorFtpTraceLine& line)
{
    TraceEntry entry;
    entry.connection = reinterpret_cast<quintptr>(line.connection);
    entry.time = QDateTime::fromMSecsSinceEpoch(
        std::chrono::duration_cast<std::chrono::milliseconds>(line.time.time_since_epoch()).count());
    entry.host = Decode(line.host);
    entry.sent = line.sent;
    entry.text = Decode(line.text);
    return entry;
}

QString FormatTraceEntry(const TraceEntry& entry)
{
    return entry.time.toString(QStringLiteral("HH:mm:ss")) + u' ' + entry.host + u' ' + DirectionMark(entry.sent) + u' '
        + entry.text;
}

TraceFeed& TraceFeed::Instance()
{
    static TraceFeed feed;
    return feed;
}

void TraceFeed::Post(const QorFtpTraceLine& line)
{
    if (Listening())
        emit Arrived(ToTraceEntry(line));
}

TraceLogModel::TraceLogModel(QObject* parent, int linesPerConnection, int linesInAll)
    : QAbstractTableModel(parent)
    , m_linesPerConnection(linesPerConnection)
    , m_linesInAll(linesInAll)
{
}

void TraceLogModel::Append(const TraceEntry& entry)
{
    const int row = static_cast<int>(m_entries.size());
    beginInsertRows({}, row, row);
    m_entries.push_back(entry);
    endInsertRows();
    if (++m_counts[entry.connection] > m_linesPerConnection) {
        // The connection's oldest line is usually near the front: lines arrive in time order.
        for (std::size_t index = 0; index < m_entries.size(); ++index) {
            if (m_entries[index].connection == entry.connection) {
                RemoveRow(index);
                break;
            }
        }
    }
    if (static_cast<int>(m_entries.size()) > m_linesInAll)
        RemoveRow(0);
}

void TraceLogModel::RemoveRow(std::size_t row)
{
    beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row));
    const quintptr connection = m_entries[row].connection;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(row));
    if (--m_counts[connection] == 0)
        m_counts.remove(connection);
    endRemoveRows();
}

void TraceLogModel::Clear()
{
    beginResetModel();
    m_entries.clear();
    m_counts.clear();
    endResetModel();
}

int TraceLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int TraceLogModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TraceLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TraceEntry& entry = Entry(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case TimeColumn:
            return entry.time.toString(QStringLiteral("HH:mm:ss"));
        case ServerColumn:
            return entry.host;
        case DirectionColumn:
            return DirectionMark(entry.sent);
        case TextColumn:
            return entry.text;
        }
        break;
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        if (index.column() == DirectionColumn)
            return entry.sent ? QCoreApplication::translate("TraceLog", "Sent")
                              : QCoreApplication::translate("TraceLog", "Received");
        break;
    case SentRole:
        return entry.sent;
    case ErrorRole:
        return entry.IsError();
    }
    return {};
}

QVariant TraceLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TimeColumn:
        return QCoreApplication::translate("TraceLog", "Time");
    case ServerColumn:
        return QCoreApplication::translate("TraceLog", "Server");
    case DirectionColumn:
        return QString();
    case TextColumn:
        return QCoreApplication::translate("TraceLog", "Text");
    }
    return {};
}
