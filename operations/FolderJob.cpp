#include "FolderJob.h"

#include "CommandThread.h"
#include "Executor.h"
#include "Interaction.h"
#include "LocalNames.h"
#include "OperationConnection.h"
#include "OperationHost.h"
#include "OperationTexts.h"
#include "OverwriteLoop.h"
#include "SameConnectionRetry.h"
#include "settings/Settings.h"

#include "QorFtp.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFailuresListed = 50;

QString Tr(const char* text, int n = -1)
{
    return QCoreApplication::translate("FolderJob", text, nullptr, n);
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (name.empty())
        return folder;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string ParentOf(const std::string& relative)
{
    const std::size_t slash = relative.rfind('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

std::string NameOf(const std::string& relative)
{
    const std::size_t slash = relative.rfind('/');
    return slash == std::string::npos ? relative : relative.substr(slash + 1);
}

// A name as it can be shown: a NUL or a line break would cut the message.
std::string Shown(const std::string& name)
{
    std::string shown;
    for (char c : name) {
        if (c == '\0')
            shown += "\\0";
        else if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n";
        else
            shown += c;
    }
    return shown;
}

// The library interface of one connection of a job. While a file is in flight the library's
// messages become that file's reason instead of a box each, and its progress feeds the job's.
// Outside a file, the first connection's messages (a refused login) are shown as usual; an extra
// connection's are dropped, since the job simply goes on with fewer.
class JobUi : public QorFtpUi {
public:
    JobUi(CancelFlag cancelled, std::shared_ptr<JobProgress> progress, bool showOutsideFiles)
        : m_cancelled(std::move(cancelled))
        , m_progress(std::move(progress))
        , m_showOutsideFiles(showOutsideFiles)
    {
    }

    void ShowMessage(const std::string& title, const std::string& text) override
    {
        if (m_collecting) {
            if (!m_reason.empty())
                m_reason += ' ';
            // Gathered for one list, so each reason in the user's language as a box would be.
            m_reason += GetInteraction().LibraryText(text);
        } else if (m_showOutsideFiles) {
            QorFtpGetUi().ShowMessage(title, text);
        }
    }
    // The library asks only whether to stop a transfer, and only after a cancel reached it.
    bool AskYesNo(const std::string&, const std::string&, QorFtpProgress*) override
    {
        return m_cancelled && m_cancelled->load();
    }
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override
    {
        return QorFtpGetUi().AskTrustCertificate(certificate);
    }
    bool Tracing() const override { return QorFtpGetUi().Tracing(); }
    void Trace(const QorFtpTraceLine& line) override { QorFtpGetUi().Trace(line); }
    std::unique_ptr<QorFtpProgressView> CreateProgressView(QorFtpProgress&) override
    {
        return std::make_unique<View>(*this);
    }

    void BeginFile(std::uint64_t size)
    {
        m_collecting = true;
        m_reason.clear();
        m_size = size;
        m_counted = 0;
    }
    // The file's reason; its bytes count as done only when it is complete.
    std::string EndFile(bool complete)
    {
        if (m_progress) {
            if (complete)
                m_progress->doneBytes += m_size > m_counted ? m_size - m_counted : 0;
            else
                m_progress->doneBytes -= m_counted;
        }
        m_collecting = false;
        return std::move(m_reason);
    }

private:
    struct View : QorFtpProgressView {
        explicit View(JobUi& ui)
            : ui(ui)
        {
        }
        void SetCaption(const std::string&) override { }
        void SetFileText(const std::string&) override { }
        void SetPercent(int percent) override { ui.Percent(percent); }
        void SetByteText(const std::string&) override { }
        JobUi& ui;
    };

    void Percent(int percent)
    {
        if (!m_collecting || !m_progress || percent < 0)
            return;
        const std::uint64_t now = static_cast<std::uint64_t>(static_cast<unsigned __int128>(m_size)
                                                             * static_cast<unsigned>(std::min(percent, 100)) / 100);
        if (now > m_counted) {
            m_progress->doneBytes += now - m_counted;
            m_counted = now;
        }
    }

    CancelFlag m_cancelled;
    std::shared_ptr<JobProgress> m_progress;
    bool m_showOutsideFiles;
    bool m_collecting = false;
    std::string m_reason;
    std::uint64_t m_size = 0;
    std::uint64_t m_counted = 0; // of this file, already in doneBytes
};

// One entry found by a walk, its path relative to the walked folder.
struct Found {
    std::string relative;
    std::uint64_t size = 0;
    bool folder = false;
};

struct FileTask {
    std::string source;
    std::string target;
    std::string relative;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
    int append = 0;
};

// What a remote target folder held before the job: name, and whether that is a folder.
using Existing = std::map<std::string, _Qor_Ftp_FileData>;

// One connection of the job: its library interface lives as long as it does.
struct JobConnection {
    std::unique_ptr<JobUi> ui;
    std::unique_ptr<QorFtpConnection> own; // null when borrowed
    QorFtpConnection* connection = nullptr;
};

class FolderJob {
public:
    explicit FolderJob(const FolderJobSetup& setup)
        : m_setup(setup)
        , m_request(setup.request)
        , m_progress(setup.progress ? setup.progress : std::make_shared<JobProgress>())
        , m_cancelled(setup.cancelled ? setup.cancelled : std::make_shared<std::atomic<bool>>(false))
        , m_script(setup.script)
    {
    }

    int Run(unsigned long* firstLoginError);

private:
    bool Cancelled() const { return m_cancelled->load(); }
    int Kind() const { return m_request.kind; }
    bool ReadsServer() const { return Kind() != OperationKind::FolderUpload; }
    bool WritesServer() const
    {
        return Kind() == OperationKind::FolderUpload || Kind() == OperationKind::FolderTransfer;
    }

    // The first connection to a server: the script's, or a new one named in the status row.
    // The first connection to a server: the lent one, or a new one named in the status row.
    bool OpenFirst(JobConnection& slot, ServerRecord& record, bool lent, bool named);
    std::unique_ptr<JobConnection> OpenExtra(const ServerRecord& record);
    void Register(QorFtpConnection* connection);
    void Unregister(QorFtpConnection* connection);

    bool WalkRemote(JobConnection& on, const std::string& root, std::vector<Found>& found);
    void WalkLocal(const std::string& root, std::vector<Found>& found);
    void WalkLocalFolder(const fs::path& folder, const std::string& relative, std::set<std::pair<dev_t, ino_t>>& seen,
                         std::vector<Found>& found);
    void Counted(const Found& entry);

    bool PlanDownload(const std::vector<Found>& found);
    bool PlanUpload(JobConnection& target, const std::vector<Found>& found, const std::string& sourceRoot);
    std::optional<Existing> ListTarget(JobConnection& target, const std::string& folder);
    // The overwrite question for an existing target; false when the user ended the job.
    bool Decide(FileTask& task, std::uint64_t existingSize,
                const std::function<std::optional<std::uint64_t>(const std::string&)>& sizeOf);

    int RunTransfers(JobConnection& first, JobConnection* firstTarget);
    void Work(JobConnection* source, JobConnection* target, bool borrowed, std::unique_ptr<JobConnection> ownSource,
              std::unique_ptr<JobConnection> ownTarget);
    bool TransferOne(const FileTask& task, JobConnection* source, JobConnection* target, std::string& reason);
    bool Take(FileTask& task);

    int Delete(JobConnection& on, const std::vector<Found>& found);

    // The status row names one connection; a cancel must reach every one of the job's, so a
    // watcher passes it on for as long as the job runs. Lock held.
    void FanOutCancel();
    void Watch();
    void StartWatcher();
    void StopWatcher();

    void Fail(const std::string& what, std::string reason);
    int Finish(bool allDone);

    FolderJobSetup m_setup;
    OperationRequest m_request;
    std::shared_ptr<JobProgress> m_progress;
    CancelFlag m_cancelled;
    bool m_script;
    std::optional<OverwriteAnswer> m_answerForAll;
    std::set<std::string> m_blockedFolders; // relative folders that could not be made

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<FileTask> m_queue;
    std::vector<std::pair<std::string, std::string>> m_failures; // what, reason
    std::set<QorFtpConnection*> m_live;
    bool m_cancelSent = false;
    int m_workers = 0;
    bool m_watching = false; // the watcher runs
    bool m_ended = false; // the watcher is to stop
};

void FolderJob::Fail(const std::string& what, std::string reason)
{
    if (reason.empty())
        reason = Tr(QT_TRANSLATE_NOOP("FolderJob", "The server gave no reason.")).toStdString();
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    std::lock_guard<std::mutex> guard(m_lock);
    m_failures.emplace_back(what, std::move(reason));
}

void FolderJob::FanOutCancel()
{
    if (m_cancelSent || !Cancelled())
        return;
    m_cancelSent = true;
    for (QorFtpConnection* connection : m_live)
        connection->CancelOperation();
}

void FolderJob::Watch()
{
    std::unique_lock<std::mutex> guard(m_lock);
    while (!m_ended) {
        m_changed.wait_for(guard, std::chrono::milliseconds(100));
        FanOutCancel();
    }
    m_watching = false;
    m_changed.notify_all();
}

void FolderJob::StartWatcher()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_watching = true;
    }
    try {
        ProgramExecutor().Run([this] { Watch(); }, Executor::Kind::Job);
    } catch (const std::exception&) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_watching = false;
    }
}

