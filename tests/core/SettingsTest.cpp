#include "settings/Settings.h"

#include "servers/ServerStore.h"
#include "tests/core/TemporaryStore.h"

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

using Settings = TemporaryStore;

TEST_F(Settings, FileStaysPrivateThroughAtomicSaves)
{
    const auto ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    const QString nested = folder.filePath("new/folder/Tarvo.conf");
    SetSettingsFilePath(nested);
    SaveNewServer({"srv", "host", "bob", "secret", "", 21, 0, ""});
    SaveDuration("srv", QDateTime::currentDateTime());
    EXPECT_EQ(fs::status(nested.toStdString()).permissions(), ownerOnly);

    writeFileText("[Settings]\nShowPlus=1\n");
    fs::permissions(file().toStdString(), ownerOnly | fs::perms::group_read | fs::perms::others_read);
    SetSettingsFilePath(file());
    SaveAppSettings(LoadAppSettings());
    EXPECT_EQ(fs::status(file().toStdString()).permissions(), ownerOnly);
    EXPECT_TRUE(fileText().contains("ShowPlus=1"));
}

TEST_F(Settings, DefaultFileIsInTheUsersConfigFolder)
{
    SetSettingsFilePath({});
    EXPECT_EQ(SettingsFilePath(), folder.filePath("config/Halvern/Tarvo.conf"));
}

TEST_F(Settings, StoredValuesReadWithTheirDefaults)
{
    struct Case {
        QByteArray text;
        QString programFolder;
        float dragTime;
        int showName, timeout, maxListing;
        int parallel = 2; // connections per folder job, 1 to 10
    };
    const std::vector<Case> cases = {
        {"", "", 2.0f, 0, 60, 10'000'000}, // no application object to give the program's folder
        {"Path=/opt/tarvo\nDragTime=\nShowName=2\nTimeout=15\nMaxListing=5000\nParallelTransfers=4", "/opt/tarvo/",
         2.0f, 2, 15, 5000, 4},
        {"Path=/opt/tarvo/\nDragTime=0.5\nShowName=7\nTimeout=0\nMaxListing=-5\nParallelTransfers=0", "/opt/tarvo/",
         0.5f, 0, 60, 10'000'000, 1},
        {"DragTime=nonsense\nMaxListing=lots\nParallelTransfers=many", "", 2.0f, 0, 60, 10'000'000},
        {"Timeout=2147484\nMaxListing=99999999999\nParallelTransfers=50", "", 2.0f, 0, 3600, 100'000'000, 10},
        {"MaxListing=12", "", 2.0f, 0, 60, 1000},
    };
    for (const auto& [text, programFolder, dragTime, showName, timeout, maxListing, parallel] : cases) {
        writeFileText("[Settings]\n" + text + "\n");
        const AppSettings settings = LoadAppSettings();
        EXPECT_EQ(settings.programFolder, programFolder) << text.constData();
        EXPECT_EQ(settings.dragTime, dragTime) << text.constData();
        EXPECT_EQ(settings.showName, showName) << text.constData();
        EXPECT_EQ(settings.timeoutSeconds, timeout) << text.constData();
        EXPECT_EQ(settings.maxListing, maxListing) << text.constData();
        EXPECT_EQ(settings.parallelTransfers, parallel) << text.constData();
    }
}

TEST_F(Settings, SavedValuesComeBackAndPathIsNotPinned)
{
    const AppSettings saved{"/somewhere/",
                            QString::fromUtf8("/home/ann/Downl\xC3\xB6"
                                              "ads"),
                            0.4567f,
                            1,
                            1,
                            1,
                            30,
                            0,
                            250'000};
    SaveAppSettings(saved);
    const AppSettings loaded = LoadAppSettings();
    EXPECT_EQ(loaded.programFolder, "");
    EXPECT_EQ(loaded.defaultDownloadDir, saved.defaultDownloadDir);
    EXPECT_EQ(loaded.dragTime, 0.457f); // three significant digits
    EXPECT_EQ(std::tie(loaded.showPlus, loaded.wheelOver, loaded.showName, loaded.timeoutSeconds, loaded.maxListing),
              std::tie(saved.showPlus, saved.wheelOver, saved.showName, saved.timeoutSeconds, saved.maxListing));
}

TEST_F(Settings, ProgramSettingsAreReadOnceAndChangedThroughTheProgram)
{
    writeFileText("[Settings]\nTimeout=30\n");
    SetSettingsFilePath(file());
    EXPECT_EQ(ProgramSettings().timeoutSeconds, 30);
    // A listing must not go back to the disk: what another program writes meanwhile waits.
    writeFileText("[Settings]\nTimeout=120\nShowPlus=1\n");
    EXPECT_EQ(ProgramSettings().timeoutSeconds, 30);

    AppSettings changed = ProgramSettings();
    changed.timeoutSeconds = 90;
    SetProgramSettings(changed);
    EXPECT_EQ(ProgramSettings().timeoutSeconds, 90);
    EXPECT_EQ(LoadAppSettings().timeoutSeconds, 90);
    // Another file (tests, a configuration option) is read afresh.
    SetSettingsFilePath(folder.filePath("other.conf"));
    EXPECT_EQ(ProgramSettings().timeoutSeconds, 60);
}
