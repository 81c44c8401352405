#include "dialogs/OperationsDlg.h"

#include "dialogs/CommandIds.h"
#include "operations/OperationLists.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr int kOperationIdRole = Qt::UserRole;
constexpr int kRefreshMs = 500;
// The bar's steps: fine enough for a smooth bar, small enough for an int however big the job.
constexpr int kBarSteps = 1000;
// The window's size once it shows a job.
constexpr int kJobWidth = 380;
constexpr int kJobHeight = 200;

// The children of a job row's display.
const QString kBarName = QStringLiteral("JobProgressBar");
const QString kCountsName = QStringLiteral("JobCounts");
const QString kFileName = QStringLiteral("JobFile");

int Steps(std::uint64_t done, std::uint64_t total)
{
    if (total == 0)
        return 0;
    return static_cast<int>(std::min<std::uint64_t>(done, total) * kBarSteps / total);
}

} // namespace

COperationsDlg::COperationsDlg(QWidget* owner)
    : QDialog(owner, Qt::Tool)
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("COperationsDlg"));
    // The tooltips are read while the user looks at the frame, with this window inactive.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    m_list->setObjectName(QStringLiteral("1020"));
    m_list->setAccessibleName(tr("Background operations"));
    // The arrows move between the rows, and the Menu key (or Shift+F10) opens a row's menu.
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    // Job rows are taller than the others, and as wide as the list: their texts are cut to fit.
    m_list->setUniformItemSizes(false);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setMinimumWidth(163);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QWidget::customContextMenuRequested, this, &COperationsDlg::ShowContextMenu);
    // A job's display covers its row: it shows the selection itself.
    connect(m_list, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* current, QListWidgetItem* previous) {
                for (QListWidgetItem* item : {previous, current}) {
                    if (QWidget* row = item ? m_list->itemWidget(item) : nullptr)
                        PaintRow(row, item == current);
                }
            });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_list);
    resize(260, 180);
    setWindowTitle(tr("Bkg Operations:"));
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &COperationsDlg::RefreshProgress);
}

void COperationsDlg::PaintRow(QWidget* row, bool current) const
{
    // The row takes the list's background role (Base) and its labels a matching text colour.
    QPalette colours = m_list->palette();
    const QColor background = colours.color(current ? QPalette::Highlight : QPalette::Base);
    const QColor text = colours.color(current ? QPalette::HighlightedText : QPalette::Text);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base})
        colours.setColor(role, background);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        colours.setColor(role, text);
    row->setPalette(colours);
}

void COperationsDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The newest first, for the keyboard.
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    RefreshProgress();
    m_refresh.start();
}

void COperationsDlg::hideEvent(QHideEvent* event)
{
    // Nobody looks: no work.
    m_refresh.stop();
    QDialog::hideEvent(event);
}

bool COperationsDlg::AttachProgress(QListWidgetItem* item)
{
    const std::optional<OperationStatus> status
        = OperationStatusList.Find(item->data(kOperationIdRole).value<std::uint32_t>());
    if (!status || !status->progress)
        return false;
    auto* row = new QWidget(m_list);
    row->setObjectName(QStringLiteral("JobRow"));
    // Covers the item's own text, which stays for finding the row and for screen readers.
    row->setAutoFillBackground(true);
    auto* title = new QLabel(QString::fromStdString(status->title), row);
    title->setObjectName(QStringLiteral("JobTitle"));
    auto* bar = new QProgressBar(row);
    bar->setObjectName(kBarName);
    bar->setAccessibleName(tr("Progress of %1").arg(QString::fromStdString(status->title)));
    bar->setRange(0, kBarSteps);
    bar->setTextVisible(true);
    // Its own colours, whether the row is selected or not: each set, so none comes from the row.
    QPalette barColours = m_list->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colourRole = static_cast<QPalette::ColorRole>(role);
        barColours.setBrush(colourRole, barColours.brush(colourRole));
    }
    bar->setPalette(barColours);
    auto* counts = new QLabel(row);
    counts->setObjectName(kCountsName);
    auto* file = new QLabel(row);
    file->setObjectName(kFileName);
    file->setTextFormat(Qt::PlainText);
    // The list's width decides, not the texts'.
    for (QLabel* label : {title, counts, file})
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(1);
    layout->addWidget(title);
    layout->addWidget(bar);
    layout->addWidget(counts);
    layout->addWidget(file);
    // The tooltip events go to the list's viewport, as for the other rows.
    row->setAttribute(Qt::WA_TransparentForMouseEvents);
    PaintRow(row, m_list->currentItem() == item);
    m_list->setItemWidget(item, row);
    ShowProgress(item, *status->progress);
    item->setSizeHint(QSize(1, row->sizeHint().height()));
    // Room for the bar and its texts in a window still at its first, narrow size.
    if (width() < kJobWidth)
        resize(kJobWidth, std::max(height(), kJobHeight));
    return true;
}

