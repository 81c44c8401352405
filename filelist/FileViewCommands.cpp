// The file list's commands: what the menus, the keys, the context menus and label editing do
// with the rows. Remote commands run their exchange with the server off the user-interface
// thread (WaitOffUiThread); transfers go to background operations.
#include "filelist/CFileView.h"

#include "QorFtp.h"
#include "dialogs/LabelEditDelegate.h"
#include "dialogs/UiThread.h"
#include "filelist/MarkTable.h"
#include "listing/FileProperties.h"
#include "listing/TreePaths.h"
#include "operations/CommandThread.h"
#include "operations/FolderJob.h"
#include "operations/Interaction.h"
#include "operations/OperationLists.h"
#include "operations/OperationTexts.h"
#include "operations/TransferData.h"
#include "operations/TransferList.h"
#include "settings/Settings.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace {

std::string Text(const QString& text)
{
    return text.toStdString();
}

// The process's first download prompt opens in the default download folder; later ones where
// the user left the dialog.
bool s_promptedBefore = false;

} // namespace

std::vector<int> CFileView::SelectedRows() const
{
    // The icon and list modes select the name cell alone, the details mode whole rows.
    std::vector<int> rows;
    for (const QModelIndex& index : m_selection->selectedIndexes()) {
        if (!m_model->IsMessageRow(index.row()))
            rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int CFileView::FirstSelectedRow() const
{
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

bool CFileView::IsLocal() const
{
    return Root() == QLatin1String(kMyComputer);
}

std::shared_ptr<QorFtpConnection> CFileView::BrowsingConnection() const
{
    if (IsLocal() || Root().isEmpty() || !connectionLookup)
        return nullptr;
    return connectionLookup(Root());
}

QString CFileView::LocalPathOf(int row) const
{
    const FileRow* entry = m_model->Row(row);
    if (!entry || entry->message)
        return {};
    return entry->localPath.isEmpty() ? CurrentFolder() + entry->shownName : entry->localPath;
}

bool CFileView::CanNewFolder() const
{
    return IsLocal() ? !m_model->Folder().isEmpty() : CanUseConnection();
}

bool CFileView::CanCopy() const
{
    return FirstSelectedRow() >= 0;
}

bool CFileView::CanMarkUnmark() const
{
    return FirstSelectedRow() >= 0;
}

bool CFileView::CanAppend() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(QLatin1String(kTransferListMimeType)) || !CanUseConnection())
        return false;
    const std::optional<TransferListBlock> block = ReadTransferList(data->data(QLatin1String(kTransferListMimeType)));
    return block && block->server == Text(Root());
}

bool CFileView::CanPaste() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || Root().isEmpty())
        return false;
    if (data->hasUrls())
        return true;
    return data->hasFormat(QLatin1String(kTransferListMimeType)) && (IsLocal() || CanUseConnection());
}

// Open --------------------------------------------------------------------------------------

void CFileView::ActivateRow(const QModelIndex& index)
{
    OpenRow(index.row(), false);
}

void CFileView::OnOpen()
{
    const int row = FirstSelectedRow();
    const FileItem* item = m_model->Item(row);
    if (item && item->kind == ITEM_FOLDER)
        OpenRow(row, false);
}

void CFileView::OpenRow(int row, bool byEnter)
{
    const FileItem* item = m_model->Item(row);
    if (!item)
        return;
    if (item->kind == ITEM_FOLDER) {
        if (item->name == "..")
            OnUpOneLevel();
        else
            emit ChildFolderWanted(item->name);
        return;
    }
    if (IsLocal()) {
        // The desktop's default application, as a file manager opens a file.
        QDesktopServices::openUrl(QUrl::fromLocalFile(LocalPathOf(row)));
        return;
    }
    // Enter opens remote folders only: a remote file has no local program to open it with.
    if (byEnter)
        return;
    std::shared_ptr<QorFtpConnection> browsing = BrowsingConnection();
    if (!browsing)
        return;
    connection = browsing.get();
    const std::string name = item->name;
    if (item->kind == ITEM_LINK) {
        // A link is a folder when the server lets us change into it.
        const std::string path = m_model->PathOf(row);
        const bool isFolder = WaitOffUiThread<bool>([browsing, path] {
            browsing->SetShowError(0);
            const std::string before = browsing->GetCurrentDirectoryA();
            const bool changed = browsing->ChangeDirectory(path) != 0;
            if (changed && !before.empty())
                browsing->ChangeDirectory(before);
            browsing->SetShowError(1);
            return changed;
        });
        if (isFolder) {
            emit ChildFolderWanted(name);
            return;
        }
    }
    RunDownloadPrompt({DownloadEntry{name, name}});
}

