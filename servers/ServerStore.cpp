#include "servers/ServerStore.h"

#include "settings/Settings.h"
#include "servers/HistoryText.h"
#include "servers/ServerFields.h"
#include "servers/ServerMap.h"

#include <algorithm>

void LoadServers()
{
    ServerMap.clear();
    const auto store = OpenSettingsStore();
    store->beginGroup(QStringLiteral("Servers"));
    const QStringList keys = store->childGroups();
    store->endGroup();
    for (const QString& key : keys) {
        ServerRecord record = ReadServerRecord(*store, key);
        const std::string name = record.name;
        ServerMap.insert_or_assign(name, std::move(record));
    }
}

void SaveNewServer(const ServerRecord& record, const QDateTime& now)
{
    const auto store = OpenSettingsStore();
    WriteServerFields(*store, record);
    WriteServerComment(*store, record.name, record.comment);
    store->setValue(ServerKey(record.name), FormatLastConnected(now));
    ServerMap.insert_or_assign(record.name, record);
}

void SaveConnectTime(const std::string& name, const QDateTime& now)
{
    OpenSettingsStore()->setValue(ServerKey(name), FormatLastConnected(now));
}

void SaveDuration(const std::string& name, const QDateTime& connectedAt, const QDateTime& now)
{
    // A clock set back during the connection must not give a negative span.
    const qint64 seconds = std::max<qint64>(0, connectedAt.secsTo(now));
    const auto store = OpenSettingsStore();
    const QString history = StoredText(store->value(ServerKey(name)));
    store->setValue(ServerKey(name), history + u';' + FormatDuration(seconds));
}

void RenameServer(const std::string& oldName, const std::string& newName)
{
    const auto store = OpenSettingsStore();
    // Removing the old key drops its history value too, so that is read first.
    const QVariant history = store->value(ServerKey(oldName));
    store->remove(ServerKey(oldName));
    if (history.isValid())
        store->setValue(ServerKey(newName), history);

    const auto found = ServerMap.find(oldName);
    if (found == ServerMap.end())
        return;
    ServerRecord record = std::move(found->second);
    ServerMap.erase(found);
    record.name = newName;
    WriteServerFields(*store, record);
    WriteServerComment(*store, record.name, record.comment);
    ServerMap.insert_or_assign(newName, std::move(record));
}

void DeleteServer(const std::string& name)
{
    ServerMap.erase(name);
    // The subkey and the history value share the key, so one removal takes both.
    OpenSettingsStore()->remove(ServerKey(name));
}

void SaveServerComment(const std::string& name, const std::string& comment)
{
    WriteServerComment(*OpenSettingsStore(), name, comment);
    const auto found = ServerMap.find(name);
    if (found != ServerMap.end())
        found->second.comment = comment;
}

void SaveServerSettings(const ServerRecord& record)
{
    WriteServerFields(*OpenSettingsStore(), record);
    const auto [found, inserted] = ServerMap.try_emplace(record.name, record);
    if (!inserted) {
        const std::string comment = found->second.comment;
        found->second = record;
        found->second.comment = comment;
    }
}

QString ReadServerHistory(const std::string& name)
{
    return StoredText(OpenSettingsStore()->value(ServerKey(name)));
}
