// The transfer window's logic: byte text, percentage, caption while minimised, cancel flag.
#include "RecordingUi.h"

#include <gtest/gtest.h>

using tarvo::test::RecordingProgressView;
using tarvo::test::RecordingUi;

namespace {

TEST(Progress, ByteText)
{
    EXPECT_EQ(QorFtpProgress::FormatByteText(1000), "");
    EXPECT_EQ(QorFtpProgress::FormatByteText(1024), "");
    EXPECT_EQ(QorFtpProgress::FormatByteText(1536), "1.50 KB");
    EXPECT_EQ(QorFtpProgress::FormatByteText(3000000), "2.86 MB");
    EXPECT_EQ(QorFtpProgress::FormatByteText(5ULL << 30), "5120.00 MB");
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
    QorFtpProgress progress(ui, QorFtpProgress::Direction::Download, "/tmp/a from host");
    EXPECT_EQ(progress.Caption(), "Downloading:");

    progress.SetMinimized(true);
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

TEST(Progress, UnknownTotalUpdatesOnlyTheBytes)
{
    RecordingUi ui;
    ui.withWindow = true;
    QorFtpProgress::ResetLastShownPercent();
    QorFtpProgress progress(ui, QorFtpProgress::Direction::Upload, "x to y");
    progress.SetMinimized(true);
    progress.Update(2048, 0, true);
    EXPECT_EQ(progress.Caption(), "Uploading:");
    EXPECT_EQ(progress.ByteText(), "2.00 KB");
    EXPECT_EQ(progress.Percent(), 0);
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
    progress.Update(1 << 20, 1 << 20, true);
    EXPECT_EQ(progress.ByteText(), "1024.00 KB");
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