// Download ----------------------------------------------------------------------------------

void CFileView::OnDownload()
{
    if (IsLocal())
        return;
    // Files and whole folders, in list order; a folder is named with a '/' at its end, as the
    // download prompt and the transfer list know it. A link may be either, so Open decides it.
    std::vector<DownloadEntry> entries;
    for (int row : SelectedRows()) {
        const FileItem* item = m_model->Item(row);
        if (!item || item->name == "..")
            continue;
        if (item->kind == ITEM_FILE)
            entries.push_back({item->name, item->name});
        else if (item->kind == ITEM_FOLDER)
            entries.push_back({item->name + "/", item->name + "/"});
    }
    RunDownloadPrompt(std::move(entries));
}

void CFileView::RunDownloadPrompt(std::vector<DownloadEntry> files)
{
    const std::string root = Text(Root());
    const std::string folder = m_model->FolderBytes();
    while (!files.empty()) {
        const DownloadEntry entry = files.front();
        files.erase(files.begin());
        // A folder comes whole, in one job; the user may have renamed its entry without the '/'.
        const bool folderEntry = IsFolderEntry(entry.remoteName);
        const std::string remoteName
            = folderEntry ? entry.remoteName.substr(0, entry.remoteName.size() - 1) : entry.remoteName;
        std::string localName = entry.localName;
        while (folderEntry && !localName.empty() && localName.back() == '/')
            localName.pop_back();
        // The local name is a name in the chosen folder, whatever the server listed.
        localName = localName.substr(localName.rfind('/') + 1);
        std::string localPath;
        if (!m_dontPromptEachFile) {
            DownloadAsQuestion question;
            question.localName = folderEntry ? localName + "/" : localName;
            if (!s_promptedBefore) {
                // Without a default download folder of the user's, the desktop's one.
                QString start = ProgramSettings().defaultDownloadDir;
                if (start.isEmpty())
                    start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
                question.startFolder = Text(start);
            }
            s_promptedBefore = true;
            question.remaining = files;
            DownloadAsAnswer answer = GetInteraction().AskDownloadAs(question);
            files = std::move(answer.remaining);
            m_dontPromptEachFile = answer.dontPrompt;
            if (!answer.accepted) {
                if (m_dontPromptEachFile)
                    break;
                continue;
            }
            localPath = answer.path;
            const std::size_t slash = localPath.rfind('/');
            m_promptFolder = slash == std::string::npos ? std::string() : localPath.substr(0, slash);
        } else {
            if (localName.empty() || localName == "." || localName == "..")
                continue;
            localPath = m_promptFolder + "/" + localName;
        }
        OperationRequest request;
        request.kind = folderEntry ? OperationKind::FolderDownload : OperationKind::Download;
        request.sourceServer = root;
        request.file = RemoteFilePath(folder, remoteName);
        request.localPath = localPath;
        StartOperation(request);
    }
    m_dontPromptEachFile = false;
}

// Delete ------------------------------------------------------------------------------------

void CFileView::OnDelete()
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    if (IsLocal())
        DeleteLocal(rows);
    else
        DeleteRemote(rows);
}

