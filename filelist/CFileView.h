// The right-hand pane: the entries of the folder selected in the folder tree, in one of four
// view modes over one model. The folder tree fills it through signals connected in app/; long
// listings are inserted in slices from the event loop, so the window keeps answering.
#pragma once

#include "filelist/FileListModel.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct DownloadEntry;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMenu;
class QMimeData;
class QPrinter;

class FolderWatch;
class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QStackedLayout;
class QTreeView;
class QorFtpConnection;

class CFileView : public QWidget {
    Q_OBJECT
public:
    enum class ViewMode { LargeIcons, SmallIcons, List, Details };

    explicit CFileView(QWidget* parent = nullptr);
    ~CFileView() override;

    CFileListModel* Model() const { return m_model; }
    // The view of the current mode (a QTreeView in Details, a QListView otherwise).
    QAbstractItemView* CurrentView() const;
    QItemSelectionModel* SelectionModel() const { return m_selection; }

    // Replaces the rows with `rows` (already sorted); an empty listing shows "No Files".
    // FillFinished follows once every row is in.
    void ShowRows(const QString& root, const QString& folder, std::vector<FileRow> rows);
    // The same for a remote folder, named in the bytes the server sent.
    void ShowRemoteRows(const QString& server, const std::string& folder, std::vector<FileRow> rows);
    // Replaces the rows with one notice row.
    void ShowMessage(const QString& text);
    void InsertMessageAtTop(const QString& text);
    void ClearList();

    // The folder shown: a remote path, or a local one ending in "/"; empty before any fill.
    QString CurrentFolder() const;
    // "My Computer" or the server name of the folder shown.
    QString Root() const { return m_model->Root(); }

    bool ToggleMark(int row) { return m_model->ToggleMark(row); }
    bool StateIconsShown() const { return m_model->StateIconsShown(); }
    void SetStateIconsShown(bool shown);

    void SetViewMode(ViewMode mode);
    ViewMode CurrentViewMode() const { return m_mode; }

    // Watches the local folder shown; a change refreshes it through the tree, once per watch.
    void StartFolderWatch();
    void StopFolderWatch();
    bool IsWatching() const;

    // The browsing connection last used by a command of the list.
    QorFtpConnection* connection = nullptr;
    // The browsing connection of a server; null when it is not connected. Set where the panes
    // are put together: the tree owns the connections.
    std::function<std::shared_ptr<QorFtpConnection>(const QString& server)> connectionLookup;

    // The rows a command acts on, in list order; notice rows are never selectable.
    std::vector<int> SelectedRows() const;
    int FirstSelectedRow() const;
    bool IsLocal() const;
    // The browsing connection of the shown server; null for a local folder or when not connected.
    std::shared_ptr<QorFtpConnection> BrowsingConnection() const;

    // The enabling rules of the commands that have one.
    bool CanNewFolder() const;
    bool CanCopy() const;
    bool CanAppend() const;
    bool CanPaste() const;
    bool CanMarkUnmark() const;
    bool CanUseConnection() const { return BrowsingConnection() != nullptr; }
    bool IsEditingLabel() const { return m_labelEditing; }

    // The context menu that fits the selection, built afresh each time; the caller shows it.
    std::unique_ptr<QMenu> MakeContextMenu();

    // Drag and drop, called by the views. A drag carries the selection as Copy puts it on the
    // clipboard; a drop goes into the folder the list shows.
    void StartRowDrag(QAbstractItemView* view);
    void DragEnter(QDragEnterEvent* event);
    void DragMove(QDragMoveEvent* event, QAbstractItemView* view);
    void DragLeave();
    void Drop(QDropEvent* event);
    // The folder remote rows are being dragged from, without its final "/"; empty when no such
    // drag runs.
    const QString& DragSourceFolder() const { return m_dragSourceFolder; }
    int DropHighlightRow() const { return m_highlightedRow; }
    // How long a drag rests on a folder row before the folder opens.
    static constexpr int kHoverOpenMs = 2000;

