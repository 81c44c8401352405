#include "listing/FileProperties.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

void PrintTo(const QString& text, std::ostream* out)
{
    *out << text.toStdString();
}

TEST(FileProperties, LettersToFlagsToMode)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"rwxr-x---", "750"},  {"rwsr-xr-t", "755"}, // setuid and sticky letters count as execute
        {"rwSr-Sr-T", "755"},  {"", "000"},          {"r-x", "500"}, // a short text leaves group and others clear
        {"rw-rw-rw-x", "666"}, // a tenth letter is ignored
        {"---------", "000"},
    };
    for (const auto& [letters, mode] : cases)
        EXPECT_EQ(ModeFromFlags(PermissionFlags(letters)), mode) << letters;
}

TEST(FileProperties, SizeTextKeepsBytesUpToExactly1024)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const std::vector<std::tuple<std::uint64_t, QLocale, QString>> cases = {
        {1234, english, "1.21 KB (1,234 bytes)"},
        {1234, german, "1,21 KB (1.234 bytes)"},
        {1024, english, "1.02e+03 bytes (1,024 bytes)"},
        {1025, english, "1 KB (1,025 bytes)"},
        {0, english, "0 bytes (0 bytes)"},
        {5 * 1024 * 1024 + 300 * 1024, english, "5.29 MB (5,550,080 bytes)"},
        {5'000'000'000ULL, english, "4.77e+03 MB (5,000,000,000 bytes)"},
    };
    for (const auto& [size, locale, text] : cases)
        EXPECT_EQ(PropertiesSizeText(size, locale), text) << size;
}

TEST(FileProperties, ModifiedTextReadsTheListedDate)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QDate today(2024, 6, 15);
    const auto shown = [&](int year, int month, int day, int hour, int minute) {
        return english.toString(QDate(year, month, day), QLocale::LongFormat) + QLatin1Char(' ')
            + english.toString(QTime(hour, minute), QLocale::ShortFormat);
    };
    const std::vector<std::pair<QString, QString>> cases = {
        {"Mar 07 1996", shown(1996, 3, 7, 0, 0)},
        {"Mar 07 10:15", shown(2024, 3, 7, 10, 15)},
        {"Dec 31 23:59", shown(2024, 12, 31, 23, 59)},
        {"Foo 07 1996", shown(1996, 1, 7, 0, 0)}, // an unknown month is January
        {"mar 07 1996", shown(1996, 1, 7, 0, 0)}, // months match in their exact case
        {"Mar 07 0", shown(2024, 3, 7, 0, 0)},
        // What a server may send that is no date at all comes back as it was.
        {"", ""},
        {"Mar 07", "Mar 07"},
        {"Mar xx 1996", "Mar xx 1996"},
        {"Feb 30 1996", "Feb 30 1996"},
        {"Mar 07 25:99", "Mar 07 25:99"},
        {"Mar 07 ::", "Mar 07 ::"},
        {"Mar 07 10:15:30", "Mar 07 10:15:30"},
        {"Mar 07 199x", "Mar 07 199x"},
        {"a b c d", "a b c d"},
    };
    for (const auto& [listed, text] : cases)
        EXPECT_EQ(PropertiesModifiedText(listed, today, english), text) << listed.toStdString();
}

TEST(FileProperties, ModifiedTimeNeverShowsSeconds)
{
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Finnish),
                                  QLocale(QLocale::Japanese), QLocale::c()}) {
        const QString text = PropertiesModifiedText(QStringLiteral("Mar 07 10:15"), QDate(2024, 1, 1), locale);
        EXPECT_TRUE(text.startsWith(locale.toString(QDate(2024, 3, 7), QLocale::LongFormat))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("15:00")) || text.contains(QStringLiteral("15.00")))
            << text.toStdString();
    }
}
