#include "dialogs/OperationsDlg.h"

#include "dialogs/CommandIds.h"
#include "operations/OperationLists.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QListWidget>
#include <QMenu>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
constexpr int kOperationIdRole = Qt::UserRole;
}

COperationsDlg::COperationsDlg(QWidget* owner)
    : QDialog(owner, Qt::Tool)
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("COperationsDlg"));
    // The tooltips are read while the user looks at the frame, with this window inactive.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    m_list->setObjectName(QStringLiteral("1020"));
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setUniformItemSizes(true);
    m_list->setMinimumWidth(163);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QWidget::customContextMenuRequested, this, &COperationsDlg::ShowContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_list);
    resize(260, 180);
    setWindowTitle(tr("Bkg Operations:"));
}

void COperationsDlg::InsertOperation(std::uint32_t operationId, const QString& title)
{
    auto* item = new QListWidgetItem(title);
    item->setData(kOperationIdRole, QVariant::fromValue(operationId));
    item->setFlags(Qt::ItemIsEnabled);
    m_list->insertItem(0, item);
    UpdateCaption();
}

void COperationsDlg::RemoveOperation(std::uint32_t operationId)
{
    delete ItemOf(operationId);
    UpdateCaption();
}

int COperationsDlg::ItemCount() const
{
    return m_list->count();
}

QListWidgetItem* COperationsDlg::ItemOf(std::uint32_t operationId) const
{
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        if (item->data(kOperationIdRole).value<std::uint32_t>() == operationId)
            return item;
    }
    return nullptr;
}

void COperationsDlg::UpdateCaption()
{
    setWindowTitle(tr("Bkg Operations: %1").arg(m_list->count()));
}

bool COperationsDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The description is looked up when asked for, so it is the operation's current one.
    if (watched == m_list->viewport() && event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QListWidgetItem* item = m_list->itemAt(help->pos());
        std::optional<OperationStatus> status;
        if (item)
            status = OperationStatusList.Find(item->data(kOperationIdRole).value<std::uint32_t>());
        if (status && !status->description.empty())
            QToolTip::showText(help->globalPos(), QString::fromStdString(status->description), m_list->viewport(),
                               m_list->visualItemRect(item));
        else
            QToolTip::hideText();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void COperationsDlg::ShowContextMenu(const QPoint& at)
{
    QListWidgetItem* item = m_list->itemAt(at);
    if (!item)
        return;
    const auto operationId = item->data(kOperationIdRole).value<std::uint32_t>();
    // A directory listing has no connection of its own, so there is nothing to cancel.
    std::optional<OperationStatus> status = OperationStatusList.Find(operationId);
    if (!status || !status->connection)
        return;
    QMenu menu(this);
    QAction* cancel = menu.addAction(tr("Cancel"));
    cancel->setObjectName(QString::number(Command::CancelOperation));
    // The operation reports its own end through WM_OPERATION_COUNT; the row goes then.
    if (menu.exec(m_list->viewport()->mapToGlobal(at)) == cancel)
        OperationStatusList.Cancel(operationId);
}
