// The right-hand pane: the entries of the folder selected in the folder tree, in one of four
// view modes over one model. The folder tree fills it through signals connected in app/; long
// listings are inserted in slices from the event loop, so the window keeps answering.
#pragma once

#include "filelist/FileListModel.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <vector>

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

public slots:
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
    // A folder row was opened: `name` in the bytes it was listed with.
    void ChildFolderWanted(const std::string& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill(const QString& root, const QString& folder, const std::string& folderBytes, std::vector<FileRow> rows);
    void InsertSlice();
    void StopFilling();
    void ActivateRow(const QModelIndex& index);
    void AttachModel(QAbstractItemView* view);

    CFileListModel* m_model;
    QItemSelectionModel* m_selection;
    QStackedLayout* m_stack;
    QTreeView* m_details;
    QListView* m_icons;
    ViewMode m_mode = ViewMode::List;
    FolderWatch* m_watch;

    std::vector<FileRow> m_pending;
    std::size_t m_nextPending = 0;
    QTimer m_fillTimer;
};
