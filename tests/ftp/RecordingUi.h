// A QorFtpUi for tests: records every message and question, answers from a setting, and can
// give transfers a window that tests drive.
#pragma once

#include "QorFtpUi.h"

#include <condition_variable>
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

    std::unique_ptr<QorFtpProgressView> CreateProgressView(QorFtpProgress& progress) override;

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
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_messages.empty() ? std::string() : m_messages.back().text;
    }
    bool HasText(const std::string& text) const
    {
        for (const Message& message : Messages())
            if (message.text == text)
                return true;
        return false;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_messages.clear();
        m_questions.clear();
    }

    bool answer = false;
    bool withWindow = false;
    // Called from the transfer's thread at every byte-text update of a window.
    std::function<void(QorFtpProgress&)> onProgress;

private:
    mutable std::mutex m_mutex;
    std::vector<Message> m_messages;
    std::vector<Message> m_questions;
};

class RecordingProgressView : public QorFtpProgressView {
public:
    RecordingProgressView(RecordingUi& ui, QorFtpProgress& progress) : m_ui(ui), m_progress(progress) {}
    void SetCaption(const std::string& caption) override { captions.push_back(caption); }
    void SetFileText(const std::string& text) override { fileText = text; }
    void SetPercent(int percent) override { lastPercent = percent; }
    void SetByteText(const std::string& text) override
    {
        byteText = text;
        if (m_ui.onProgress)
            m_ui.onProgress(m_progress);
    }

    std::vector<std::string> captions;
    std::string fileText;
    std::string byteText;
    int lastPercent = -1;

private:
    RecordingUi& m_ui;
    QorFtpProgress& m_progress;
};

inline std::unique_ptr<QorFtpProgressView> RecordingUi::CreateProgressView(QorFtpProgress& progress)
{
    if (!withWindow)
        return nullptr;
    return std::make_unique<RecordingProgressView>(*this, progress);
}

} // namespace tarvo::test
