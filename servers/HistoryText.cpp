#include "servers/HistoryText.h"

#include <array>

namespace {

constexpr std::array<const char*, 7> weekdays
    = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
constexpr std::array<const char*, 12> months = {"January", "February", "March",     "April",   "May",      "June",
                                                "July",    "August",   "September", "October", "November", "December"};

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString FormatLastConnected(const QDateTime& localTime)
{
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1, %2 %3, %4 at %5:%6 %7")
        .arg(QLatin1String(weekdays.at(date.dayOfWeek() - 1)), QLatin1String(months.at(date.month() - 1)),
             twoDigits(date.day()), QString::number(date.year()), QString::number(hour12), twoDigits(time.minute()),
             time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
}

QString FormatDuration(qint64 seconds)
{
    QString text;
    // Each part is written only when it is not zero; the first one written takes no prefix.
    const auto add = [&text](qint64 value, const QString& prefix, const QString& part) {
        if (value > 0)
            text += (text.isEmpty() ? QString() : prefix) + part;
    };
    const qint64 days = seconds / 86400;
    const qint64 hours = seconds / 3600 % 24;
    const qint64 minutes = seconds / 60 % 60;
    add(days, QString(), QStringLiteral("%1 days").arg(days));
    add(hours, QStringLiteral(", "), twoDigits(hours) + QStringLiteral(" hours"));
    add(minutes, QStringLiteral(", "), twoDigits(minutes) + QStringLiteral(" minutes"));
    add(seconds % 60, QStringLiteral(" and "), twoDigits(seconds % 60) + QStringLiteral(" seconds"));
    return text;
}

HistoryParts ParseHistory(const QString& history)
{
    HistoryParts parts;
    const qsizetype first = history.indexOf(u';');
    if (first < 0) {
        parts.lastConnected = history;
        return parts;
    }
    parts.lastConnected = history.left(first);
    parts.duration = history.mid(history.lastIndexOf(u';') + 1);
    return parts;
}
