#include "servers/ServerStore.h"

#include "servers/PasswordScrambler.h"
#include "tests/core/TemporaryStore.h"

#include <QSettings>

#include <map>
#include <vector>

namespace {

const QDateTime connected({2024, 1, 1}, {15, 4, 0});
const QString connectedText = "Monday, January 01, 2024 at 3:04 PM";

ServerRecord record(std::string name, std::string userName = "bob", std::string password = "secret")
{
    return {std::move(name), "ftp.example.org", std::move(userName), std::move(password), "acct", 2121, 1, "a comment"};
}

std::map<std::string, ServerRecord> reloaded()
{
    ServerMap.clear();
    LoadServers();
    return {ServerMap.begin(), ServerMap.end()};
}

} // namespace

using ServerStore = TemporaryStore;

TEST_F(ServerStore, EveryPasswordComesBackFromTheFile)
{
    std::string everyByte;
    for (int b = 1; b <= 255; ++b)
        everyByte += static_cast<char>(b);
    std::map<std::string, ServerRecord> saved;
    for (const auto& server : {record("all bytes", "bob", everyByte), record("umlaut user", "J\xC3\xBCrgen", everyByte),
                               record("no user", "", "p\xC3\xA4sswort"), record("no password", "bob", ""),
                               record("anonymous", "AnonYMous", "gu\xC3\xA9st@example.org")}) {
        SaveNewServer(server, connected);
        saved[server.name] = server;
    }
    EXPECT_EQ(reloaded(), saved);
    QSettings raw(file(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("Servers/anonymous/UP").toByteArray(), "gu\xC3\xA9st@example.org");
}

TEST_F(ServerStore, TextPasswordsOfOlderVersionsStillLoad)
{
    // Those versions kept each scrambled byte as one character, U+0000 to U+00FF: for the user "<"
    // the password "\xC3\xA9!" scrambles to 0xFF 0x19 0xA1.
    const std::string scrambled = ScramblePassword("\xC3\xA9!", "<");
    ASSERT_EQ(scrambled.substr(0, 3), "\xFF\x19\xA1");
    {
        QSettings raw(file(), QSettings::IniFormat);
        raw.setValue("Servers/old/UN", "<");
        raw.setValue("Servers/old/UP", QString::fromLatin1(scrambled.data(), qsizetype(scrambled.size())));
        raw.setValue("Servers/guest/UN", "anonymous");
        raw.setValue("Servers/guest/UP", QString::fromUtf8("g\xC3\xA4st"));
    }
    const auto servers = reloaded();
    EXPECT_EQ(servers.at("old").password, "\xC3\xA9!");
    EXPECT_EQ(servers.at("guest").password, "g\xC3\xA4st");
}

TEST_F(ServerStore, MissingValuesTakeDefaultsAndMissingGroupLeavesMapEmpty)
{
    ServerMap["stale"] = record("stale");
    EXPECT_TRUE(reloaded().empty());

    QSettings(file(), QSettings::IniFormat).setValue("Servers/bare/IP", "host");
    EXPECT_EQ(reloaded().at("bare"), (ServerRecord{"bare", "host", "", "", "", 21, 0, ""}));
}

TEST_F(ServerStore, AnyNameRoundTripsAndPlainNamesStayPlain)
{
    const std::vector<std::string> names
        = {"a/b", "a\\b", "100%", "%2F", "\xC3\xBCmlaut", "x y", "/lead//double/", "plain.name-1"};
    for (const auto& name : names)
        SaveNewServer(record(name), connected);
    // Keys written by hand or by another program may use lower-case escapes.
    QSettings(file(), QSettings::IniFormat).setValue("Servers/lower%2fcase%5cescapes%25/IP", "host");
    const auto servers = reloaded();
    ASSERT_EQ(servers.size(), names.size() + 1);
    EXPECT_EQ(servers.at("lower/case\\escapes%").address, "host");
    for (const auto& name : names) {
        EXPECT_EQ(servers.at(name), record(name));
        EXPECT_EQ(ReadServerHistory(name), connectedText) << name;
    }
    QSettings raw(file(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("Servers/x y/IP").toString(), "ftp.example.org");
    EXPECT_TRUE(fileText().contains("\nplain.name-1\\IP=ftp.example.org\n"));
}

TEST_F(ServerStore, HistoryTracksConnectionsAndDisconnections)
{
    SaveNewServer(record("srv"), connected);
    EXPECT_EQ(ReadServerHistory("srv"), connectedText);
    SaveDuration("srv", connected, connected.addSecs(3725));
    EXPECT_EQ(ReadServerHistory("srv"), connectedText + ";01 hours, 02 minutes and 05 seconds");

    const QDateTime later({2024, 3, 5}, {9, 7, 0});
    SaveConnectTime("srv", later);
    EXPECT_EQ(ReadServerHistory("srv"), "Tuesday, March 05, 2024 at 9:07 AM");
    SaveDuration("srv", later, later);
    EXPECT_EQ(ReadServerHistory("srv"), "Tuesday, March 05, 2024 at 9:07 AM;");
}

TEST_F(ServerStore, RenameAndDeleteMoveOrDropFieldsHistoryAndMapEntry)
{
    for (const char* name : {"old", "gone", "kept"})
        SaveNewServer(record(name), connected);
    RenameServer("old", "new/name");
    DeleteServer("gone");

    EXPECT_EQ(ServerMap.size(), 2u);
    EXPECT_EQ(ServerMap.at("new/name"), record("new/name"));
    const std::map<std::string, ServerRecord> expected = {{"new/name", record("new/name")}, {"kept", record("kept")}};
    EXPECT_EQ(reloaded(), expected);
    EXPECT_EQ(ReadServerHistory("new/name"), connectedText);
    QSettings raw(file(), QSettings::IniFormat);
    raw.beginGroup("Servers");
    EXPECT_EQ(raw.childKeys(), QStringList({"kept", "new%2Fname"}));
}

TEST_F(ServerStore, SettingsPageLeavesTheCommentAlone)
{
    SaveNewServer(record("srv"), connected);
    ServerRecord changed = record("srv", "alice", "n3w");
    changed.port = 990;
    changed.comment = "not written";
    SaveServerSettings(changed);
    EXPECT_EQ(ServerMap.at("srv").comment, "a comment");
    EXPECT_EQ(reloaded().at("srv").comment, "a comment");

    SaveServerComment("srv", "from the comment page");
    changed.comment = "from the comment page";
    EXPECT_EQ(ServerMap.at("srv"), changed);
    EXPECT_EQ(reloaded().at("srv"), changed);
}

TEST_F(ServerStore, NamesTheStoreUsesForItselfAreNeverWritten)
{
    SaveNewServer(record("srv"), connected);
    OpenSettingsStore()->setValue("Servers/Version", "2.1");
    const QByteArray before = fileText();
    for (const std::string name : {"", " ", "Version", "Servers"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(SaveNewServer(record(name), connected));
        EXPECT_FALSE(SaveConnectTime(name, connected));
        EXPECT_FALSE(SaveDuration(name, connected, connected));
        EXPECT_FALSE(RenameServer("srv", name));
        EXPECT_FALSE(RenameServer(name, "other"));
        EXPECT_FALSE(DeleteServer(name));
        EXPECT_FALSE(SaveServerComment(name, "c"));
        EXPECT_FALSE(SaveServerSettings(record(name)));
        EXPECT_EQ(fileText(), before);
    }
    EXPECT_EQ(ServerMap.size(), 1u);
    EXPECT_EQ(reloaded(), (std::map<std::string, ServerRecord>{{"srv", record("srv")}}));
}
