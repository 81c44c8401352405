#include "servers/ServerNameKey.h"

QString EscapeServerName(const QString& name)
{
    QString key;
    key.reserve(name.size());
    for (const QChar c : name) {
        if (c == u'%')
            key += QStringLiteral("%25");
        else if (c == u'/')
            key += QStringLiteral("%2F");
        else if (c == u'\\')
            key += QStringLiteral("%5C");
        else
            key += c;
    }
    return key;
}

QString UnescapeServerName(const QString& key)
{
    QString name;
    name.reserve(key.size());
    for (qsizetype i = 0; i < key.size(); ++i) {
        const QString escape = key.mid(i, 3).toUpper();
        if (escape == QStringLiteral("%25"))
            name += u'%';
        else if (escape == QStringLiteral("%2F"))
            name += u'/';
        else if (escape == QStringLiteral("%5C"))
            name += u'\\';
        else {
            name += key.at(i);
            continue;
        }
        i += 2;
    }
    return name;
}