void FolderJob::StopWatcher()
{
    std::unique_lock<std::mutex> guard(m_lock);
    m_ended = true;
    m_changed.notify_all();
    m_changed.wait(guard, [this] { return !m_watching; });
}

void FolderJob::Counted(const Found& entry)
{
    if (entry.folder)
        return;
    ++m_progress->totalFiles;
    m_progress->totalBytes += entry.size;
}

void FolderJob::Register(QorFtpConnection* connection)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_live.insert(connection);
    if (m_cancelSent)
        connection->CancelOperation();
}

void FolderJob::Unregister(QorFtpConnection* connection)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_live.erase(connection);
}

bool FolderJob::OpenFirst(JobConnection& slot, ServerRecord& record, bool lent, bool named)
{
    slot.ui = std::make_unique<JobUi>(m_cancelled, m_progress, true);
    if (lent) {
        slot.connection = m_setup.firstConnection;
    } else {
        slot.own = NewConnection(record, m_setup.timeoutSeconds);
        slot.connection = slot.own.get();
        if (named && m_setup.operationId != 0)
            OperationStatusList.SetStatusConnection(m_setup.operationId, slot.connection);
    }
    slot.connection->SetUi(slot.ui.get());
    Register(slot.connection);
    if (lent)
        return true;
    if (Cancelled() || !LoginWith(*slot.connection, record))
        return false;
    // The extra connections must not ask about a certificate the user has just trusted.
    const std::string trusted = slot.connection->NewlyTrustedFingerprint();
    if (!trusted.empty())
        record.trustedFingerprint = trusted;
    return true;
}