void CFileView::DeleteLocal(const std::vector<int>& rows)
{
    QStringList paths;
    for (int row : rows)
        paths << LocalPathOf(row);
    const QString question = paths.size() == 1
        ? tr("Move '%1' to the trash?").arg(QFileInfo(paths.front()).fileName())
        : tr("Move these %n items to the trash?", nullptr, static_cast<int>(paths.size()));
    if (!GetInteraction().AskYesNo(Text(question)))
        return;
    // Without the data folder the trash cannot be set up, and Qt would put the files in a
    // "files" folder below the working directory.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    for (const QString& path : paths) {
        if (QFile::moveToTrash(path))
            continue;
        // Volumes without a trash (some removable media, network mounts) can only delete for good.
        const QString name = QFileInfo(path).fileName();
        if (!GetInteraction().AskYesNo(Text(tr("'%1' cannot be moved to the trash.\nDelete it for good?").arg(name))))
            continue;
        const QFileInfo info(path);
        const bool removed = info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively() : QFile::remove(path);
        if (!removed)
            GetInteraction().ShowMessage(Text(tr("Could not delete '%1'.").arg(name)), MessageIcon::Error);
    }
    // The folder watch shows the result.
}

void CFileView::DeleteRemote(const std::vector<int>& rows)
{
    std::shared_ptr<QorFtpConnection> browsing = BrowsingConnection();
    if (!browsing)
        return;
    connection = browsing.get();
    struct Target {
        std::string name;
        std::string path;
        QString shown;
        bool folder;
    };
    std::vector<Target> targets;
    for (int row : rows) {
        const FileRow* entry = m_model->Row(row);
        targets.push_back({entry->item.name, m_model->PathOf(row), entry->shownName, entry->item.kind == ITEM_FOLDER});
    }
    bool all = false;
    bool cancelled = false;
    // Folders with contents go to jobs, each of which walks its folder and asks once with what it
    // found; they start after the questions here, so that no two questions show at once.
    std::vector<std::string> jobs;
    for (const Target& target : targets) {
        if (target.folder && FolderHoldsAnything(browsing, target.path)) {
            jobs.push_back(target.path);
            continue;
        }
        if (!all) {
            const DeleteConfirmResult answer
                = GetInteraction().AskDeleteConfirm(Text(tr("Are you sure you want to delete '%1'").arg(target.shown)));
            if (answer == DeleteConfirmResult::Cancel) {
                cancelled = true;
                break;
            }
            if (answer == DeleteConfirmResult::No)
                continue;
            all = answer == DeleteConfirmResult::YesToAll;
        }
        const bool deleted = WaitOffUiThread<bool>([browsing, target] {
            return (target.folder ? browsing->RemoveDirectoryA(target.path) : browsing->DeleteFileA(target.path)) != 0;
        });
        if (!deleted)
            continue;
        // Rows may have moved while the server answered: find it by name.
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const FileItem* item = m_model->Item(row);
            if (item && item->name == target.name) {
                RemoveRow(row);
                break;
            }
        }
        if (target.folder)
            emit ChildFolderRemoved(target.name);
    }
    for (const std::string& path : cancelled ? std::vector<std::string>() : jobs) {
        OperationRequest request;
        request.kind = OperationKind::FolderDelete;
        request.sourceServer = Text(Root());
        request.file = path;
        std::uint32_t operationId = 0;
        StartOperation(request, &operationId);
        RefreshWhenDone(operationId);
    }
    if (m_model->rowCount() == 0)
        m_model->AddMessage(tr("No Files"));
    emit CommandStateChanged();
}

bool CFileView::FolderHoldsAnything(const std::shared_ptr<QorFtpConnection>& browsing, const std::string& path)
{
    // Read off the user-interface thread; a folder that cannot be listed is left to the plain
    // removal, which reports why it failed.
    return WaitOffUiThread<bool>([browsing, path] {
        if (browsing->GetDir(path) <= 0)
            return false;
        _Qor_Ftp_FileData record;
        bool holds = false;
        while (browsing->GetNextFile(record, 1))
            holds = holds || (record.Name != "." && record.Name != "..");
        return holds;
    });
}