void COperationsDlg::ShowProgress(QListWidgetItem* item, const JobProgress& progress)
{
    QWidget* row = m_list->itemWidget(item);
    if (!row)
        return;
    const std::uint64_t totalFiles = progress.totalFiles.load();
    const std::uint64_t doneFiles = progress.doneFiles.load();
    const std::uint64_t failedFiles = progress.failedFiles.load();
    const std::uint64_t totalBytes = progress.totalBytes.load();
    const std::uint64_t doneBytes = progress.doneBytes.load();
    const bool counting = progress.counting.load();

    auto* bar = row->findChild<QProgressBar*>(kBarName);
    if (counting && totalFiles == 0) {
        // Nothing found yet: the bar only says that the job is busy.
        bar->setRange(0, 0);
    } else {
        bar->setRange(0, kBarSteps);
        // By the bytes, so a big file weighs what it takes; by the files when all are empty.
        bar->setValue(totalBytes > 0 ? Steps(doneBytes, totalBytes) : Steps(doneFiles + failedFiles, totalFiles));
    }

    const QLocale locale;
    const int shownTotal = static_cast<int>(std::min<std::uint64_t>(totalFiles, INT_MAX));
    QString files = totalFiles == 1
        ? tr("%1 of 1 file").arg(locale.toString(qulonglong(doneFiles)))
        : tr("%1 of %n files", nullptr, shownTotal).arg(locale.toString(qulonglong(doneFiles)));
    QString text
        = tr("%1, %2 of %3")
              .arg(files, locale.formattedDataSize(qint64(doneBytes)), locale.formattedDataSize(qint64(totalBytes)));
    if (failedFiles > 0)
        text += QLatin1String(", ")
            + tr("%n failed", nullptr, static_cast<int>(std::min<std::uint64_t>(failedFiles, INT_MAX)));
    if (counting)
        text += QLatin1String(" ") + tr("(still counting)");
    row->findChild<QLabel*>(kCountsName)->setText(text);

    auto* file = row->findChild<QLabel*>(kFileName);
    const QString current = QString::fromStdString(progress.CurrentFile());
    // The end of a long path says most: the name and the folders nearest to it.
    const int room = std::max(60, m_list->viewport()->width() - 12);
    file->setText(file->fontMetrics().elidedText(current, Qt::ElideLeft, room));
}

void COperationsDlg::RefreshProgress()
{
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem* item = m_list->item(i);
        if (!m_list->itemWidget(item)) {
            // A job may get its progress after its row came.
            AttachProgress(item);
            continue;
        }
        const std::optional<OperationStatus> status
            = OperationStatusList.Find(item->data(kOperationIdRole).value<std::uint32_t>());
        if (status && status->progress)
            ShowProgress(item, *status->progress);
    }
}

void COperationsDlg::InsertOperation(std::uint32_t operationId, const QString& title)
{
    auto* item = new QListWidgetItem(title);
    item->setData(kOperationIdRole, QVariant::fromValue(operationId));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    m_list->insertItem(0, item);
    if (!m_list->currentItem())
        m_list->setCurrentItem(item);
    AttachProgress(item);
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
    // A folder job is cancelled whole, also between two of its files.
    if (!status || (!status->connection && !status->progress))
        return;
    QMenu menu(this);
    QAction* cancel = menu.addAction(tr("Cancel"));
    cancel->setObjectName(QString::number(Command::CancelOperation));
    // The operation reports its own end through WM_OPERATION_COUNT; the row goes then.
    if (menu.exec(m_list->viewport()->mapToGlobal(at)) == cancel)
        OperationStatusList.Cancel(operationId);
}