std::unique_ptr<JobConnection> FolderJob::OpenExtra(const ServerRecord& record)
{
    auto slot = std::make_unique<JobConnection>();
    slot->ui = std::make_unique<JobUi>(m_cancelled, m_progress, false);
    slot->own = NewConnection(record, m_setup.timeoutSeconds);
    slot->connection = slot->own.get();
    slot->connection->SetUi(slot->ui.get());
    Register(slot->connection);
    if (Cancelled() || !LoginWith(*slot->connection, record)) {
        // 421 or a refused login: the server allows fewer sessions, the job goes on with fewer.
        Unregister(slot->connection);
        return nullptr;
    }
    return slot;
}

bool FolderJob::WalkRemote(JobConnection& on, const std::string& root, std::vector<Found>& found)
{
    // Depth first, each folder before what it holds, so folders can be made in this order and
    // removed in the reverse one. Links are entries, never followed: no loops.
    std::vector<std::string> pending{std::string()};
    bool rootListed = false;
    while (!pending.empty() && !Cancelled()) {
        const std::string relative = pending.back();
        pending.pop_back();
        on.ui->BeginFile(0);
        const int listed = on.connection->GetDir(JoinPath(root, relative));
        std::vector<_Qor_Ftp_FileData> entries;
        _Qor_Ftp_FileData entry;
        while (listed >= 0 && on.connection->GetNextFile(entry, 1))
            entries.push_back(entry);
        std::string reason = on.ui->EndFile(false);
        if (listed < 0) {
            if (Cancelled())
                return false;
            Fail(JoinPath(root, relative),
                 reason.empty() ? Tr(QT_TRANSLATE_NOOP("FolderJob", "The folder could not be listed.")).toStdString()
                                : reason);
            if (relative.empty())
                return false;
            continue;
        }
        if (relative.empty())
            rootListed = true;
        std::vector<std::string> subfolders;
        for (_Qor_Ftp_FileData& item : entries) {
            std::string name = item.Name;
            if (item.Type == 2) {
                const std::size_t arrow = name.find(" -> ");
                if (arrow != std::string::npos)
                    name.erase(arrow);
            }
            if (name == "." || name == "..")
                continue;
            if (!IsSafeEntryName(name)) {
                ++m_progress->totalFiles;
                ++m_progress->failedFiles;
                Fail(JoinPath(JoinPath(root, relative), Shown(name)),
                     Tr(QT_TRANSLATE_NOOP(
                            "FolderJob",
                            "This name cannot be used: it is empty, \".\" or \"..\", or holds \"/\", a line break or a "
                            "NUL character. It was skipped."))
                         .toStdString());
                continue;
            }
            Found next{JoinPath(relative, name), item.Size, item.Type == 1};
            Counted(next);
            found.push_back(next);
            if (next.folder)
                subfolders.push_back(next.relative);
        }
        // Reversed, so the stack takes them in listing order.
        pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
    }
    return rootListed && !Cancelled();
}

void FolderJob::WalkLocal(const std::string& root, std::vector<Found>& found)
{
    std::set<std::pair<dev_t, ino_t>> seen;
    struct stat info { };
    if (::stat(root.c_str(), &info) == 0)
        seen.insert({info.st_dev, info.st_ino});
    WalkLocalFolder(fs::path(root), std::string(), seen, found);
}

void FolderJob::WalkLocalFolder(const fs::path& folder, const std::string& relative,
                                std::set<std::pair<dev_t, ino_t>>& seen, std::vector<Found>& found)
{
    std::error_code error;
    std::vector<fs::path> children;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        children.push_back(it->path());
    if (error) {
        Fail(folder.string(), error.message());
        return;
    }
    std::sort(children.begin(), children.end());
    for (const fs::path& child : children) {
        if (Cancelled())
            return;
        const std::string name = child.filename().string();
        const std::string childRelative = JoinPath(relative, name);
        const auto failFile = [&](const QString& reason) {
            ++m_progress->totalFiles;
            ++m_progress->failedFiles;
            Fail(child.string(), reason.toStdString());
        };
        if (!IsSafeEntryName(name)) {
            failFile(Tr(QT_TRANSLATE_NOOP(
                "FolderJob", "This name cannot be used on a server: it holds a line break. It was skipped.")));
            continue;
        }
        // Symbolic links are followed: the copy holds what they point to.
        struct stat info { };
        if (::stat(child.c_str(), &info) != 0) {
            const int reason = errno;
            failFile(reason == ELOOP ? Tr(QT_TRANSLATE_NOOP("FolderJob", "This symbolic link leads round in a loop."))
                                     : Q(std::error_code(reason, std::generic_category()).message()));
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            if (!seen.insert({info.st_dev, info.st_ino}).second) {
                failFile(Tr(QT_TRANSLATE_NOOP("FolderJob",
                                              "This symbolic link leads to a folder that is already being copied.")));
                continue;
            }
            Found next{childRelative, 0, true};
            found.push_back(next);
            WalkLocalFolder(child, childRelative, seen, found);
        } else if (S_ISREG(info.st_mode)) {
            Found next{childRelative, static_cast<std::uint64_t>(info.st_size), false};
            Counted(next);
            found.push_back(next);
        } else {
            failFile(Tr(
                QT_TRANSLATE_NOOP("FolderJob", "This is neither a file nor a folder (a device, a pipe or a socket).")));
        }
    }
}