void CFileView::RefreshWhenDone(std::uint32_t operationId)
{
    // The job ends on its own thread: looked for now and then while the same folder is shown.
    auto* timer = new QTimer(this);
    timer->setInterval(500);
    const QString root = Root();
    const QString folder = CurrentFolder();
    connect(timer, &QTimer::timeout, this, [this, timer, operationId, root, folder] {
        if (OperationStatusList.Find(operationId))
            return;
        timer->deleteLater();
        if (Root() == root && CurrentFolder() == folder)
            emit RefreshWanted();
    });
    timer->start();
}

void CFileView::RemoveRow(int row)
{
    if (const FileRow* entry = m_model->Row(row); entry && !entry->message)
        MarkTable.erase(m_model->PathOf(row));
    m_model->RemoveRow(row);
}

// New Folder and rename ---------------------------------------------------------------------

void CFileView::OnNewFolder()
{
    if (!CanNewFolder() || m_labelEditing)
        return;
    // A notice row ("No Files") gives way to the new folder.
    if (m_model->rowCount() == 1 && m_model->IsMessageRow(0))
        m_model->RemoveRow(0);
    const int row = m_model->AppendNewFolderRow();
    m_newFolderPending = true;
    StartLabelEdit(row);
}

void CFileView::OnRename()
{
    const int row = FirstSelectedRow();
    if (row >= 0 && !m_labelEditing)
        StartLabelEdit(row);
}

void CFileView::StartLabelEdit(int row)
{
    QAbstractItemView* view = CurrentView();
    auto* delegate = dynamic_cast<LabelEditDelegate*>(view->itemDelegate());
    if (!delegate) {
        delegate = new LabelEditDelegate(view);
        view->setItemDelegate(delegate);
        connect(delegate, &QAbstractItemDelegate::closeEditor, this, [this] {
            // setModelData ran first when the text was committed.
            QString text = m_committedName;
            const bool committed = m_nameCommitted;
            m_nameCommitted = false;
            // Out of the view's own handling first: the row may go, and the exchange with a
            // server lets other events in.
            QMetaObject::invokeMethod(
                this, [this, text, committed] { LabelEditEnded(committed ? &text : nullptr); }, Qt::QueuedConnection);
        });
    }
    delegate->committed = [this](const QString& text) {
        m_committedName = text;
        m_nameCommitted = true;
    };
    m_labelEditing = true;
    m_editedRow = row;
    m_model->SetEditableRow(row);
    const QModelIndex index = m_model->index(row, CFileListModel::NameColumn);
    view->setFocus();
    view->scrollTo(index);
    m_selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->edit(index);
}

