#include "listing/TreePaths.h"

#include <algorithm>

QString ServerNameOfTexts(const QStringList& texts)
{
    return texts.isEmpty() ? QString() : texts.first();
}

std::string RemotePathOfNames(const std::vector<std::string>& names, const std::string& firstChild)
{
    if (names.size() <= 1)
        return firstChild;
    std::string path = names[1];
    for (std::size_t i = 2; i < names.size(); ++i)
        path += '/' + names[i];
    const std::size_t doubled = path.find("//");
    if (doubled != std::string::npos)
        path.erase(doubled, 1);
    return path;
}

QString RemotePathOfTexts(const QStringList& texts, const QString& firstChildText)
{
    std::vector<std::string> names;
    for (const QString& text : texts)
        names.push_back(text.toStdString());
    return QString::fromStdString(RemotePathOfNames(names, firstChildText.toStdString()));
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

std::optional<std::string> ParentStartDirectory(const std::string& directory)
{
    std::string d = directory;
    // "/pub/" is the folder "/pub": a trailing separator is not a level.
    while (d.size() > 1 && (d.back() == '/' || d.back() == '\\'))
        d.pop_back();
    const auto separators = std::count(d.begin(), d.end(), '/') + std::count(d.begin(), d.end(), '\\');
    if (separators == 0)
        return std::nullopt;
    if (separators == 1) {
        const std::size_t at = d.find_first_of("/\\");
        if (at == d.size() - 1)
            return std::nullopt;
        return d.substr(0, at + 1);
    }
    std::size_t at = d.rfind('/');
    if (at == std::string::npos)
        at = d.rfind('\\');
    return d.substr(0, at);
}
