#include "servers/HistoryText.h"
#include "tests/core/TemporaryStore.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <vector>

TEST(HistoryText, DurationWritesOnlyNonZeroPartsWithTheirJoiners)
{
    const std::vector<std::pair<qint64, QString>> cases = {
        {3725, "01 hours, 02 minutes and 05 seconds"},
        {59, "59 seconds"},
        {0, ""},
        {3600, "01 hours"},
        {2 * 86400 + 5, "2 days and 05 seconds"},
        {12 * 86400 + 5 * 60, "12 days, 05 minutes"},
        {90061, "1 days, 01 hours, 01 minutes and 01 seconds"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatDuration(seconds), text) << seconds;
}

TEST(HistoryText, LastConnectedIsEnglishWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::vector<std::pair<QDateTime, QString>> cases = {
        {{{2024, 1, 1}, {15, 4}}, "Monday, January 01, 2024 at 3:04 PM"},
        {{{2023, 12, 31}, {0, 5}}, "Sunday, December 31, 2023 at 12:05 AM"},
        {{{2024, 2, 29}, {12, 0}}, "Thursday, February 29, 2024 at 12:00 PM"},
    };
    for (const auto& [time, text] : cases)
        EXPECT_EQ(FormatLastConnected(time), text);
    QLocale::setDefault(QLocale::c());
}

TEST(HistoryText, ParsesTimeBeforeFirstAndDurationAfterLastSemicolon)
{
    const HistoryParts connected = ParseHistory("Monday, January 01, 2024 at 3:04 PM");
    EXPECT_EQ(connected.lastConnected, "Monday, January 01, 2024 at 3:04 PM");
    EXPECT_FALSE(connected.duration);
    const HistoryParts twice = ParseHistory("t;1 days;01 minutes");
    EXPECT_EQ(twice.lastConnected, "t");
    EXPECT_EQ(twice.duration, "01 minutes");
    EXPECT_EQ(ParseHistory("t;").duration, "");
}
