// The conversation log: the protocol trace of every connection, as the Log pane and a verbose
// script run show it. Lines come from the connections' own threads through TraceFeed; TraceLogModel
// keeps them on the user-interface thread, a bounded number per connection.
#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QMetaType>
#include <QObject>

#include <atomic>
#include <deque>

struct QorFtpTraceLine;

struct TraceEntry {
    quintptr connection = 0; // which conversation; an identity only
    QDateTime time;
    QString host;
    bool sent = false;
    QString text;

    // A reply line with a 4xx or 5xx code.
    bool IsError() const;
};
Q_DECLARE_METATYPE(TraceEntry)

// Text the server sent as UTF-8 reads as such; other bytes as Latin-1, so nothing is lost.
TraceEntry ToTraceEntry(const QorFtpTraceLine& line);
// "12:01:02 127.0.0.1 > USER ann", "12:01:02 127.0.0.1 < 230 ok".
QString FormatTraceEntry(const TraceEntry& entry);

// Where the library's trace enters the program. Post may be called on any thread; Arrived
// reaches receivers connected with Qt::QueuedConnection on their own thread.
class TraceFeed : public QObject {
    Q_OBJECT
public:
    static TraceFeed& Instance();

    // While nobody listens the library does not even build its trace lines.
    bool Listening() const { return m_listening.load(std::memory_order_relaxed); }
    void SetListening(bool listening) { m_listening.store(listening, std::memory_order_relaxed); }
    void Post(const QorFtpTraceLine& line);

signals:
    void Arrived(const TraceEntry& entry);

private:
    std::atomic<bool> m_listening{false};
};

// The lines in the order they arrived: Time, Server, Direction ("<" or ">") and Text. Past its
// limit a connection's oldest line goes; other connections' lines stay.
class TraceLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TimeColumn, ServerColumn, DirectionColumn, TextColumn, ColumnCount };
    enum Role { SentRole = Qt::UserRole + 1, ErrorRole };
    static constexpr int kLinesPerConnection = 10000;
    // However many connections came and went, the log as a whole stays within this.
    static constexpr int kLinesInAll = 200000;

    explicit TraceLogModel(QObject* parent = nullptr, int linesPerConnection = kLinesPerConnection,
                           int linesInAll = kLinesInAll);

    void Append(const TraceEntry& entry);
    void Clear();
    const TraceEntry& Entry(int row) const { return m_entries[static_cast<std::size_t>(row)]; }
    int LinesOf(quintptr connection) const { return m_counts.value(connection); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void RemoveRow(std::size_t row);

    std::deque<TraceEntry> m_entries;
    QHash<quintptr, int> m_counts;
    int m_linesPerConnection;
    int m_linesInAll;
};
