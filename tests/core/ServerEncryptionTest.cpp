// A server's encryption and trusted certificate: kept by every writer of the server store, loaded
// back as written, and stores from before they existed loading as "if available" with nothing
// trusted.
#include "servers/ServerStore.h"
#include "servers/ServerStoreConversion.h"
#include "tests/core/TemporaryStore.h"

#include "QorFtp.h"

#include <QSettings>

#include <functional>

namespace {

const std::string kFingerprint = "AB:CD:EF:01";

ServerRecord Secured(const std::string& name, QorFtpEncryption encryption)
{
    ServerRecord record{name, "127.0.0.1", "bob", "pw", "", 990, 1, "c"};
    record.encryption = static_cast<int>(encryption);
    record.trustedFingerprint = kFingerprint;
    return record;
}

ServerRecord Reloaded(const std::string& name)
{
    ServerMap.clear();
    LoadServers();
    const auto found = ServerMap.find(name);
    return found == ServerMap.end() ? ServerRecord{} : found->second;
}

} // namespace

using ServerEncryption = TemporaryStore;

TEST_F(ServerEncryption, EveryWriterKeepsEncryptionAndFingerprint)
{
    struct Writer {
        const char* what;
        std::function<void(const ServerRecord&)> write;
        std::string loadedName;
    };
    const Writer writers[] = {
        {"new server", [](const ServerRecord& r) { SaveNewServer(r); }, "srv"},
        {"settings page",
         [](const ServerRecord& r) {
             SaveNewServer({r.name, "old", "bob", "pw", "", 21, 0, ""});
             SaveServerSettings(r);
         },
         "srv"},
        {"rename",
         [](const ServerRecord& r) {
             SaveNewServer(r);
             RenameServer(r.name, "renamed");
         },
         "renamed"},
    };
    for (const Writer& writer : writers) {
        for (const QorFtpEncryption mode : {QorFtpEncryption::IfAvailable, QorFtpEncryption::RequireExplicit,
                                            QorFtpEncryption::RequireImplicit, QorFtpEncryption::PlainOnly}) {
            SCOPED_TRACE(std::string(writer.what) + " " + std::to_string(static_cast<int>(mode)));
            ServerMap.clear();
            writeFileText({});
            ServerRecord record = Secured("srv", mode);
            writer.write(record);
            const ServerRecord loaded = Reloaded(writer.loadedName);
            EXPECT_EQ(loaded.encryption, static_cast<int>(mode));
            EXPECT_EQ(loaded.trustedFingerprint, kFingerprint);
        }
    }
}

TEST_F(ServerEncryption, StoresWithoutTheValuesLoadAsIfAvailable)
{
    struct Case {
        const char* what;
        QByteArray store;
        int encryption;
    };
    const Case cases[] = {
        {"current layout without ENC", "[Servers]\nVersion=2.1\nsrv\\IP=h\nsrv\\UN=bob\nsrv\\PORT=21\n", 0},
        {"a value from a newer program", "[Servers]\nVersion=2.1\nsrv\\IP=h\nsrv\\ENC=7\n", 0},
        {"a negative value", "[Servers]\nVersion=2.1\nsrv\\IP=h\nsrv\\ENC=-1\n", 0},
        {"not a number", "[Servers]\nVersion=2.1\nsrv\\IP=h\nsrv\\ENC=tls\n", 0},
        {"plain kept", "[Servers]\nVersion=2.1\nsrv\\IP=h\nsrv\\ENC=3\n", 3},
        {"oldest layout, converted", "[Servers]\nServers=a\na=\"srv,h,bob,pw,21,0\"\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFileText(c.store);
        ConvertServerStore();
        const ServerRecord loaded = Reloaded("srv");
        EXPECT_EQ(loaded.address, "h");
        EXPECT_EQ(loaded.encryption, c.encryption);
        EXPECT_EQ(loaded.trustedFingerprint, "");
    }
}

TEST_F(ServerEncryption, TrustedFingerprintIsSavedOnlyForStoredServers)
{
    SaveNewServer({"srv", "h", "bob", "pw", "", 21, 0, ""});
    EXPECT_TRUE(SaveTrustedFingerprint("srv", kFingerprint));
    EXPECT_EQ(ServerMap.at("srv").trustedFingerprint, kFingerprint);
    EXPECT_EQ(Reloaded("srv").trustedFingerprint, kFingerprint);
    // The rest of the record stays as it was.
    EXPECT_EQ(Reloaded("srv").address, "h");

    // A server not yet saved must not appear in the store as a fingerprint alone.
    EXPECT_FALSE(SaveTrustedFingerprint("unsaved", kFingerprint));
    QSettings raw(file(), QSettings::IniFormat);
    raw.beginGroup("Servers");
    EXPECT_EQ(raw.childGroups(), QStringList{"srv"});
}
