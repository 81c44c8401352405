#include "servers/ServerNameProblem.h"

#include <QCoreApplication>
#include <QString>

std::optional<std::string> ServerNameProblem(const std::string& name)
{
    if (QString::fromStdString(name).trimmed().isEmpty())
        return QCoreApplication::translate("ServerName", "A server needs a name.").toStdString();
    // Compared exactly: the settings file tells keys apart by case.
    if (name == "Version" || name == "Servers") {
        return QCoreApplication::translate("ServerName",
                                           "\"%1\" cannot be a server name: the server list keeps a value of its "
                                           "own under it. Please choose another name.")
            .arg(QString::fromStdString(name))
            .toStdString();
    }
    return std::nullopt;
}
