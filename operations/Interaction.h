// Every question and message box of the program's logic goes through this interface: the
// program shows dialogs on the user-interface thread, tests answer from a script. A worker that
// asks blocks until the answer comes, or until `cancelled` is set (then the call returns the
// cancel answer: No, Cancel, or no mode).
#pragma once

#include "OperationLists.h"

#include "QorFtpUi.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

enum class MessageIcon { Information, Warning, Error, Question };

// The overwrite dialog's results: 1 (overwrite, or rename when newName is not empty),
// 2 cancel, 5 recover, 8 append.
struct OverwriteAnswer {
    enum Result : int { Overwrite = 1, Cancel = 2, Recover = 5, Append = 8 };
    int result = Cancel;
    std::string newName;
    // Folder jobs: the answer holds for every further existing target of the job (never with a
    // new name, which is for one file).
    bool applyToAll = false;
};

// The delete confirmation's results.
enum class DeleteConfirmResult : int { Yes = 1, YesToAll = 1031, No = 1033, Cancel = 2 };

// One file still to download: the name on the server and the local name it will get.
struct DownloadEntry {
    std::string remoteName;
    std::string localName;
    bool operator==(const DownloadEntry&) const = default;
};

// The download prompt's save dialog for one file. `startFolder` is empty when the dialog is to
// open where it was left last time.
struct DownloadAsQuestion {
    std::string localName;
    std::string startFolder;
    std::vector<DownloadEntry> remaining; // the files after this one, shown behind "More >>"
};

struct DownloadAsAnswer {
    bool accepted = false;
    std::string path; // the chosen local path
    bool dontPrompt = false; // "Don't prompt for each file" was ticked
    std::vector<DownloadEntry> remaining; // as the user left it: entries renamed or removed
};

// What the read-only File Properties dialog shows, already formatted.
struct FilePropertiesView {
    std::string name;
    std::string type;
    std::string modified;
    std::string owner;
    std::string group;
    std::string size;
    std::string permissions; // the letters; the dialog shows them as nine boxes
    std::string iconKey; // the row's icon, for the picture
    bool folder = false;
};

class Interaction {
public:
    virtual ~Interaction() = default;

    // A message box with an OK button.
    virtual void ShowMessage(const std::string& text, MessageIcon icon, const CancelFlag& cancelled = nullptr) = 0;
    // A Yes/No question (question icon); true is Yes.
    virtual bool AskYesNo(const std::string& text, const CancelFlag& cancelled = nullptr) = 0;
    // The overwrite dialog for an existing target, `path` shown in full.
    virtual OverwriteAnswer AskOverwrite(const std::string& path, const CancelFlag& cancelled = nullptr) = 0;
    // The overwrite dialog of a folder job, which also offers "Apply to all" (applyToAll).
    virtual OverwriteAnswer AskOverwriteInJob(const std::string& path, const CancelFlag& cancelled = nullptr)
    {
        return AskOverwrite(path, cancelled);
    }
    // The permissions dialog, started from the current permission letters ("rwxr-xr-x");
    // the new mode text (three octal digits) on OK, nothing otherwise.
    virtual std::optional<std::string> AskPermissions(const std::string& file, const std::string& permissions,
                                                      const CancelFlag& cancelled = nullptr)
        = 0;
    // The delete confirmation with `prompt`.
    virtual DeleteConfirmResult AskDeleteConfirm(const std::string& prompt, const CancelFlag& cancelled = nullptr) = 0;
    // A server certificate that failed the checks: true trusts it for that server. Asked from any
    // thread that logs in; without anyone to ask, it is refused.
    virtual bool AskTrustCertificate(const QorFtpCertificate& /*certificate*/) { return false; }
    // A message of the FTP library in the user's language (a server's reply in it stays as the
    // server sent it), for a list that gathers such messages instead of showing each. Any thread.
    virtual std::string LibraryText(const std::string& text) { return text; }

    // The questions below are only asked on the user-interface thread, by the window's commands;
    // without a window they get the answer that changes nothing.

    // The download prompt's "Download As" save dialog.
    virtual DownloadAsAnswer AskDownloadAs(const DownloadAsQuestion& question)
    {
        DownloadAsAnswer answer;
        answer.remaining = question.remaining;
        return answer;
    }
    // "Ftp Command:" with two prompted fields; both values on OK.
    virtual std::optional<std::pair<std::string, std::string>> AskTwoFields(const std::string& /*prompt1*/,
                                                                            const std::string& /*prompt2*/)
    {
        return std::nullopt;
    }
    // "Ftp Command:" with one prompted field; its value on OK.
    virtual std::optional<std::string> AskText(const std::string& /*prompt*/) { return std::nullopt; }
    virtual void ShowFileProperties(const FilePropertiesView& /*properties*/) { }
    // A script file to load; nothing when the user cancels.
    virtual std::optional<std::string> AskScriptFile() { return std::nullopt; }
};

// Messages to standard error, every question answered with what changes nothing (No, Cancel):
// for runs without a window, and the process-wide default.
class TerminalInteraction : public Interaction {
public:
    void ShowMessage(const std::string& text, MessageIcon icon, const CancelFlag& cancelled = nullptr) override;
    bool AskYesNo(const std::string& text, const CancelFlag& cancelled = nullptr) override;
    OverwriteAnswer AskOverwrite(const std::string& path, const CancelFlag& cancelled = nullptr) override;
    std::optional<std::string> AskPermissions(const std::string& file, const std::string& permissions,
                                              const CancelFlag& cancelled = nullptr) override;
    DeleteConfirmResult AskDeleteConfirm(const std::string& prompt, const CancelFlag& cancelled = nullptr) override;

    // Messages shown so far; not meant for several threads at once.
    int Messages() const { return m_messages; }

private:
    int m_messages = 0;
};

// The process-wide interaction; the program installs its own at start-up.
void SetInteraction(Interaction* interaction);
Interaction& GetInteraction();