bool FolderJob::Decide(FileTask& task, std::uint64_t existingSize,
                       const std::function<std::optional<std::uint64_t>(const std::string&)>& sizeOf)
{
    // Scripts never ask: an existing target is overwritten, as for single files.
    if (m_script)
        return true;
    for (;;) {
        OverwriteAnswer answer;
        if (m_answerForAll) {
            answer = *m_answerForAll;
        } else {
            answer = GetInteraction().AskOverwriteInJob(task.target, m_cancelled);
            if (answer.applyToAll && answer.newName.empty())
                m_answerForAll = answer;
        }
        if (Cancelled() || answer.result == OverwriteAnswer::Cancel)
            return false;
        if (answer.result == OverwriteAnswer::Recover) {
            task.offset = existingSize;
            return true;
        }
        if (answer.result == OverwriteAnswer::Append) {
            task.append = 1;
            return true;
        }
        if (answer.newName.empty())
            return true;
        task.target = ApplyRenamingRule(task.target, answer.newName);
        const std::optional<std::uint64_t> size = sizeOf(task.target);
        if (!size)
            return true;
        existingSize = *size;
    }
}

bool FolderJob::PlanDownload(const std::vector<Found>& found)
{
    const std::string& root = m_request.localPath;
    const auto madeFolder = [&](const std::string& path, const std::string& relative) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(path, error);
        if (fs::is_directory(status))
            return true;
        // Never written through: a link could lead out of the chosen folder.
        if (fs::exists(status)) {
            Fail(path,
                 Tr(QT_TRANSLATE_NOOP("FolderJob", "Something that is not a folder has this name here already."))
                     .toStdString());
            m_blockedFolders.insert(relative);
            return false;
        }
        // The chosen folder's parents are made too, as a script may name a new path.
        if (relative.empty() ? !fs::create_directories(path, error) : !fs::create_directory(path, error)) {
            Fail(path, error.message());
            m_blockedFolders.insert(relative);
            return false;
        }
        return true;
    };
    if (!madeFolder(root, std::string()))
        return true;
    const auto localSize = [](const std::string& path) -> std::optional<std::uint64_t> {
        std::error_code error;
        if (!fs::exists(fs::symlink_status(path, error)))
            return std::nullopt;
        const std::uintmax_t size = fs::file_size(path, error);
        return error ? 0 : static_cast<std::uint64_t>(size);
    };
    for (const Found& entry : found) {
        if (Cancelled())
            return false;
        const std::string target = JoinPath(root, entry.relative);
        if (m_blockedFolders.count(ParentOf(entry.relative))) {
            if (entry.folder) {
                m_blockedFolders.insert(entry.relative);
            } else {
                ++m_progress->failedFiles;
                Fail(target, Tr(QT_TRANSLATE_NOOP("FolderJob", "Its folder could not be made.")).toStdString());
            }
            continue;
        }
        if (entry.folder) {
            madeFolder(target, entry.relative);
            continue;
        }
        FileTask task{JoinPath(m_request.file, entry.relative), target, entry.relative, entry.size};
        std::error_code error;
        const fs::file_status status = fs::symlink_status(target, error);
        if (fs::is_symlink(status) || fs::is_directory(status)) {
            ++m_progress->failedFiles;
            Fail(target,
                 Tr(QT_TRANSLATE_NOOP("FolderJob",
                                      "A folder or a symbolic link has this name here already; it was left as it is."))
                     .toStdString());
            continue;
        }
        if (fs::exists(status) && !Decide(task, localSize(target).value_or(0), localSize))
            return false;
        m_queue.push_back(std::move(task));
    }
    return true;
}

std::optional<Existing> FolderJob::ListTarget(JobConnection& target, const std::string& folder)
{
    target.ui->BeginFile(0);
    const int listed = target.connection->GetDir(folder);
    Existing names;
    _Qor_Ftp_FileData entry;
    while (listed >= 0 && target.connection->GetNextFile(entry, 1)) {
        std::string name = entry.Name;
        if (entry.Type == 2 && name.find(" -> ") != std::string::npos)
            name.erase(name.find(" -> "));
        names[name] = entry;
    }
    target.ui->EndFile(false);
    if (listed < 0)
        return std::nullopt;
    return names;
}

