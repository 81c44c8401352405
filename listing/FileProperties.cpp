#include "listing/FileProperties.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

std::array<bool, 9> PermissionFlags(const std::string& letters)
{
    std::array<bool, 9> flags{};
    for (std::size_t i = 0; i < letters.size() && i < flags.size(); ++i)
        flags[i] = letters[i] != '-';
    return flags;
}

std::string ModeFromFlags(const std::array<bool, 9>& flags)
{
    std::string mode;
    for (std::size_t who = 0; who < 3; ++who) {
        const int digit = flags[who * 3] * 4 + flags[who * 3 + 1] * 2 + flags[who * 3 + 2];
        mode += static_cast<char>('0' + digit);
    }
    return mode;
}

QString PropertiesSizeText(std::uint64_t size, const QLocale& locale)
{
    double value = static_cast<double>(size);
    QString unit = QCoreApplication::translate("FileProperties", " bytes");
    // Strictly greater: exactly 1024 bytes stays in bytes.
    if (value / 1024 > 1) {
        value /= 1024;
        unit = QCoreApplication::translate("FileProperties", " KB");
        if (value / 1024 > 1) {
            value /= 1024;
            unit = QCoreApplication::translate("FileProperties", " MB");
        }
    }
    const QString exact = locale.toString(static_cast<qulonglong>(size));
    // Exponent form as C writes it ("1.02e+03"), with the locale's decimal point.
    const QString shortValue = QString::number(value, 'g', 3).replace(QLatin1Char('.'), locale.decimalPoint());
    return shortValue + unit + QLatin1String(" (") + exact + QCoreApplication::translate("FileProperties", " bytes")
        + QLatin1Char(')');
}

namespace {

// Month names as Unix listings write them, whatever the user's language.
int ListedMonth(const QString& word)
{
    static const char* const names[]
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i) {
        if (word == QLatin1String(names[i]))
            return i + 1;
    }
    return 1;
}

QString TimeFormatWithoutSeconds(const QLocale& locale)
{
    static const QRegularExpression seconds(QStringLiteral("[:.]?s+|[.,]?z+"));
    return locale.timeFormat(QLocale::ShortFormat).remove(seconds);
}

} // namespace

QString PropertiesModifiedText(const QString& listed, const QDate& today, const QLocale& locale)
{
    const QStringList words = listed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() != 3)
        return listed;
    const int month = ListedMonth(words[0]);
    bool dayRead = false;
    const int day = words[1].toInt(&dayRead);
    int year = today.year();
    QTime time(0, 0);
    bool restRead = false;
    if (words[2].contains(QLatin1Char(':'))) {
        const QStringList parts = words[2].split(QLatin1Char(':'));
        bool minutesRead = false;
        const int hours = parts[0].toInt(&restRead);
        time = QTime(hours, parts[1].toInt(&minutesRead));
        restRead = restRead && minutesRead && parts.size() == 2;
    } else if (const int listedYear = words[2].toInt(&restRead); listedYear != 0) {
        year = listedYear;
    }
    if (!dayRead || !restRead)
        return listed;
    const QDate date(year, month, day);
    if (!date.isValid() || !time.isValid())
        return listed;
    return locale.toString(date, QLocale::LongFormat) + QLatin1Char(' ')
        + locale.toString(time, TimeFormatWithoutSeconds(locale));
}
