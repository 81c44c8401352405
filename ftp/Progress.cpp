#include "QorFtpUi.h"

#include "StringTable.h"

#include <cstdio>

namespace {
// Shared by every progress window of the process; it only decides when a caption is rewritten.
std::atomic<int> g_lastShownPercent{0};
} // namespace

QorFtpProgress::QorFtpProgress(QorFtpUi& ui, Direction direction, const std::string& fileText)
    : m_caption(qorftp::LibraryText(direction == Direction::Download ? qorftp::kDownloading : qorftp::kUploading))
    , m_fileText(fileText)
{
    m_view = ui.CreateProgressView(*this);
    if (m_view) {
        m_view->SetCaption(m_caption);
        m_view->SetFileText(m_fileText);
    }
}

QorFtpProgress::~QorFtpProgress() = default;

std::string QorFtpProgress::FormatByteText(std::uint64_t count)
{
    char text[64] = {};
    double k = static_cast<double>(count) / 1024.0;
    if (k > 1)
        std::snprintf(text, sizeof text, "%.2f KB", k);
    double m = k / 1024.0;
    if (m > 1)
        std::snprintf(text, sizeof text, "%.2f MB", m);
    return text;
}

int QorFtpProgress::ComputePercent(std::uint64_t count, std::uint64_t total)
{
    if (total == 0)
        return -1;
    return static_cast<int>(static_cast<unsigned __int128>(count) * 100 / total);
}

std::string QorFtpProgress::CaptionBase(const std::string& caption)
{
    return caption.substr(0, caption.find(':')) + ":";
}

int QorFtpProgress::LastShownPercent()
{
    return g_lastShownPercent.load();
}

void QorFtpProgress::ResetLastShownPercent()
{
    g_lastShownPercent.store(0);
}

void QorFtpProgress::Update(std::uint64_t count, std::uint64_t total, bool last)
{
    const auto now = std::chrono::steady_clock::now();
    if (!last && now - m_lastReport < ReportInterval)
        return;
    m_lastReport = now;

    const int percent = ComputePercent(count, total);
    if (percent >= 0) {
        if (percent != g_lastShownPercent.load()) {
            const std::string base = CaptionBase(m_caption);
            m_caption = m_minimized.load() ? base + " " + std::to_string(percent) + "%" : base;
            if (m_view)
                m_view->SetCaption(m_caption);
            g_lastShownPercent.store(percent);
        }
        m_percent = percent;
        if (m_view)
            m_view->SetPercent(percent);
    }
    m_byteText = FormatByteText(count);
    if (m_view)
        m_view->SetByteText(m_byteText);
}

bool QorFtpProgress::IsCancelRequested()
{
    return m_cancel.exchange(false);
}

void QorFtpProgress::RequestCancel()
{
    m_cancel.store(true);
}

void QorFtpProgress::SetMinimized(bool minimized)
{
    m_minimized.store(minimized);
}
