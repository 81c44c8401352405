#include "listing/TreePaths.h"

QString ServerNameOfTexts(const QStringList& texts)
{
    return texts.isEmpty() ? QString() : texts.first();
}

QString RemotePathOfTexts(const QStringList& texts, const QString& firstChildText)
{
    if (texts.size() <= 1)
        return firstChildText;
    QString path = texts.mid(1).join(QLatin1Char('/'));
    const qsizetype doubled = path.indexOf(QLatin1String("//"));
    if (doubled >= 0)
        path.remove(doubled, 1);
    return path;
}

QString LocalPathOfTexts(const QString& placePath, const QStringList& below)
{
    if (placePath.isEmpty())
        return {};
    QString path = placePath;
    for (const QString& name : below) {
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        path += name;
    }
    return path;
}

std::optional<QString> ParentStartDirectory(const QString& directory)
{
    QString d = directory;
    // "/pub/" is the folder "/pub": a trailing separator is not a level.
    while (d.size() > 1 && (d.endsWith(QLatin1Char('/')) || d.endsWith(QLatin1Char('\\'))))
        d.chop(1);
    const qsizetype separators = d.count(QLatin1Char('/')) + d.count(QLatin1Char('\\'));
    if (separators == 0)
        return std::nullopt;
    if (separators == 1) {
        qsizetype at = d.indexOf(QLatin1Char('/'));
        if (at < 0)
            at = d.indexOf(QLatin1Char('\\'));
        if (at == d.size() - 1)
            return std::nullopt;
        return d.left(at + 1);
    }
    qsizetype at = d.lastIndexOf(QLatin1Char('/'));
    if (at < 0)
        at = d.lastIndexOf(QLatin1Char('\\'));
    return d.left(at);
}
