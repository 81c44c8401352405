#include "servers/ServerStoreConversion.h"

#include "operations/Interaction.h"
#include "servers/PasswordScrambler.h"
#include "servers/ServerStore.h"
#include "tests/core/TemporaryStore.h"

#include <QDir>
#include <QSettings>

#include <algorithm>
#include <vector>

using ServerStoreConversion = TemporaryStore;

TEST_F(ServerStoreConversion, Version20GetsScrambledPasswordsOnce)
{
    {
        QSettings old(file(), QSettings::IniFormat);
        old.setValue("Servers/Version", "2.0");
        old.setValue("Servers/alpha/UN", "bob");
        old.setValue("Servers/alpha/UP", "s3cret");
        old.setValue("Servers/alpha/PORT", 2121);
        old.setValue("Servers/umlaut/UN", QString::fromUtf8("j\xC3\xBCrgen"));
        old.setValue("Servers/umlaut/UP", QString::fromUtf8("p\xC3\xA4sswort"));
        old.setValue("Servers/guest/UN", "ANONYMOUS");
        old.setValue("Servers/guest/UP", "me@example.org");
    }
    ConvertServerStore();
    QByteArray firstConversion;
    {
        QSettings store(file(), QSettings::IniFormat);
        EXPECT_EQ(store.value("Servers/Version").toString(), "2.1");
        EXPECT_NE(store.value("Servers/alpha/UP").toByteArray(), "s3cret");
        EXPECT_EQ(store.value("Servers/guest/UP").toString(), "me@example.org");
        firstConversion = store.value("Servers/alpha/UP").toByteArray();
    }
    // The random padding would differ if the passwords were scrambled again.
    ConvertServerStore();
    EXPECT_EQ(QSettings(file(), QSettings::IniFormat).value("Servers/alpha/UP").toByteArray(), firstConversion);

    LoadServers();
    EXPECT_EQ(ServerMap.at("alpha").password, "s3cret");
    EXPECT_EQ(ServerMap.at("alpha").port, 2121);
    EXPECT_EQ(ServerMap.at("umlaut").password, "p\xC3\xA4sswort");
    EXPECT_EQ(ServerMap.at("guest").password, "me@example.org");
}

TEST_F(ServerStoreConversion, OldestLayoutBecomesOneSubkeyPerServer)
{
    // As the oldest layout stored it: entry "c" names a server "c" of its own.
    writeFileText("[Servers]\n"
                  "Servers=abcz\n"
                  "a=srv1,host1.example.org,bob,pw1,2121,1\n"
                  "b=\"srv2,alice,pw2,21,0\"\n"
                  "c=c,anonymous,me@example.org,21,0\n"
                  "[Prop]\n"
                  "srv1=\"Monday, January 01, 2024 at 3:04 PM;05 seconds\"\n");
    ConvertServerStore();
    LoadServers();

    ASSERT_EQ(ServerMap.size(), 3u);
    EXPECT_EQ(ServerMap.at("srv1"), (ServerRecord{"srv1", "host1.example.org", "bob", "pw1", "", 2121, 1, ""}));
    EXPECT_EQ(ServerMap.at("srv2"), (ServerRecord{"srv2", "srv2", "alice", "pw2", "", 21, 0, ""}));
    EXPECT_EQ(ServerMap.at("c"), (ServerRecord{"c", "c", "anonymous", "me@example.org", "", 21, 0, ""}));
    EXPECT_EQ(ReadServerHistory("srv1"), "Monday, January 01, 2024 at 3:04 PM;05 seconds");
    EXPECT_EQ(ReadServerHistory("srv2"), "");

    QSettings store(file(), QSettings::IniFormat);
    EXPECT_EQ(store.value("Servers/Version").toString(), "2.1");
    EXPECT_NE(store.value("Servers/srv1/UP").toByteArray(), "pw1");
    EXPECT_EQ(store.value("Servers/c/UP").toByteArray(), "me@example.org");
    for (const char* gone : {"Servers/Servers", "Servers/a", "Servers/b", "Servers/c", "Prop/srv1"})
        EXPECT_FALSE(store.contains(gone)) << gone;
    EXPECT_TRUE(store.childGroups().contains("Servers"));
    EXPECT_FALSE(store.childGroups().contains("Prop"));
}

TEST_F(ServerStoreConversion, NewerVersionIsLeftAlone)
{
    writeFileText("[Servers]\nVersion=3.0\nsrv\\UN=bob\nsrv\\UP=plain\n");
    const QByteArray before = fileText();
    ConvertServerStore();
    EXPECT_EQ(fileText(), before);
}

TEST_F(ServerStoreConversion, DamagedFileIsKeptAsideAndNeverRewrittenWithLess)
{
    struct Told : TerminalInteraction {
        Told() { SetInteraction(this); }
        ~Told() override { SetInteraction(nullptr); }
        void ShowMessage(const std::string& text, MessageIcon, const CancelFlag&) override { texts.push_back(text); }
        std::vector<std::string> texts;
    } told;
    const QByteArray servers = "[Servers]\nVersion=2.1\nalpha\\IP=host1\nbeta\\IP=host2\n";
    struct Case {
        QByteArray text;
        bool damaged;
        std::vector<std::string> loaded; // after a new server "new" is saved
    };
    const std::vector<Case> cases = {
        {"[Settings]\nShowPlus=1\nx=\"\n" + servers, true, {"new"}}, // the rest of the file is one value
        {"[Settings]\nx=a\\\n" + servers, true, {"new"}}, // a backslash joins the next line on
        {servers + "gamma\\CMNT=\"open\nzeta\\IP=host3\n", true, {"alpha", "beta", "gamma", "new"}},
        {"[Settings\nShowPlus=1\n" + servers, true, {"alpha", "beta", "new"}},
        // As QSettings writes line ends and quotes in a value, and quotes in a comment.
        {"; a \"quote\n" + servers + "alpha\\CMNT=\"one;\\n[two]\\\"\"\n", false, {"alpha", "beta", "new"}},
    };
    for (const auto& [text, damaged, loaded] : cases) {
        SCOPED_TRACE(text.constData());
        QDir dir(folder.path());
        for (const QString& old : dir.entryList({"Tarvo.conf.damaged-*"}))
            dir.remove(old);
        told.texts.clear();
        writeFileText(text);
        ConvertServerStore();
        LoadServers();
        SaveNewServer({"new", "host", "bob", "pw", "", 21, 0, ""});
        LoadServers();
        std::vector<std::string> names;
        for (const auto& [name, record] : ServerMap)
            names.push_back(name);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, loaded);

        const QStringList kept = dir.entryList({"Tarvo.conf.damaged-*"});
        ASSERT_EQ(kept.size(), damaged ? 1 : 0);
        ASSERT_EQ(told.texts.size(), kept.size());
        if (damaged) {
            // Told once where the file is, and the later save left it as it was.
            EXPECT_NE(told.texts[0].find(dir.filePath(kept[0]).toStdString()), std::string::npos) << told.texts[0];
            QFile copy(dir.filePath(kept[0]));
            ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
            EXPECT_EQ(copy.readAll(), text);
        }
    }
}