bool FolderJob::PlanUpload(JobConnection& target, const std::vector<Found>& found, const std::string& sourceRoot)
{
    const std::string& root = m_request.targetFile;
    // The folders that existed before the job, with what they held; a folder made by the job is
    // empty and needs no listing.
    std::map<std::string, Existing> existing;
    const auto makeFolder = [&](const std::string& path, const std::string& relative) {
        target.ui->BeginFile(0);
        const int made = target.connection->MakeDirectory(path);
        std::string reason = target.ui->EndFile(false);
        if (!made) {
            Fail(path, reason);
            m_blockedFolders.insert(relative);
        }
        return made != 0;
    };
    {
        // The root is made, or merged into when it exists already.
        target.ui->BeginFile(0);
        target.connection->SetShowError(0);
        const int made = target.connection->MakeDirectory(root);
        target.connection->SetShowError(1);
        target.ui->EndFile(false);
        if (!made) {
            std::optional<Existing> names = ListTarget(target, root);
            if (!names) {
                Fail(root,
                     Tr(QT_TRANSLATE_NOOP("FolderJob", "The folder could neither be made nor listed.")).toStdString());
                m_blockedFolders.insert(std::string());
            } else {
                existing[std::string()] = std::move(*names);
            }
        }
    }
    for (const Found& entry : found) {
        if (Cancelled())
            return false;
        const std::string path = JoinPath(root, entry.relative);
        const std::string parent = ParentOf(entry.relative);
        if (m_blockedFolders.count(parent)) {
            if (entry.folder) {
                m_blockedFolders.insert(entry.relative);
            } else {
                ++m_progress->failedFiles;
                Fail(path, Tr(QT_TRANSLATE_NOOP("FolderJob", "Its folder could not be made.")).toStdString());
            }
            continue;
        }
        const auto inParent = existing.find(parent);
        const _Qor_Ftp_FileData* there = nullptr;
        if (inParent != existing.end()) {
            const auto named = inParent->second.find(NameOf(entry.relative));
            if (named != inParent->second.end())
                there = &named->second;
        }
        if (entry.folder) {
            if (!there) {
                makeFolder(path, entry.relative);
            } else if (there->Type == 0) {
                Fail(path,
                     Tr(QT_TRANSLATE_NOOP("FolderJob", "A file has this name on the server already.")).toStdString());
                m_blockedFolders.insert(entry.relative);
            } else if (std::optional<Existing> names = ListTarget(target, path)) {
                existing[entry.relative] = std::move(*names);
            } else {
                Fail(path, Tr(QT_TRANSLATE_NOOP("FolderJob", "The folder could not be listed.")).toStdString());
                m_blockedFolders.insert(entry.relative);
            }
            continue;
        }
        FileTask task{JoinPath(sourceRoot, entry.relative), path, entry.relative, entry.size};
        if (there && there->Type == 1) {
            ++m_progress->failedFiles;
            Fail(path,
                 Tr(QT_TRANSLATE_NOOP("FolderJob",
                                      "A folder has this name on the server already; it was left as it is."))
                     .toStdString());
            continue;
        }
        if (there) {
            const Existing& names = inParent->second;
            const auto sizeOf = [&names](const std::string& renamed) -> std::optional<std::uint64_t> {
                const auto found = names.find(RemoteNameOf(renamed));
                if (found == names.end())
                    return std::nullopt;
                return found->second.Size;
            };
            if (!Decide(task, there->Size, sizeOf))
                return false;
            // Resuming between two servers would need both offsets: the file is copied whole.
            if (Kind() == OperationKind::FolderTransfer)
                task.offset = 0;
        }
        m_queue.push_back(std::move(task));
    }
    return true;
}

bool FolderJob::Take(FileTask& task)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_queue.empty() || Cancelled())
        return false;
    task = std::move(m_queue.front());
    m_queue.pop_front();
    return true;
}

bool FolderJob::TransferOne(const FileTask& task, JobConnection* source, JobConnection* target, std::string& reason)
{
    switch (Kind()) {
    case OperationKind::FolderDownload: {
        source->ui->BeginFile(task.size);
        const int done = source->connection->GetFile(task.source, task.target, task.offset, task.append);
        reason = source->ui->EndFile(done != 0);
        return done != 0;
    }
    case OperationKind::FolderUpload: {
        target->ui->BeginFile(task.size);
        const int done = target->connection->PutFile(task.source, task.target, task.offset, task.append);
        reason = target->ui->EndFile(done != 0);
        return done != 0;
    }
    default:
        break;
    }
    QorFtpSocket* socket = target->connection->GetSocket();
    source->ui->BeginFile(task.size);
    target->ui->BeginFile(0);
    int done = 0;
    if (socket && source->connection->CanCopyDirectlyTo(socket)) {
        done = source->connection->FromTo(socket, task.source, task.target, task.append);
    } else if (socket) {
        // Encrypted data never goes to a server in clear: through a temporary file here.
        const std::string temporary = CreateTransferTemporaryFile();
        if (temporary.empty()) {
            source->ui->ShowMessage(
                {}, Tr(QT_TRANSLATE_NOOP("FolderJob", "A temporary file could not be made.")).toStdString());
        } else {
            done = source->connection->GetFile(task.source, temporary, 0, 0);
            if (done && !Cancelled())
                done = target->connection->PutFile(temporary, task.target, 0, task.append);
            else
                done = 0;
            QFile::remove(Q(temporary));
        }
    }
    reason = source->ui->EndFile(done != 0);
    const std::string targetReason = target->ui->EndFile(false);
    if (!targetReason.empty())
        reason += (reason.empty() ? "" : " ") + targetReason;
    return done != 0;
}