void CFileView::LabelEditEnded(const QString* text)
{
    const int row = m_editedRow;
    m_labelEditing = false;
    m_editedRow = -1;
    m_model->SetEditableRow(-1);
    const QString name = text ? text->trimmed() : QString();
    const bool newFolder = m_newFolderPending;
    m_newFolderPending = false;
    const FileRow* entry = m_model->Row(row);
    if (!entry)
        return;
    if (name.isEmpty() || (!newFolder && name == entry->shownName)) {
        if (newFolder)
            m_model->RemoveRow(row);
        return;
    }
    if (name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String("..")) {
        GetInteraction().ShowMessage(
            Text(tr("'%1' cannot be used as a name: it must not hold \"/\" or be \".\" or \"..\".").arg(name)),
            MessageIcon::Error);
        if (newFolder)
            m_model->RemoveRow(row);
        return;
    }
    if (IsLocal()) {
        const QString folder = CurrentFolder();
        if (newFolder) {
            if (!QDir().mkdir(folder + name)) {
                GetInteraction().ShowMessage(Text(tr("Could not create the folder '%1'.").arg(folder + name)),
                                             MessageIcon::Error);
                m_model->RemoveRow(row);
                return;
            }
            m_model->NameFolderRow(row, Text(name), name);
            emit ChildFolderAdded(Text(name));
            return;
        }
        // A collision gets a free name rather than replacing the other file.
        QString target = folder + name;
        const QFileInfo wanted(target);
        for (int n = 2; QFileInfo::exists(target); ++n) {
            target = folder + wanted.completeBaseName() + QStringLiteral(" (%1)").arg(n)
                + (wanted.suffix().isEmpty() ? QString() : QLatin1Char('.') + wanted.suffix());
        }
        if (!QFile::rename(LocalPathOf(row), target))
            GetInteraction().ShowMessage(Text(tr("Could not rename '%1'.").arg(entry->shownName)), MessageIcon::Error);
        // The folder watch shows the new name.
        return;
    }
    std::shared_ptr<QorFtpConnection> browsing = BrowsingConnection();
    if (!browsing) {
        if (newFolder)
            m_model->RemoveRow(row);
        return;
    }
    connection = browsing.get();
    const std::string folder = m_model->FolderBytes();
    const std::string newName = Text(name);
    if (newFolder) {
        const std::string path = RemoteFilePath(folder, newName);
        const bool made = WaitOffUiThread<bool>([browsing, path] { return browsing->MakeDirectory(path) != 0; });
        if (!made) {
            m_model->RemoveRow(row);
            return;
        }
        m_model->NameFolderRow(row, newName, name);
        emit ChildFolderAdded(newName);
        return;
    }
    const std::string from = m_model->PathOf(row);
    const std::string to = RemoteFilePath(folder, newName);
    const bool renamed = WaitOffUiThread<bool>([browsing, from, to] { return browsing->Rename(from, to) != 0; });
    if (renamed)
        OnRefresh();
}

// Clipboard ---------------------------------------------------------------------------------

std::vector<std::string> CFileView::SelectedRemotePaths() const
{
    // Folders end with '/': a paste or a drop copies them whole.
    std::vector<std::string> paths;
    for (int row : SelectedRows()) {
        const FileItem* item = m_model->Item(row);
        if (!item || item->name == "..")
            continue;
        if (item->kind == ITEM_FILE)
            paths.push_back(m_model->PathOf(row));
        else if (item->kind == ITEM_FOLDER)
            paths.push_back(m_model->PathOf(row) + "/");
    }
    return paths;
}

std::unique_ptr<QMimeData> CFileView::SelectionData() const
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return nullptr;
    auto data = std::make_unique<QMimeData>();
    if (IsLocal()) {
        QList<QUrl> urls;
        for (int row : rows)
            urls << QUrl::fromLocalFile(LocalPathOf(row));
        data->setUrls(urls);
        return data;
    }
    const std::optional<QByteArray> block = WriteTransferList(Text(Root()), SelectedRemotePaths());
    if (!block)
        return nullptr;
    data->setData(QLatin1String(kTransferListMimeType), *block);
    return data;
}

void CFileView::OnCopy()
{
    if (std::unique_ptr<QMimeData> data = SelectionData()) {
        QApplication::clipboard()->setMimeData(data.release());
        emit CommandStateChanged();
    }
}

void CFileView::OnAppend()
{
    if (!CanAppend())
        return;
    const QMimeData* current = QApplication::clipboard()->mimeData();
    const std::optional<QByteArray> block
        = AppendToTransferList(current->data(QLatin1String(kTransferListMimeType)), SelectedRemotePaths());
    if (!block)
        return;
    auto data = std::make_unique<QMimeData>();
    data->setData(QLatin1String(kTransferListMimeType), *block);
    QApplication::clipboard()->setMimeData(data.release());
}

void CFileView::OnPaste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data) {
        GetInteraction().ShowMessage(Text(tr("Could not Connect to Clipboard")), MessageIcon::Error);
        return;
    }
    if (Root().isEmpty())
        return;
    const std::string folder = IsLocal() ? Text(CurrentFolder()) : m_model->FolderBytes();
    if (ExecuteTransferData(*data, DropCopy, Text(Root()), folder) < 0)
        GetInteraction().ShowMessage(Text(tr("No Available Files to Paste")), MessageIcon::Information);
}

