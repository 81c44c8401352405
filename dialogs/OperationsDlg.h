// "Bkg Operations:": the running background operations, one row each with the operation's
// short text; the long text is the row's tooltip, and a row's context menu cancels it.
#pragma once

#include <QDialog>

#include <cstdint>

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateCaption();
    void ShowContextMenu(const QPoint& at);
    QListWidgetItem* ItemOf(std::uint32_t operationId) const;

    QListWidget* m_list;
};
