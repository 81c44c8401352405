// The transfer window's logic: where the byte text changes unit, the percentage without overflow,
// the caption while minimised, throttled reports and the cancel flag.
#include "RecordingUi.h"

#include <gtest/gtest.h>

using tarvo::test::RecordingUi;

namespace {

TEST(Progress, ByteTextChangesUnitAboveEachLimit)
{
    // Nothing up to 1024 bytes, KB above that, MB above 1 MiB and no larger unit.
    const std::pair<std::uint64_t, std::string> cases[]
        = {{1024, ""}, {1025, " KB"}, {1 << 20, " KB"}, {(1 << 20) + 1, " MB"}, {5ULL << 30, " MB"}};
    for (const auto& [count, unit] : cases) {
        const std::string text = QorFtpProgress::FormatByteText(count);
        EXPECT_EQ(text.substr(text.size() < 3 ? 0 : text.size() - 3), unit) << count;
    }
}

TEST(Progress, PercentWithoutOverflow)
{
    EXPECT_EQ(QorFtpProgress::ComputePercent(5, 0), -1);
    EXPECT_EQ(QorFtpProgress::ComputePercent(3000000, 3000000), 100);
    EXPECT_EQ(QorFtpProgress::ComputePercent(42949673, 42949673 * 2), 50);
    EXPECT_EQ(QorFtpProgress::ComputePercent((6ULL << 30) / 2, 6ULL << 30), 50);
    EXPECT_EQ(QorFtpProgress::ComputePercent(UINT64_MAX - 1, UINT64_MAX), 99);
}

TEST(Progress, CaptionShowsPercentOnlyWhileMinimised)
{
    RecordingUi ui;
    ui.withWindow = true;
    QorFtpProgress::ResetLastShownPercent();
    EXPECT_EQ(QorFtpProgress(ui, QorFtpProgress::Direction::Upload, "x to y").Caption(), "Uploading:");
    QorFtpProgress progress(ui, QorFtpProgress::Direction::Download, "/tmp/a from host");
    EXPECT_EQ(progress.Caption(), "Downloading:");

    progress.SetMinimized(true);
    // An unknown total changes only the bytes.
    progress.Update(2048, 0, true);
    EXPECT_EQ(progress.Caption(), "Downloading:");
    EXPECT_EQ(progress.Percent(), 0);
    EXPECT_FALSE(progress.ByteText().empty());
    progress.Update(45, 100, true);
    EXPECT_EQ(progress.Caption(), "Downloading: 45%");
    EXPECT_EQ(QorFtpProgress::LastShownPercent(), 45);

    // Same percentage: the caption is not rewritten even after restoring.
    progress.SetMinimized(false);
    progress.Update(45, 100, true);
    EXPECT_EQ(progress.Caption(), "Downloading: 45%");
    progress.Update(46, 100, true);
    EXPECT_EQ(progress.Caption(), "Downloading:");
    EXPECT_EQ(progress.Percent(), 46);
}

TEST(Progress, ReportsAreThrottledButTheLastAlwaysArrives)
{
    RecordingUi ui;
    ui.withWindow = true;
    int reports = 0;
    ui.onProgress = [&](QorFtpProgress&) { ++reports; };
    QorFtpProgress progress(ui, QorFtpProgress::Direction::Download, "f");
    progress.Update(0, 1 << 20, true);
    for (int i = 1; i <= 1000; ++i)
        progress.Update(static_cast<std::uint64_t>(i) * 1024, 1 << 20);
    EXPECT_LT(reports, 10);
    const int before = reports;
    progress.Update(1 << 20, 1 << 20, true);
    EXPECT_EQ(reports, before + 1);
    EXPECT_EQ(progress.Percent(), 100);
}

TEST(Progress, CancelFlagIsClearedWhenRead)
{
    RecordingUi ui;
    QorFtpProgress progress(ui, QorFtpProgress::Direction::Download, "f");
    EXPECT_FALSE(progress.HasWindow());
    EXPECT_FALSE(progress.IsCancelRequested());
    progress.RequestCancel();
    EXPECT_TRUE(progress.IsCancelRequested());
    EXPECT_FALSE(progress.IsCancelRequested());
}

} // namespace
