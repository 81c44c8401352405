#include "servers/PasswordKeyring.h"
#include "servers/PasswordScrambler.h"
#include "servers/ServerStore.h"
#include "tests/core/TemporaryStore.h"

#include "FakeKeyring.h"
#include "RecordingInteraction.h"

#include <QSettings>

namespace {

class KeyringStore : public TemporaryStore {
protected:
    void SetUp() override
    {
        TemporaryStore::SetUp();
        SetPasswordKeyring(keyring);
        SetInteraction(&interaction);
    }
    void TearDown() override
    {
        SetInteraction(nullptr);
        SetPasswordKeyring(nullptr);
        TemporaryStore::TearDown();
    }

    void useKeyring(bool on)
    {
        AppSettings settings = ProgramSettings();
        settings.useKeyring = on ? 1 : 0;
        SetProgramSettings(settings);
    }

    bool fileHasPassword(const char* server) const
    {
        return QSettings(file(), QSettings::IniFormat).contains(QStringLiteral("Servers/%1/UP").arg(server));
    }

    std::string loaded(const std::string& server)
    {
        ServerMap.clear();
        LoadServers();
        return ServerMap.at(server).password;
    }

    std::shared_ptr<tarvo::test::FakeKeyring> keyring = std::make_shared<tarvo::test::FakeKeyring>();
    tarvo::test::RecordingInteraction interaction;
};

ServerRecord server(std::string name, std::string password)
{
    return {std::move(name), "127.0.0.1", "bob", std::move(password)};
}

} // namespace

TEST_F(KeyringStore, TheOptionChoosesWhereAPasswordIsKept)
{
    for (const bool on : {false, true}) {
        SCOPED_TRACE(on ? "keyring" : "file");
        useKeyring(on);
        ASSERT_TRUE(SaveNewServer(server("box", "s\xC3\xA9" "cret")));
        EXPECT_EQ(fileHasPassword("box"), !on);
        EXPECT_EQ(keyring->entries.count("box") == 1, on);
        EXPECT_EQ(loaded("box"), "s\xC3\xA9" "cret");
        // Renamed and deleted servers take their entries along.
        ASSERT_TRUE(RenameServer("box", "crate"));
        EXPECT_EQ(loaded("crate"), "s\xC3\xA9" "cret");
        EXPECT_EQ(keyring->entries.count("box"), 0u);
        ASSERT_TRUE(DeleteServer("crate"));
        EXPECT_TRUE(keyring->entries.empty());
    }
    EXPECT_TRUE(interaction.asked.empty());
}

TEST_F(KeyringStore, AnOldScrambledPasswordMovesToTheKeyringOnFirstUse)
{
    {
        QSettings raw(file(), QSettings::IniFormat);
        raw.setValue("Servers/old/IP", "127.0.0.1");
        raw.setValue("Servers/old/UN", "bob");
        const std::string scrambled = ScramblePassword("hunter2", "bob");
        raw.setValue("Servers/old/UP", QByteArray(scrambled.data(), qsizetype(scrambled.size())));
    }
    useKeyring(true);
    EXPECT_EQ(loaded("old"), "hunter2");
    EXPECT_EQ(keyring->entries["old"], "hunter2");
    EXPECT_FALSE(fileHasPassword("old"));
    EXPECT_EQ(loaded("old"), "hunter2");
}

TEST_F(KeyringStore, WithoutAKeyringTheMessageNamesTheServer)
{
    useKeyring(true);
    ASSERT_TRUE(SaveNewServer(server("kept", "in the keyring")));
    ASSERT_TRUE(SaveNewServer(server("guest", "")));
    keyring->refusal = "No keyring is running.";
    // A password that cannot go to the keyring stays in the file rather than be lost.
    ASSERT_TRUE(SaveNewServer(server("new", "fallback")));
    EXPECT_TRUE(fileHasPassword("new"));

    EXPECT_EQ(loaded("kept"), "");
    EXPECT_EQ(ServerMap.at("new").password, "fallback");
    const auto problems = KeyringPasswordProblems();
    EXPECT_EQ(problems.size(), 2u); // "guest" has no entry, but the keyring was not there to say so
    EXPECT_EQ(problems.count("kept"), 1u);
    ASSERT_EQ(interaction.asked.size(), 1u);
    // Saved again once the keyring is back, the unknown password is left as it was there.
    keyring->refusal.clear();
    ASSERT_TRUE(SaveServerSettings(ServerMap.at("kept")));
    EXPECT_EQ(keyring->entries["kept"], "in the keyring");
    EXPECT_EQ(interaction.asked[0].second,
              "Could not get the passwords of the servers 'guest', 'kept' from the "
              "desktop's keyring: No keyring is running.");
}
