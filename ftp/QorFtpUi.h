// How the library reaches the person at the screen: messages, Yes/No questions and the transfer
// progress window. The program installs its own implementation; the default writes messages to
// standard error, answers every question No and shows no window.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#define QORFTP_EXPORT __attribute__((visibility("default")))

class QorFtpProgress;

// The window of one running transfer. Created by QorFtpUi::CreateProgressView, driven from the
// transfer's thread, destroyed by the transfer at its end. An implementation that lives on another
// thread must stop calling back into its QorFtpProgress before its destructor returns.
class QORFTP_EXPORT QorFtpProgressView {
public:
    virtual ~QorFtpProgressView();
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetFileText(const std::string& text) = 0;
    virtual void SetPercent(int percent) = 0;
    virtual void SetByteText(const std::string& text) = 0;
};

// A server certificate that failed the checks (unknown issuer, self-signed, expired, another
// host's name), as the user is shown it before deciding whether to trust it.
struct QORFTP_EXPORT QorFtpCertificate {
    std::string host; // as the connection was asked to reach it
    unsigned port = 0;
    std::string problem; // why the checks failed, in words
    std::string subject;
    std::string issuer;
    std::string validFrom; // "2026-12-07 06:22:00 UTC"
    std::string validUntil;
    std::string fingerprint; // SHA-256 as colon-separated hex pairs
    // The fingerprint trusted for this server before, when the certificate is no longer that one.
    std::string trustedBefore;
};

class QorFtpConnection;

// One line of a connection's conversation with its server.
struct QORFTP_EXPORT QorFtpTraceLine {
    const QorFtpConnection* connection = nullptr; // which conversation; compare only, it may be gone
    std::string host; // the server as the connection was asked to reach it
    bool sent = false; // a command sent; otherwise a reply line received
    std::string text; // without CR LF; the arguments of PASS and ACCT masked
    std::chrono::system_clock::time_point time;
};

class QORFTP_EXPORT QorFtpUi {
public:
    virtual ~QorFtpUi();
    // A warning box with an OK button.
    virtual void ShowMessage(const std::string& title, const std::string& text);
    // A question with Yes and No; true means Yes. `owner` is the progress of the transfer that
    // asks, or null.
    virtual bool AskYesNo(const std::string& title, const std::string& text, QorFtpProgress* owner);
    // A certificate that failed the checks: true trusts it for this login. The default refuses.
    virtual bool AskTrustCertificate(const QorFtpCertificate& certificate);
    // The protocol trace: while Tracing() is true, every command sent and every reply line
    // received comes to Trace, on the connection's own thread. Off by default, at no cost.
    virtual bool Tracing() const;
    virtual void Trace(const QorFtpTraceLine& line);
    // The window for a transfer, or null for none.
    virtual std::unique_ptr<QorFtpProgressView> CreateProgressView(QorFtpProgress& progress);
};

// The process-wide interface; null restores the default. The caller keeps ownership.
QORFTP_EXPORT void QorFtpSetUi(QorFtpUi* ui);
QORFTP_EXPORT QorFtpUi& QorFtpGetUi();

// The logic of the transfer progress window: caption, percentage, byte text and the cancel flag.
// The transfer's thread calls Update and IsCancelRequested; the window (any thread) calls
// RequestCancel and SetMinimized.
class QORFTP_EXPORT QorFtpProgress {
public:
    enum class Direction { Download, Upload };

    QorFtpProgress(QorFtpUi& ui, Direction direction, const std::string& fileText);
    ~QorFtpProgress();
    QorFtpProgress(const QorFtpProgress&) = delete;
    QorFtpProgress& operator=(const QorFtpProgress&) = delete;

    bool HasWindow() const { return m_view != nullptr; }

    // Count and total in bytes. Reports reach the window at most every ReportInterval, except
    // with `last` set, so a fast transfer is not slowed by its window.
    void Update(std::uint64_t count, std::uint64_t total, bool last = false);

    // Returns the cancel flag and clears it.
    bool IsCancelRequested();
    // The Cancel button, Escape, the close box and CancelOperation from another thread.
    void RequestCancel();
    void SetMinimized(bool minimized);

    const std::string& Caption() const { return m_caption; }
    const std::string& FileText() const { return m_fileText; }
    const std::string& ByteText() const { return m_byteText; }
    int Percent() const { return m_percent; }

    // "%.2f KB" above 1024 bytes, "%.2f MB" above 1 MiB, empty up to 1024 bytes.
    static std::string FormatByteText(std::uint64_t count);
    // count * 100 / total without overflow; -1 when the total is unknown (0).
    static int ComputePercent(std::uint64_t count, std::uint64_t total);
    // The caption up to its first ':' with the ':' kept.
    static std::string CaptionBase(const std::string& caption);
    // The percentage shown last by any progress window of the process.
    static int LastShownPercent();
    static void ResetLastShownPercent();

    static constexpr std::chrono::milliseconds ReportInterval{100};

private:
    std::unique_ptr<QorFtpProgressView> m_view;
    std::string m_caption;
    std::string m_fileText;
    std::string m_byteText;
    int m_percent = 0;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_minimized{false};
    std::chrono::steady_clock::time_point m_lastReport{};
};