// The rest ----------------------------------------------------------------------------------

void CFileView::OnSelectAll()
{
    CurrentView()->selectAll();
}

void CFileView::OnMarkUnmark()
{
    for (int row : SelectedRows())
        ToggleMark(row);
}

void CFileView::OnView()
{
    const int row = FirstSelectedRow();
    const FileItem* item = m_model->Item(row);
    if (!item || IsLocal() || item->kind == ITEM_FOLDER)
        return;
    OperationRequest request;
    request.kind = OperationKind::View;
    request.sourceServer = Text(Root());
    request.file = m_model->PathOf(row);
    const std::string name = item->name.substr(item->name.rfind('/') + 1);
    request.localPath = Text(QDir::tempPath()) + "/" + name;
    StartOperation(request);
}

void CFileView::OnFilePermissions()
{
    const int row = FirstSelectedRow();
    const FileItem* item = m_model->Item(row);
    if (!item || IsLocal())
        return;
    const std::string path = m_model->PathOf(row);
    const std::optional<std::string> mode = GetInteraction().AskPermissions(path, item->permissions);
    if (!mode)
        return;
    OperationRequest request;
    request.kind = OperationKind::ChangeMode;
    request.sourceServer = Text(Root());
    request.file = path;
    request.fileMode = *mode;
    StartOperation(request);
}

void CFileView::OnDownloadFile()
{
    if (!CanUseConnection())
        return;
    const std::optional<std::pair<std::string, std::string>> fields = GetInteraction().AskTwoFields(
        Text(tr("Enter file to Download from %1:").arg(Root())), Text(tr("Enter local Pathname:")));
    if (!fields)
        return;
    // A typed folder comes down whole; the server says whether it is one.
    std::shared_ptr<QorFtpConnection> browsing = BrowsingConnection();
    const std::string remote = fields->first;
    const bool folder
        = browsing && WaitOffUiThread<bool>([browsing, remote] { return IsRemoteFolder(*browsing, remote); });
    OperationRequest request;
    request.kind = folder ? OperationKind::FolderDownload : OperationKind::Download;
    request.sourceServer = Text(Root());
    request.file = fields->first;
    request.localPath = fields->second;
    StartOperation(request);
}

void CFileView::OnUploadFile()
{
    if (!CanUseConnection())
        return;
    const std::optional<std::pair<std::string, std::string>> fields = GetInteraction().AskTwoFields(
        Text(tr("Enter file to Upload to %1:").arg(Root())), Text(tr("Enter remote Pathname:")));
    if (!fields)
        return;
    OperationRequest request;
    // A typed folder goes up whole.
    request.kind = QFileInfo(QFile::decodeName(fields->first.c_str())).isDir() ? OperationKind::FolderUpload
                                                                               : OperationKind::Upload;
    request.targetServer = Text(Root());
    request.file = fields->first;
    request.targetFile = fields->second;
    StartOperation(request);
}

void CFileView::OnProperties()
{
    const int row = FirstSelectedRow();
    const FileRow* entry = m_model->Row(row);
    if (!entry || entry->message)
        return;
    const QLocale locale;
    FilePropertiesView view;
    view.name = Text(entry->shownName);
    view.type = Text(entry->typeText);
    view.owner = entry->item.owner;
    view.group = entry->item.group;
    view.permissions = entry->item.permissions;
    view.iconKey = Text(entry->iconKey);
    view.folder = entry->item.kind == ITEM_FOLDER;
    view.size = Text(PropertiesSizeText(entry->item.size, locale));
    if (IsLocal()) {
        // Local rows already show the user's own date format.
        const QDateTime modified = QFileInfo(LocalPathOf(row)).lastModified();
        view.modified = Text(locale.toString(modified.date(), QLocale::LongFormat) + QLatin1Char(' ')
                             + locale.toString(modified.time(), ShortTimeWithoutSeconds(locale)));
    } else {
        view.modified = Text(PropertiesModifiedText(entry->modified, QDate::currentDate(), locale));
    }
    GetInteraction().ShowFileProperties(view);
}