    // Prints the names of the folder shown; false, after saying so, when there is nothing to print.
    bool PrintListing(QPrinter& printer);

public slots:
    // The list's commands, as the menus, the keys and the context menus trigger them.
    void OnOpen();
    void OnDownload();
    void OnDelete();
    void OnNewFolder();
    void OnRename();
    void OnCopy();
    void OnAppend();
    void OnPaste();
    void OnSelectAll();
    void OnView();
    void OnFilePermissions();
    void OnMarkUnmark();
    void OnProperties();
    void OnDownloadFile();
    void OnUploadFile();
    void OnOpenLocalItem();
    void OnAboutWanted();
    void OnPrint();
    void OnPrintPreview();
    void OnPageSetup();
    // The context menu at `globalPos`.
    void ShowContextMenu(const QPoint& globalPos);
    void OnStateIcons() { SetStateIconsShown(!StateIconsShown()); }
    // Both are the tree's commands; the list hands them on.
    void OnRefresh() { emit RefreshWanted(); }
    void OnUpOneLevel() { emit UpOneLevelWanted(); }

signals:
    // Every row of the latest fill is in, or a notice row replaced the rows.
    void FillFinished();
    void ViewModeChanged(CFileView::ViewMode mode);
    void StateIconsChanged(bool shown);
    // The watched folder changed; the refresh through the tree follows.
    void FolderChanged();
    // For the tree (connected where the panes are put together): the list cannot list a folder
    // itself.
    void RefreshWanted();
    void UpOneLevelWanted();
    // A folder row was opened: `name` in the bytes it was listed with. The tree adds the node
    // when it does not have it yet (a folder made since, a link to a folder).
    void ChildFolderWanted(const std::string& name);
    // A folder of the shown folder was made or removed by a command of the list.
    void ChildFolderAdded(const std::string& name);
    void ChildFolderRemoved(const std::string& name);
    // The selection, the rows or the clipboard changed: the commands' enabling may have too.
    void CommandStateChanged();
    // The About command of the local item's menu.
    void AboutWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill(const QString& root, const QString& folder, const std::string& folderBytes, std::vector<FileRow> rows);
    void InsertSlice();
    void StopFilling();
    void ActivateRow(const QModelIndex& index);
    void OpenRow(int row, bool byEnter);
    void AttachModel(QAbstractItemView* view);
    void RunDownloadPrompt(std::vector<DownloadEntry> files);
    void DeleteLocal(const std::vector<int>& rows);
    void DeleteRemote(const std::vector<int>& rows);
    void StartLabelEdit(int row);
    void LabelEditEnded(const QString* text);
    void RemoveRow(int row);
    std::vector<std::string> SelectedRemotePaths() const;
    // Whether the remote folder has anything in it (read over the browsing connection).
    bool FolderHoldsAnything(const std::shared_ptr<QorFtpConnection>& browsing, const std::string& path);
    // Lists the shown folder again once the operation has ended, if it is still shown.
    void RefreshWhenDone(std::uint32_t operationId);
    // The selection as Copy and a drag carry it; null when there is nothing to carry.
    std::unique_ptr<QMimeData> SelectionData() const;
    void SetDropHighlight(int row);
    QString LocalPathOf(int row) const;

    CFileListModel* m_model;
    QItemSelectionModel* m_selection;
    QStackedLayout* m_stack;
    QTreeView* m_details;
    QListView* m_icons;
    ViewMode m_mode = ViewMode::List;
    FolderWatch* m_watch;

    bool m_labelEditing = false;
    bool m_newFolderPending = false;
    int m_editedRow = -1;
    QString m_committedName;
    bool m_nameCommitted = false;
    bool m_dontPromptEachFile = false;
    std::string m_promptFolder; // where "Don't prompt for each file" puts the rest

    QString m_dragSourceFolder;
    bool m_acceptDrop = false;
    int m_highlightedRow = -1;
    QTimer m_hoverTimer;

    std::vector<FileRow> m_pending;
    std::size_t m_nextPending = 0;
    QTimer m_fillTimer;
};
