#include "servers/ServerStoreConversion.h"

#include "servers/PasswordScrambler.h"
#include "servers/ServerFields.h"
#include "servers/ServerNameKey.h"
#include "settings/Settings.h"

#include <QStringList>

namespace {

const QString versionKey = QStringLiteral("Servers/Version");

// Version "2.0" kept passwords plain; everyone but "anonymous" gets them scrambled.
void convertFrom20(QSettings& store)
{
    store.beginGroup(QStringLiteral("Servers"));
    const QStringList keys = store.childGroups();
    store.endGroup();
    for (const QString& key : keys) {
        const QString prefix = QStringLiteral("Servers/") + key + u'/';
        const std::string userName = StoredText(store.value(prefix + QStringLiteral("UN"))).toStdString();
        if (IsAnonymousUser(userName))
            continue;
        const std::string password = PlainPasswordFromStore(store.value(prefix + QStringLiteral("UP")));
        store.setValue(prefix + QStringLiteral("UP"), PasswordToStore(password, userName));
    }
}

// One entry of the oldest layout: "name,[address,]user,password,port,passive". The
// address is there only when the entry has more than four commas.
ServerRecord recordFromOldEntry(const QString& entry)
{
    const QStringList fields = entry.split(u',');
    const bool hasAddress = fields.size() > 5;
    qsizetype next = 0;
    const auto field = [&fields, &next] { return fields.value(next++); };
    ServerRecord record;
    record.name = field().toStdString();
    record.address = hasAddress ? field().toStdString() : record.name;
    record.userName = field().toStdString();
    record.password = field().toStdString();
    bool isNumber = false;
    const int port = field().trimmed().toInt(&isNumber);
    record.port = isNumber ? port : 21;
    record.passive = field().trimmed().toInt();
    return record;
}

// The oldest layout: the value "Servers" lists one-character names of values that each
// hold a whole server, and the history texts live under "Prop".
void convertUnversioned(QSettings& store)
{
    const QString entries = StoredText(store.value(QStringLiteral("Servers/Servers")));
    for (const QChar entryName : entries) {
        const QString entryKey = QStringLiteral("Servers/") + EscapeServerName(QString(entryName));
        const ServerRecord record = recordFromOldEntry(StoredText(store.value(entryKey)));
        if (record.name.empty())
            continue; // an entry that is missing or has no name cannot be a key
        WriteServerFields(store, record);
        // A server may be named like an entry, so the entry's subkeys must stay.
        RemoveValueOnly(store, entryKey);
        const QString oldHistoryKey = QStringLiteral("Prop/") + EscapeServerName(QString::fromStdString(record.name));
        if (store.contains(oldHistoryKey))
            store.setValue(ServerKey(record.name), store.value(oldHistoryKey));
    }
    store.setValue(versionKey, QStringLiteral("2.1"));
    RemoveValueOnly(store, QStringLiteral("Servers/Servers"));
    store.remove(QStringLiteral("Prop"));
}

} // namespace

void ConvertServerStore()
{
    const auto store = OpenSettingsStore();
    const QVariant version = store->value(versionKey);
    if (!version.isValid()) {
        convertUnversioned(*store);
    } else if (StoredText(version) == QStringLiteral("2.0")) {
        convertFrom20(*store);
        store->setValue(versionKey, QStringLiteral("2.1"));
    }
    // "2.1" is current; any other version comes from a newer program and is left alone.
}
