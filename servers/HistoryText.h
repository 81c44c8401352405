#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// A server's history text: when it was last connected, then ';' and for how long,
// e.g. "Monday, January 01, 2024 at 3:04 PM;01 hours, 02 minutes and 05 seconds".

// The last-connected part for a local time. Names are English whatever the locale,
// because the text is stored and read back by every installation alike.
QString FormatLastConnected(const QDateTime& localTime);

// The duration part for a span in whole seconds; empty for 0.
QString FormatDuration(qint64 seconds);

struct HistoryParts {
    QString lastConnected; // before the first ';'
    std::optional<QString> duration; // after the last ';'; none while still connected
};

HistoryParts ParseHistory(const QString& history);