void FolderJob::Work(JobConnection* source, JobConnection* target, bool borrowed,
                     std::unique_ptr<JobConnection> ownSource, std::unique_ptr<JobConnection> ownTarget)
{
    if (!borrowed) {
        // Logged in here, so the logins of several workers overlap.
        if (ReadsServer()) {
            ownSource = OpenExtra(m_setup.sourceRecord);
            source = ownSource.get();
        }
        if (source || !ReadsServer()) {
            if (WritesServer()) {
                ownTarget = OpenExtra(m_setup.targetRecord);
                target = ownTarget.get();
            }
        }
    }
    const bool ready = (!ReadsServer() || source) && (!WritesServer() || target);
    FileTask task;
    while (ready && Take(task)) {
        m_progress->SetCurrentFile(task.relative);
        std::string reason;
        const bool done = TransferOne(task, source, target, reason);
        if (done) {
            ++m_progress->doneFiles;
            continue;
        }
        if (Cancelled())
            break; // stopped, not failed
        ++m_progress->failedFiles;
        Fail(task.target, reason);
        // A connection the server dropped is logged in again once; otherwise this worker stops,
        // and the others (or the job's end) take what is left.
        bool lost = false;
        for (JobConnection* used : {source, target}) {
            if (!lost && used && used->connection->GetError() == 421 && !Cancelled()) {
                used->ui->BeginFile(0);
                lost = !used->connection->Relogin();
                used->ui->EndFile(false);
            }
        }
        if (lost)
            break;
    }
    for (std::unique_ptr<JobConnection>* own : {&ownSource, &ownTarget}) {
        if (*own) {
            Unregister((*own)->connection);
            (*own)->connection->Close();
            own->reset();
        }
    }
    std::lock_guard<std::mutex> guard(m_lock);
    --m_workers;
    m_changed.notify_all();
}

int FolderJob::RunTransfers(JobConnection& first, JobConnection* firstTarget)
{
    m_progress->counting = false;
    if (m_queue.empty() || Cancelled())
        return 1;
    JobConnection* source = ReadsServer() ? &first : nullptr;
    JobConnection* target = WritesServer() ? (firstTarget ? firstTarget : &first) : nullptr;
    const std::size_t wanted = std::min<std::size_t>(
        static_cast<std::size_t>(std::clamp(m_setup.connectionsPerServer, 1, 10)), m_queue.size());
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_workers = static_cast<int>(wanted);
    }
    // Workers are jobs of the executor, which starts them at once whatever the bound on transfers:
    // this job holds a transfer's place already and waits for them, so they must never queue.
    for (std::size_t i = 0; i < wanted; ++i) {
        const bool borrowed = i == 0;
        try {
            ProgramExecutor().Run(
                [this, borrowed, source, target] {
                    Work(borrowed ? source : nullptr, borrowed ? target : nullptr, borrowed, nullptr, nullptr);
                },
                Executor::Kind::Job);
        } catch (const std::exception&) {
            if (borrowed) {
                Work(source, target, true, nullptr, nullptr);
            } else {
                std::lock_guard<std::mutex> guard(m_lock);
                --m_workers;
            }
        }
    }
    std::unique_lock<std::mutex> guard(m_lock);
    while (m_workers > 0) {
        m_changed.wait_for(guard, std::chrono::milliseconds(100));
        // Without a watcher (no thread could be had) this loop passes a cancel on.
        if (!m_watching)
            FanOutCancel();
    }
    // Every worker lost its connection: what is left cannot be done.
    if (!Cancelled()) {
        for (const FileTask& task : m_queue) {
            ++m_progress->failedFiles;
            m_failures.emplace_back(
                task.target, Tr(QT_TRANSLATE_NOOP("FolderJob", "No connection to the server was left.")).toStdString());
        }
    }
    m_queue.clear();
    return 1;
}

int FolderJob::Delete(JobConnection& on, const std::vector<Found>& found)
{
    const std::string& root = m_request.file;
    std::uint64_t files = 0, folders = 0;
    for (const Found& entry : found)
        (entry.folder ? folders : files)++;
    m_progress->counting = false;
    const QString question
        = Tr(QT_TRANSLATE_NOOP("FolderJob", "Delete the folder '%1' and everything in it (%2 and %3)?"))
              .arg(Q(root),
                   Tr(QT_TRANSLATE_N_NOOP("FolderJob", "%n file(s)"),
                      static_cast<int>(std::min<std::uint64_t>(files, INT32_MAX))),
                   Tr(QT_TRANSLATE_N_NOOP("FolderJob", "%n folder(s)"),
                      static_cast<int>(std::min<std::uint64_t>(folders, INT32_MAX))));
    if (Cancelled() || !GetInteraction().AskYesNo(question.toStdString(), m_cancelled) || Cancelled())
        return 0;
    // A folder that still holds something after a failure is not removed: its RMD would only fail.
    std::set<std::string> kept;
    const auto keep = [&kept](std::string relative) {
        for (;;) {
            kept.insert(relative);
            if (relative.empty())
                return;
            relative = ParentOf(relative);
        }
    };
    for (const Found& entry : found) {
        if (entry.folder)
            continue;
        if (Cancelled())
            return 0;
        const std::string path = JoinPath(root, entry.relative);
        m_progress->SetCurrentFile(entry.relative);
        on.ui->BeginFile(entry.size);
        const int deleted = on.connection->DeleteFileA(path);
        std::string reason = on.ui->EndFile(deleted != 0);
        if (deleted) {
            ++m_progress->doneFiles;
        } else if (!Cancelled()) {
            ++m_progress->failedFiles;
            Fail(path, reason);
            keep(ParentOf(entry.relative));
        }
    }
    std::vector<std::string> order{std::string()};
    for (const Found& entry : found)
        if (entry.folder)
            order.push_back(entry.relative);
    // Reversed walk order: every folder after everything inside it.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (Cancelled())
            return 0;
        if (kept.count(*it))
            continue;
        const std::string path = JoinPath(root, *it);
        on.ui->BeginFile(0);
        const int removed = on.connection->RemoveDirectoryA(path);
        std::string reason = on.ui->EndFile(false);
        if (!removed && !Cancelled()) {
            Fail(path, reason);
            keep(ParentOf(*it));
        }
    }
    return 1;
}

