#include "servers/ServerFields.h"

#include "servers/PasswordKeyring.h"
#include "servers/PasswordScrambler.h"
#include "servers/ServerNameKey.h"
#include "settings/Settings.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace {

std::string utf8(const QString& text)
{
    return text.toStdString();
}

QString text(const std::string& utf8Text)
{
    return QString::fromStdString(utf8Text);
}

std::string bytesOf(const QByteArray& bytes)
{
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Scrambled bytes kept as text by an older version can only have survived one
// character per byte; anything beyond U+00FF was never such a byte.
std::string scrambledBytesFromText(const QString& stored)
{
    for (const QChar c : stored) {
        if (c.unicode() > 0xFF)
            return utf8(stored);
    }
    return bytesOf(stored.toLatin1());
}

int storedInt(const QVariant& value, int fallback)
{
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    return isNumber ? number : fallback;
}

} // namespace

QString ServerKey(const std::string& name)
{
    return QStringLiteral("Servers/") + EscapeServerName(text(name));
}

void WriteServerFields(QSettings& store, const ServerRecord& record, bool withPassword)
{
    const QString key = ServerKey(record.name) + u'/';
    store.setValue(key + QStringLiteral("IP"), text(record.address));
    store.setValue(key + QStringLiteral("UN"), text(record.userName));
    if (withPassword)
        WriteServerPassword(store, record.name, record.userName, record.password);
    store.setValue(key + QStringLiteral("ACC"), text(record.account));
    store.setValue(key + QStringLiteral("PORT"), record.port);
    store.setValue(key + QStringLiteral("PM"), record.passive);
    store.setValue(key + QStringLiteral("ENC"), record.encryption);
    store.setValue(key + QStringLiteral("CERT"), text(record.trustedFingerprint));
}

void WriteServerComment(QSettings& store, const std::string& name, const std::string& comment)
{
    store.setValue(ServerKey(name) + QStringLiteral("/CMNT"), text(comment));
}

ServerRecord ReadServerRecord(QSettings& store, const QString& key, QString* passwordProblem)
{
    const QString prefix = QStringLiteral("Servers/") + key + u'/';
    const auto read = [&](const char* valueName) { return store.value(prefix + QLatin1String(valueName)); };
    ServerRecord record;
    record.name = utf8(UnescapeServerName(key));
    record.address = utf8(StoredText(read("IP")));
    record.userName = utf8(StoredText(read("UN")));
    QString problem;
    record.password = ReadServerPassword(store, record.name, record.userName, problem);
    if (passwordProblem)
        *passwordProblem = problem;
    record.account = utf8(StoredText(read("ACC")));
    record.port = storedInt(read("PORT"), 21);
    record.passive = storedInt(read("PM"), 0);
    // A value this version does not know (a newer program's) is taken as the default, which
    // still encrypts where the server can.
    record.encryption = storedInt(read("ENC"), 0);
    if (record.encryption < 0 || record.encryption > 3)
        record.encryption = 0;
    record.trustedFingerprint = utf8(StoredText(read("CERT")));
    record.comment = utf8(StoredText(read("CMNT")));
    return record;
}

void WriteServerPassword(QSettings& store, const std::string& name, const std::string& userName,
                         const std::string& password)
{
    const QString key = ServerKey(name) + QStringLiteral("/UP");
    if (ProgramSettings().useKeyring) {
        const auto keyring = GetPasswordKeyring();
        const QString problem = password.empty() ? keyring->Remove(name) : keyring->Write(name, password);
        if (problem.isEmpty()) {
            store.remove(key);
            return;
        }
    }
    store.setValue(key, PasswordToStore(password, userName));
}

std::string ReadServerPassword(QSettings& store, const std::string& name, const std::string& userName, QString& problem)
{
    problem.clear();
    const QString key = ServerKey(name) + QStringLiteral("/UP");
    const bool useKeyring = ProgramSettings().useKeyring != 0;
    if (store.contains(key)) {
        const std::string password = PasswordFromStore(store.value(key), userName);
        if (useKeyring)
            WriteServerPassword(store, name, userName, password);
        return password;
    }
    std::string password;
    if (useKeyring)
        problem = GetPasswordKeyring()->Read(name, password);
    return password;
}

void ForgetServerPassword(const std::string& name)
{
    if (ProgramSettings().useKeyring)
        GetPasswordKeyring()->Remove(name);
}

QVariant PasswordToStore(const std::string& password, const std::string& userName)
{
    const std::string stored = IsAnonymousUser(userName) ? password : ScramblePassword(password, userName);
    return QByteArray(stored.data(), static_cast<qsizetype>(stored.size()));
}

std::string PasswordFromStore(const QVariant& stored, const std::string& userName)
{
    if (IsAnonymousUser(userName))
        return PlainPasswordFromStore(stored);
    if (stored.typeId() == QMetaType::QByteArray)
        return UnscramblePassword(bytesOf(stored.toByteArray()), userName);
    return UnscramblePassword(scrambledBytesFromText(StoredText(stored)), userName);
}

std::string PlainPasswordFromStore(const QVariant& stored)
{
    if (stored.typeId() == QMetaType::QByteArray)
        return bytesOf(stored.toByteArray());
    return utf8(StoredText(stored));
}

QString StoredText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

void RemoveValueOnly(QSettings& store, const QString& key)
{
    store.beginGroup(key);
    const QStringList subkeys = store.allKeys();
    QList<QVariant> values;
    for (const QString& subkey : subkeys)
        values.append(store.value(subkey));
    store.endGroup();
    store.remove(key);
    for (qsizetype i = 0; i < subkeys.size(); ++i)
        store.setValue(key + u'/' + subkeys.at(i), values.at(i));
}