// Context menus -----------------------------------------------------------------------------

std::unique_ptr<QMenu> CFileView::MakeContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("FileListContextMenu"));
    const auto add = [&menu, this](const QString& text, void (CFileView::*slot)(), bool enabled = true) {
        QAction* action = menu->addAction(text, this, slot);
        action->setEnabled(enabled);
        return action;
    };
    const int first = FirstSelectedRow();
    const FileItem* item = m_model->Item(first);
    if (item && IsLocal()) {
        // The local item's menu.
        add(tr("&Open"), &CFileView::OnOpenLocalItem);
        add(tr("&Copy"), &CFileView::OnCopy);
        add(tr("Re&name"), &CFileView::OnRename);
        add(tr("Move to &Trash"), &CFileView::OnDelete);
        menu->addSeparator();
        add(tr("&Mark/UnMark"), &CFileView::OnMarkUnmark);
        add(tr("&About Tarvo..."), &CFileView::OnAboutWanted);
        menu->setProperty("menuId", 163);
        return menu;
    }
    if (item && BrowsingConnection()) {
        if (item->kind == ITEM_FOLDER) {
            add(tr("Open"), &CFileView::OnOpen);
            menu->addSeparator();
            add(tr("Download..."), &CFileView::OnDownload);
            add(tr("De&lete"), &CFileView::OnDelete);
            menu->addSeparator();
            add(tr("&Copy"), &CFileView::OnCopy);
            add(tr("&Append"), &CFileView::OnAppend, CanAppend());
            menu->addSeparator();
            add(tr("&Mark/UnMark"), &CFileView::OnMarkUnmark);
            menu->setProperty("menuId", 137);
            return menu;
        }
        add(tr("&Download..."), &CFileView::OnDownload);
        add(tr("De&lete"), &CFileView::OnDelete);
        menu->addSeparator();
        add(tr("&Copy"), &CFileView::OnCopy);
        add(tr("&Append"), &CFileView::OnAppend, CanAppend());
        menu->addSeparator();
        add(tr("&View"), &CFileView::OnView);
        add(tr("File &Permissions"), &CFileView::OnFilePermissions);
        menu->addSeparator();
        add(tr("&Mark/UnMark"), &CFileView::OnMarkUnmark);
        add(tr("P&roperties"), &CFileView::OnProperties);
        menu->setProperty("menuId", 102);
        return menu;
    }
    add(tr("&New Folder"), &CFileView::OnNewFolder, CanNewFolder());
    add(tr("&Refresh"), &CFileView::OnRefresh);
    menu->addSeparator();
    add(tr("&Paste"), &CFileView::OnPaste, CanPaste());
    menu->addSeparator();
    struct Mode {
        const char* text;
        ViewMode mode;
    };
    const Mode modes[] = {{QT_TR_NOOP("Lar&ge Icons"), ViewMode::LargeIcons},
                          {QT_TR_NOOP("S&mall Icons"), ViewMode::SmallIcons},
                          {QT_TR_NOOP("&List"), ViewMode::List},
                          {QT_TR_NOOP("&Details"), ViewMode::Details}};
    for (const Mode& mode : modes) {
        QAction* action = menu->addAction(tr(mode.text), this, [this, wanted = mode.mode] { SetViewMode(wanted); });
        action->setCheckable(true);
        action->setChecked(m_mode == mode.mode);
    }
    menu->setProperty("menuId", 138);
    return menu;
}

void CFileView::ShowContextMenu(const QPoint& globalPos)
{
    std::unique_ptr<QMenu> menu = MakeContextMenu();
    menu->exec(globalPos);
}

void CFileView::OnOpenLocalItem()
{
    const int row = FirstSelectedRow();
    if (row >= 0)
        OpenRow(row, false);
}

void CFileView::OnAboutWanted()
{
    emit AboutWanted();
}