int FolderJob::Finish(bool allDone)
{
    m_progress->counting = false;
    m_progress->SetCurrentFile({});
    std::vector<std::pair<std::string, std::string>> failures;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        failures.swap(m_failures);
    }
    if (failures.empty())
        return allDone && !Cancelled() ? 1 : 0;
    const char* heading = Kind() == OperationKind::FolderDownload
        ? QT_TRANSLATE_N_NOOP("FolderJob", "Not everything in '%1' could be downloaded; %n failed:")
        : Kind() == OperationKind::FolderUpload
        ? QT_TRANSLATE_N_NOOP("FolderJob", "Not everything in '%1' could be uploaded; %n failed:")
        : Kind() == OperationKind::FolderTransfer
        ? QT_TRANSLATE_N_NOOP("FolderJob", "Not everything in '%1' could be copied; %n failed:")
        : QT_TRANSLATE_N_NOOP("FolderJob", "Not everything in '%1' could be deleted; %n failed:");
    QString text
        = Tr(heading, static_cast<int>(std::min<std::size_t>(failures.size(), INT32_MAX))).arg(Q(m_request.file));
    for (std::size_t i = 0; i < failures.size() && i < kFailuresListed; ++i)
        text += QLatin1Char('\n')
            + Tr(QT_TRANSLATE_NOOP("FolderJob", "%1: %2")).arg(Q(failures[i].first), Q(failures[i].second));
    if (failures.size() > kFailuresListed)
        text += QLatin1Char('\n')
            + Tr(QT_TRANSLATE_N_NOOP("FolderJob", "and %n more"),
                 static_cast<int>(std::min<std::size_t>(failures.size() - kFailuresListed, INT32_MAX)));
    GetInteraction().ShowMessage(text.toStdString(), MessageIcon::Warning, m_cancelled);
    return 0;
}

int FolderJob::Run(unsigned long* firstLoginError)
{
    const int kind = Kind();
    // Refused before anything is read or written: the copy would land inside what it copies.
    if (kind == OperationKind::FolderTransfer) {
        const ServerRecord& a = m_setup.sourceRecord;
        const ServerRecord& b = m_setup.targetRecord;
        const bool sameServer
            = a.name == b.name || (a.address == b.address && a.port == b.port && a.userName == b.userName);
        if (sameServer && IsSameOrInside(m_request.targetFile, m_request.file)) {
            m_progress->counting = false;
            GetInteraction().ShowMessage(
                Tr(QT_TRANSLATE_NOOP("FolderJob",
                                     "The folder '%1' cannot be copied into '%2': that is the folder itself "
                                     "or a folder inside it."))
                    .arg(Q(m_request.file), Q(m_request.targetFile))
                    .toStdString(),
                MessageIcon::Error, m_cancelled);
            return 0;
        }
    }
    if (kind == OperationKind::FolderUpload && m_request.targetFile.empty()) {
        m_progress->counting = false;
        return 0;
    }

    JobConnection first; // the source's, or for an upload the target's
    JobConnection firstTarget; // a copy's target
    ServerRecord& firstRecord = ReadsServer() ? m_setup.sourceRecord : m_setup.targetRecord;
    const auto cleanUp = [&] {
        StopWatcher();
        for (JobConnection* slot : {&firstTarget, &first}) {
            if (!slot->connection)
                continue;
            Unregister(slot->connection);
            if (slot->own) {
                if (m_setup.operationId != 0)
                    OperationStatusList.RemoveStatusEntryNaming(m_setup.operationId, slot->connection);
                slot->connection->Close();
                slot->own.reset();
            } else {
                slot->connection->SetUi(nullptr);
            }
            slot->connection = nullptr;
        }
    };
    struct Guard {
        std::function<void()> done;
        ~Guard() { done(); }
    } guard{cleanUp};
    StartWatcher();

    if (!OpenFirst(first, firstRecord, m_setup.firstConnection != nullptr, true)) {
        m_progress->counting = false;
        if (firstLoginError && !Cancelled())
            *firstLoginError = first.connection->GetError();
        return 0;
    }
    if (kind == OperationKind::FolderTransfer && !OpenFirst(firstTarget, m_setup.targetRecord, false, false)) {
        m_progress->counting = false;
        return 0;
    }

    std::vector<Found> found;
    bool planned = false;
    if (kind == OperationKind::FolderUpload) {
        std::error_code error;
        if (!fs::is_directory(m_request.file, error)) {
            Fail(m_request.file, Tr(QT_TRANSLATE_NOOP("FolderJob", "This is not a folder.")).toStdString());
            return Finish(false);
        }
        WalkLocal(m_request.file, found);
        if (Cancelled())
            return Finish(false);
        planned = PlanUpload(first, found, m_request.file);
    } else {
        if (!WalkRemote(first, m_request.file, found))
            return Finish(false);
        if (kind == OperationKind::FolderDelete)
            return Finish(Delete(first, found) != 0);
        planned = kind == OperationKind::FolderDownload ? PlanDownload(found)
                                                        : PlanUpload(firstTarget, found, m_request.file);
    }
    if (!planned) {
        // The overwrite question was cancelled: the job ends, nothing more is written.
        m_queue.clear();
        return Finish(false);
    }
    RunTransfers(first, kind == OperationKind::FolderTransfer ? &firstTarget : nullptr);
    return Finish(true);
}

} // namespace

