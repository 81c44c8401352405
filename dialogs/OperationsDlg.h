// "Bkg Operations:": the running background operations, one row each with the operation's
// short text; the long text is the row's tooltip, and a row's context menu cancels it. A folder
// job's row also shows its progress (a bar over the whole job, the files and bytes done, the file
// in flight), read again every half second while the window is on the screen.
#pragma once

#include <QDialog>
#include <QTimer>

#include <cstdint>
#include <memory>

struct JobProgress;

class QListWidget;
class QListWidgetItem;

class COperationsDlg : public QDialog {
    Q_OBJECT
public:
    explicit COperationsDlg(QWidget* owner);

    // At the top of the list, as the newest.
    void InsertOperation(std::uint32_t operationId, const QString& title);
    // No effect for an id that is not listed.
    void RemoveOperation(std::uint32_t operationId);
    int ItemCount() const;
    QListWidget* List() const { return m_list; }
    // Reads every job row's progress again (the timer does it while the window is shown).
    void RefreshProgress();
    bool IsRefreshing() const { return m_refresh.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void UpdateCaption();
    // Gives `item` the progress display of its job; false for an operation without progress.
    bool AttachProgress(QListWidgetItem* item);
    void ShowProgress(QListWidgetItem* item, const JobProgress& progress);
    // A job's display in the colours of a selected row or of any other.
    void PaintRow(QWidget* row, bool current) const;
    void ShowContextMenu(const QPoint& at);
    QListWidgetItem* ItemOf(std::uint32_t operationId) const;

    QListWidget* m_list;
    QTimer m_refresh;
};
