// An interaction that answers from a script and records what it is asked, for tests that drive
// operations or the window's commands. Workers may ask too, so everything is recorded under a lock.
#pragma once

#include "operations/Interaction.h"

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tarvo::test {

// What was asked ("message", "yesno", "overwrite", "permissions", "delete", "downloadas",
// "twofields", "properties", "scriptfile", "certificate" with the fingerprint) and its text.
using Asked = std::pair<std::string, std::string>;

class RecordingInteraction : public Interaction {
public:
    void ShowMessage(const std::string& text, MessageIcon, const CancelFlag&) override { Record("message", text); }
    // Brackets library messages passed on in a list, when asked to, so a test sees they went through.
    std::string LibraryText(const std::string& text) override { return markLibraryText ? "[" + text + "]" : text; }
    bool AskYesNo(const std::string& text, const CancelFlag&) override { return Next("yesno", text, yesNo, false); }
    OverwriteAnswer AskOverwrite(const std::string& path, const CancelFlag&) override
    {
        if (whileAsking)
            whileAsking();
        return Next("overwrite", path, overwrite);
    }
    std::optional<std::string> AskPermissions(const std::string& file, const std::string& permissions,
                                              const CancelFlag&) override
    {
        Record("permissions", file + " " + permissions);
        return mode;
    }
    DeleteConfirmResult AskDeleteConfirm(const std::string& prompt, const CancelFlag&) override
    {
        return Next("delete", prompt, deleteAnswers, DeleteConfirmResult::No);
    }
    DownloadAsAnswer AskDownloadAs(const DownloadAsQuestion& question) override
    {
        DownloadAsAnswer answer;
        answer.remaining = question.remaining;
        answer = Next("downloadas", question.localName, downloadAs, answer);
        if (answer.remaining.empty() && keepRemaining)
            answer.remaining = question.remaining;
        return answer;
    }
    std::optional<std::pair<std::string, std::string>> AskTwoFields(const std::string& prompt1,
                                                                    const std::string& prompt2) override
    {
        Record("twofields", prompt1 + "|" + prompt2);
        return twoFields;
    }
    std::optional<std::string> AskText(const std::string& prompt) override
    {
        Record("text", prompt);
        return text;
    }
    void ShowFileProperties(const FilePropertiesView& view) override
    {
        Record("properties", view.name);
        properties = view;
    }
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override
    {
        Locked([&] { certificates.push_back(certificate); });
        return Next("certificate", certificate.fingerprint, trustAnswers, false);
    }
    std::optional<std::string> AskScriptFile() override
    {
        Record("scriptfile", {});
        return scriptFile;
    }

    std::deque<bool> yesNo; // answers, used in order; No once they are used up
    std::deque<OverwriteAnswer> overwrite; // Cancel once they are used up
    std::deque<DeleteConfirmResult> deleteAnswers; // No once they are used up
    std::deque<bool> trustAnswers; // Refused once they are used up
    std::vector<QorFtpCertificate> certificates; // as they were asked about
    std::deque<DownloadAsAnswer> downloadAs; // not accepted once they are used up
    bool markLibraryText = false;
    bool keepRemaining = true; // an answer with no remaining list leaves the files as they were
    std::optional<std::string> mode;
    std::optional<std::pair<std::string, std::string>> twoFields;
    std::optional<std::string> scriptFile;
    std::optional<std::string> text; // the one-field dialog's answer
    FilePropertiesView properties;
    std::function<void()> whileAsking; // runs while the overwrite dialog is open
    std::vector<Asked> asked;

    // What was asked of one kind, in order.
    std::vector<std::string> Of(const std::string& what) const
    {
        std::vector<std::string> texts;
        Locked([&] {
            for (const Asked& entry : asked) {
                if (entry.first == what)
                    texts.push_back(entry.second);
            }
        });
        return texts;
    }

    static void Locked(const std::function<void()>& record)
    {
        static std::mutex lock;
        std::lock_guard<std::mutex> guard(lock);
        record();
    }

private:
    void Record(const char* what, const std::string& text)
    {
        Locked([&] { asked.emplace_back(what, text); });
    }
    template <typename T> T Next(const char* what, const std::string& text, std::deque<T>& answers, T answer = {})
    {
        Record(what, text);
        Locked([&] {
            if (!answers.empty()) {
                answer = answers.front();
                answers.pop_front();
            }
        });
        return answer;
    }
};

} // namespace tarvo::test
