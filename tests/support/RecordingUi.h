// A QorFtpUi for tests: records every message and question, answers from a setting, and can
// give transfers a window whose byte-text updates reach onProgress, on the transfer's thread.
#pragma once

#include "QorFtpUi.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace tarvo::test {

class RecordingUi : public QorFtpUi {
public:
    struct Message {
        std::string title;
        std::string text;
    };

    void ShowMessage(const std::string& title, const std::string& text) override
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_messages.push_back({title, text});
    }
    bool AskYesNo(const std::string& title, const std::string& text, QorFtpProgress*) override
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_questions.push_back({title, text});
        return answer;
    }
    bool Tracing() const override { return tracing; }
    void Trace(const QorFtpTraceLine& line) override
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_trace.push_back((line.sent ? "> " : "< ") + line.text);
    }
    // The trace as "> command" and "< reply line".
    std::vector<std::string> Traced() const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_trace;
    }
    std::unique_ptr<QorFtpProgressView> CreateProgressView(QorFtpProgress& progress) override
    {
        struct View : QorFtpProgressView {
            View(RecordingUi& ui, QorFtpProgress& progress)
                : ui(ui)
                , progress(progress)
            {
            }
            void SetCaption(const std::string&) override { }
            void SetFileText(const std::string&) override { }
            void SetPercent(int) override { }
            void SetByteText(const std::string&) override
            {
                if (ui.onProgress)
                    ui.onProgress(progress);
            }
            RecordingUi& ui;
            QorFtpProgress& progress;
        };
        return withWindow ? std::make_unique<View>(*this, progress) : nullptr;
    }

    std::vector<Message> Messages() const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_messages;
    }
    std::vector<Message> Questions() const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_questions;
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Message& message : Messages())
            texts.push_back(message.text);
        return texts;
    }
    std::string Last() const
    {
        const std::vector<std::string> texts = Texts();
        return texts.empty() ? std::string() : texts.back();
    }
    bool HasText(const std::string& text) const
    {
        const std::vector<std::string> texts = Texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    void Clear()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_messages.clear();
        m_questions.clear();
    }

    bool answer = false;
    bool withWindow = false;
    bool tracing = false;
    // Called from the transfer's thread at every byte-text update of a window.
    std::function<void(QorFtpProgress&)> onProgress;

private:
    mutable std::mutex m_mutex;
    std::vector<Message> m_messages;
    std::vector<Message> m_questions;
    std::vector<std::string> m_trace;
};

} // namespace tarvo::test