bool IsSafeEntryName(const std::string& name)
{
    return IsSafeLocalName(name) && name.find_first_of("\r\n") == std::string::npos;
}

bool IsSameOrInside(const std::string& path, const std::string& folder)
{
    std::string a = path, b = folder;
    while (a.size() > 1 && a.back() == '/')
        a.pop_back();
    while (b.size() > 1 && b.back() == '/')
        b.pop_back();
    if (a == b)
        return true;
    if (b == "/")
        return !a.empty() && a.front() == '/';
    return a.size() > b.size() && a.compare(0, b.size(), b) == 0 && a[b.size()] == '/';
}

bool IsRemoteFolder(QorFtpConnection& connection, const std::string& path, std::string* absolute)
{
    if (path.empty())
        return false;
    connection.SetShowError(0);
    std::string here;
    const bool knowsHere = connection.GetCurrentFtpDirectory(here) != 0;
    const bool folder = knowsHere && connection.ChangeDirectory(path) != 0;
    if (folder) {
        std::string inside;
        if (absolute && connection.GetCurrentFtpDirectory(inside))
            *absolute = inside;
        connection.ChangeDirectory(here);
    }
    connection.SetShowError(1);
    return folder;
}

int RunFolderJob(const FolderJobSetup& setup, unsigned long* firstLoginError)
{
    FolderJob job(setup);
    return job.Run(firstLoginError);
}

int CCommandThread::FolderJobOperation()
{
    FolderJobSetup setup;
    setup.request = m_request;
    setup.operationId = m_operationId;
    setup.cancelled = m_cancelled;
    setup.progress = m_progress;
    setup.timeoutSeconds = m_timeoutSeconds;
    setup.connectionsPerServer = std::clamp(ProgramSettings().parallelTransfers, 1, 10);
    setup.firstConnection = m_isScript ? m_scriptConnection : nullptr;
    setup.script = m_isScript != 0;
    switch (m_request.kind) {
    case OperationKind::FolderUpload:
        setup.targetRecord = m_serverRecord;
        break;
    case OperationKind::FolderTransfer:
        if (!ResolveBothServers())
            return 0;
        setup.sourceRecord = m_serverRecord;
        setup.targetRecord = m_targetRecord;
        break;
    default:
        if (!m_sourceKnown) {
            ShowUserInformationError(m_request.sourceServer);
            return 0;
        }
        setup.sourceRecord = m_serverRecord;
        break;
    }
    unsigned long firstLoginError = 0;
    const int result = RunFolderJob(setup, &firstLoginError);
    // The server allows no more sessions: as for single files, the job may run over the
    // connection the user browses with (one connection then).
    if (firstLoginError == 421 && !m_isScript && !Cancelled()) {
        const QString question = Tr(QT_TRANSLATE_NOOP("FolderJob",
                                                      "The server refused another connection. Do you want to try "
                                                      "'%1'\nby using the same connection?\n(See "
                                                      "help.)"))
                                     .arg(Q(m_request.file));
        if (GetInteraction().AskYesNo(question.toStdString(), m_cancelled) && !Cancelled()) {
            m_retryPosted = true;
            GetOperationHost().RetrySameConnection(421, m_operationId);
        }
    }
    return result;
}

std::optional<int> CCommandThread::ScriptFolderStep()
{
    OperationRequest job = m_request;
    std::string absolute;
    switch (m_request.kind) {
    case OperationKind::Upload: {
        std::error_code error;
        if (!fs::is_directory(m_request.file, error))
            return std::nullopt;
        job.kind = OperationKind::FolderUpload;
        break;
    }
    case OperationKind::Download:
    case OperationKind::Transfer:
        if (!IsRemoteFolder(*m_scriptConnection, m_request.file, &absolute))
            return std::nullopt;
        job.kind
            = m_request.kind == OperationKind::Download ? OperationKind::FolderDownload : OperationKind::FolderTransfer;
        if (!absolute.empty())
            job.file = absolute;
        break;
    default:
        return std::nullopt;
    }
    const OperationRequest step = m_request;
    m_request = job;
    const int result = FolderJobOperation();
    m_request = step;
    return result;
}
