#include "app/LibraryMessages.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <array>

namespace {

// A count, in the form its number asks for.
constexpr const char* kUnreadLines
    = QT_TRANSLATE_N_NOOP("QorFtp", "The listing has %1 line(s) in a form that could not be read; they are not shown.");

// The library's string table, word for word; %1 and %2 are its inserts.
constexpr std::array kTemplates{
    QT_TRANSLATE_NOOP("QorFtp", "Are you sure you want to cancel?"),
    QT_TRANSLATE_NOOP("QorFtp", "Already Connected."),
    QT_TRANSLATE_NOOP("QorFtp", "Login to '%1' failed.\n\n%2"),
    QT_TRANSLATE_NOOP("QorFtp", "Not Connected."),
    QT_TRANSLATE_NOOP("QorFtp", "Directory change to '%1' failed.\n\n%2"),
    QT_TRANSLATE_NOOP("QorFtp", "Dir command to '%1' failed.\n\n%2"),
    QT_TRANSLATE_NOOP("QorFtp", "Change file permisions failed for '%1'\n\n%2"),
    QT_TRANSLATE_NOOP("QorFtp", "Delete file '%1' failed.\n\n%2"),
    QT_TRANSLATE_NOOP("QorFtp", "Make directory '%1' failed.\n\n%2"),
    QT_TRANSLATE_NOOP("QorFtp", "Rename file '%1' failed.\n\n%2"),
    QT_TRANSLATE_NOOP("QorFtp", "Connection closed by the server."),
    QT_TRANSLATE_NOOP("QorFtp", "The command '%1' holds a line break and was not sent."),
    QT_TRANSLATE_NOOP("QorFtp", "The server sent a reply line longer than 4096 bytes; the connection was closed."),
    QT_TRANSLATE_NOOP("QorFtp", "The server sent a reply longer than 1 MiB; the connection was closed."),
    QT_TRANSLATE_NOOP("QorFtp", "The listing has more than %1 lines and was not read."),
    QT_TRANSLATE_NOOP("QorFtp", "The download ended after %1 of the file's %2 bytes."),
    QT_TRANSLATE_NOOP("QorFtp", "'%1' does not offer encryption, so the user name and password were not sent.\n\n%2"),
    QT_TRANSLATE_NOOP("QorFtp", "The encrypted connection to '%1' failed: %2"),
    QT_TRANSLATE_NOOP("QorFtp", "The certificate of '%1' is not trusted, so the connection was closed.\n\n%2"),
    QT_TRANSLATE_NOOP("QorFtp", "'%1' would not encrypt its data connections, so the connection was closed.\n\n%2"),
    kUnreadLines,
    // Plain texts the library hands over as they are.
    QT_TRANSLATE_NOOP("QorFtp", "Connection failed"),
    QT_TRANSLATE_NOOP("QorFtp", "No command to send"),
};

// The template as a pattern: every insert may be any text, the first as short as it can be.
QRegularExpression PatternOf(const QString& pattern)
{
    QString expression = QRegularExpression::escape(pattern);
    expression.replace(QStringLiteral("\\%1"), QStringLiteral("(?<one>.*?)"));
    expression.replace(QStringLiteral("\\%2"), QStringLiteral("(?<two>.*)"));
    return QRegularExpression(QLatin1Char('^') + expression + QLatin1Char('$'),
                              QRegularExpression::DotMatchesEverythingOption);
}

// %1 and %2 in one pass, so that a "%1" inside an insert stays as it was.
QString PutInserts(const QString& translated, const QString& one, const QString& two)
{
    QString result;
    for (qsizetype at = 0; at < translated.size(); ++at) {
        if (translated[at] == QLatin1Char('%') && at + 1 < translated.size()
            && (translated[at + 1] == QLatin1Char('1') || translated[at + 1] == QLatin1Char('2'))) {
            result += translated[at + 1] == QLatin1Char('1') ? one : two;
            ++at;
        } else {
            result += translated[at];
        }
    }
    return result;
}

} // namespace

QString TranslateLibraryMessage(const QString& text)
{
    for (const char* source : kTemplates) {
        const QRegularExpressionMatch match = PatternOf(QString::fromUtf8(source)).match(text);
        if (!match.hasMatch())
            continue;
        const QString one = match.captured(QStringLiteral("one"));
        const int count = source == kUnreadLines ? one.toInt() : -1;
        return PutInserts(QCoreApplication::translate("QorFtp", source, nullptr, count), one,
                          match.captured(QStringLiteral("two")));
    }
    return text;
}
