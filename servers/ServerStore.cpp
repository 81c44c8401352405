#include "servers/ServerStore.h"

#include "operations/Interaction.h"
#include "servers/HistoryText.h"
#include "servers/PasswordKeyring.h"
#include "servers/ServerFields.h"
#include "servers/ServerMap.h"
#include "servers/ServerNameProblem.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <algorithm>

namespace {

bool storable(const std::string& name)
{
    return !ServerNameProblem(name);
}

std::map<std::string, QString> keyringProblems;

void reportKeyringProblems()
{
    if (keyringProblems.empty())
        return;
    QStringList names;
    for (const auto& [name, reason] : keyringProblems)
        names.append(u'\'' + QString::fromStdString(name) + u'\'');
    const QString reason = keyringProblems.begin()->second;
    const QString message = keyringProblems.size() == 1
        ? QCoreApplication::translate("ServerStore",
                                      "Could not get the password of the server %1 from the desktop's keyring: %2")
              .arg(names.first(), reason)
        : QCoreApplication::translate("ServerStore",
                                      "Could not get the passwords of the servers %1 from the desktop's keyring: %2")
              .arg(names.join(QStringLiteral(", ")), reason);
    GetInteraction().ShowMessage(message.toStdString(), MessageIcon::Warning);
}

} // namespace

void LoadServers()
{
    ServerMap.clear();
    keyringProblems.clear();
    const auto store = OpenSettingsStore();
    store->beginGroup(QStringLiteral("Servers"));
    const QStringList keys = store->childGroups();
    store->endGroup();
    for (const QString& key : keys) {
        QString problem;
        ServerRecord record = ReadServerRecord(*store, key, &problem);
        const std::string name = record.name;
        if (!problem.isEmpty())
            keyringProblems[name] = problem;
        ServerMap.insert_or_assign(name, std::move(record));
    }
    reportKeyringProblems();
}

std::map<std::string, QString> KeyringPasswordProblems()
{
    return keyringProblems;
}

void MoveServerPasswords()
{
    const auto store = OpenSettingsStore();
    const bool useKeyring = ProgramSettings().useKeyring != 0;
    // A copy: the keyring's waits run queued calls, which may touch ServerMap.
    const ServerTable servers = ServerMap;
    for (const auto& [name, record] : servers) {
        if (keyringProblems.count(name) || !storable(name))
            continue;
        WriteServerPassword(*store, name, record.userName, record.password);
        if (!useKeyring)
            GetPasswordKeyring()->Remove(name);
    }
}

bool SaveNewServer(const ServerRecord& record, const QDateTime& now)
{
    if (!storable(record.name))
        return false;
    const auto store = OpenSettingsStore();
    WriteServerFields(*store, record);
    WriteServerComment(*store, record.name, record.comment);
    store->setValue(ServerKey(record.name), FormatLastConnected(now));
    ServerMap.insert_or_assign(record.name, record);
    return true;
}

bool SaveConnectTime(const std::string& name, const QDateTime& now)
{
    if (!storable(name))
        return false;
    OpenSettingsStore()->setValue(ServerKey(name), FormatLastConnected(now));
    return true;
}

bool SaveDuration(const std::string& name, const QDateTime& connectedAt, const QDateTime& now)
{
    if (!storable(name))
        return false;
    // A clock set back during the connection must not give a negative span.
    const qint64 seconds = std::max<qint64>(0, connectedAt.secsTo(now));
    const auto store = OpenSettingsStore();
    const QString history = StoredText(store->value(ServerKey(name)));
    store->setValue(ServerKey(name), history + u';' + FormatDuration(seconds));
    return true;
}

bool RenameServer(const std::string& oldName, const std::string& newName)
{
    if (!storable(oldName) || !storable(newName))
        return false;
    const auto store = OpenSettingsStore();
    // Removing the old key drops its history value too, so that is read first.
    const QVariant history = store->value(ServerKey(oldName));
    store->remove(ServerKey(oldName));
    if (history.isValid())
        store->setValue(ServerKey(newName), history);

    const auto found = ServerMap.find(oldName);
    if (found == ServerMap.end())
        return true;
    ServerRecord record = std::move(found->second);
    ServerMap.erase(found);
    record.name = newName;
    // A password the keyring did not give is not known to be empty: its entry is left alone.
    const auto problem = keyringProblems.extract(oldName);
    WriteServerFields(*store, record, problem.empty());
    if (problem.empty())
        ForgetServerPassword(oldName);
    else
        keyringProblems.insert_or_assign(newName, problem.mapped());
    WriteServerComment(*store, record.name, record.comment);
    ServerMap.insert_or_assign(newName, std::move(record));
    return true;
}

bool DeleteServer(const std::string& name)
{
    if (!storable(name))
        return false;
    ServerMap.erase(name);
    ForgetServerPassword(name);
    // The subkey and the history value share the key, so one removal takes both.
    OpenSettingsStore()->remove(ServerKey(name));
    return true;
}

bool SaveServerComment(const std::string& name, const std::string& comment)
{
    if (!storable(name))
        return false;
    WriteServerComment(*OpenSettingsStore(), name, comment);
    const auto found = ServerMap.find(name);
    if (found != ServerMap.end())
        found->second.comment = comment;
    return true;
}

bool SaveServerSettings(const ServerRecord& record)
{
    if (!storable(record.name))
        return false;
    // The empty password of a server whose password the keyring did not give is no new password.
    const bool passwordUnknown = record.password.empty() && keyringProblems.count(record.name);
    WriteServerFields(*OpenSettingsStore(), record, !passwordUnknown);
    if (!passwordUnknown)
        keyringProblems.erase(record.name);
    const auto [found, inserted] = ServerMap.try_emplace(record.name, record);
    if (!inserted) {
        const std::string comment = found->second.comment;
        found->second = record;
        found->second.comment = comment;
    }
    return true;
}

bool SaveTrustedFingerprint(const std::string& name, const std::string& fingerprint)
{
    if (!storable(name))
        return false;
    const auto store = OpenSettingsStore();
    const QString key = ServerKey(name) + u'/';
    if (!store->contains(key + QStringLiteral("IP")))
        return false;
    store->setValue(key + QStringLiteral("CERT"), QString::fromStdString(fingerprint));
    store->sync();
    auto remember = [name, fingerprint] {
        const auto found = ServerMap.find(name);
        if (found != ServerMap.end())
            found->second.trustedFingerprint = fingerprint;
    };
    // ServerMap belongs to the user-interface thread; without an application there is no other.
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread())
        QMetaObject::invokeMethod(app, remember, Qt::QueuedConnection);
    else
        remember();
    return true;
}

QString ReadServerHistory(const std::string& name)
{
    return StoredText(OpenSettingsStore()->value(ServerKey(name)));
}
