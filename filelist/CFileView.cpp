#include "filelist/CFileView.h"

#include "filelist/FileDropViews.h"
#include "filelist/FolderWatch.h"
#include "listing/TreePaths.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QStackedLayout>
#include <QTreeView>

namespace {

// Rows go in by slices of this many until the slice's time is used up; the window then gets
// its turn, so even 100,000 rows never hold it for long.
constexpr std::size_t kRowsPerStep = 2000;
constexpr qint64 kSliceMs = 15;

} // namespace

CFileView::CFileView(QWidget* parent)
    : QWidget(parent)
    , m_model(new CFileListModel(this))
    , m_selection(new QItemSelectionModel(m_model, this))
    , m_stack(new QStackedLayout(this))
    , m_details(new FileDropView<QTreeView>(this, this))
    , m_icons(new FileDropView<QListView>(this, this))
    , m_watch(new FolderWatch(this))
{
    setObjectName(QStringLiteral("FileView"));
    m_stack->setContentsMargins(0, 0, 0, 0);

    m_details->setObjectName(QStringLiteral("FileViewDetails"));
    m_details->setRootIsDecorated(false);
    m_details->setItemsExpandable(false);
    m_details->setUniformRowHeights(true);
    m_details->setAllColumnsShowFocus(true);
    m_details->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_details->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_icons->setObjectName(QStringLiteral("FileViewIcons"));
    // The views are what gets the focus, so they carry the name a screen reader says.
    setAccessibleName(tr("Files"));
    m_details->setAccessibleName(accessibleName());
    m_icons->setAccessibleName(accessibleName());
    m_icons->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_icons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setMovement(QListView::Static);

    m_stack->addWidget(m_icons);
    m_stack->addWidget(m_details);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(m_details), static_cast<QAbstractItemView*>(m_icons)}) {
        view->installEventFilter(this);
        connect(view, &QAbstractItemView::doubleClicked, this, &CFileView::ActivateRow);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
            // A click on empty space acts on no row.
            if (!view->indexAt(pos).isValid())
                m_selection->clearSelection();
            ShowContextMenu(view->viewport()->mapToGlobal(pos));
        });
    }
    connect(m_selection, &QItemSelectionModel::selectionChanged, this, &CFileView::CommandStateChanged);
    connect(this, &CFileView::FillFinished, this, &CFileView::CommandStateChanged);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CFileView::CommandStateChanged);

    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(kHoverOpenMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, [this] {
        const int row = m_highlightedRow;
        SetDropHighlight(-1);
        OpenRow(row, false);
    });
    m_fillTimer.setSingleShot(true);
    m_fillTimer.setInterval(0);
    connect(&m_fillTimer, &QTimer::timeout, this, &CFileView::InsertSlice);
    connect(m_watch, &FolderWatch::Changed, this, [this] {
        emit FolderChanged();
        OnRefresh();
    });

    SetViewMode(ViewMode::List);
    ShowMessage(tr("No Connection"));
}

CFileView::~CFileView()
{
    StopFolderWatch();
}

QAbstractItemView* CFileView::CurrentView() const
{
    if (m_mode == ViewMode::Details)
        return m_details;
    return m_icons;
}

void CFileView::AttachModel(QAbstractItemView* view)
{
    if (view->model() == m_model)
        return;
    view->setModel(m_model);
    QItemSelectionModel* made = view->selectionModel();
    view->setSelectionModel(m_selection);
    if (made && made != m_selection)
        made->deleteLater();
}

void CFileView::SetViewMode(ViewMode mode)
{
    const bool changed = mode != m_mode;
    m_mode = mode;
    QAbstractItemView* active = CurrentView();
    QAbstractItemView* other = active == m_details ? static_cast<QAbstractItemView*>(m_icons) : m_details;
    // Only the view on the screen has the model, so a long fill is laid out once, not twice.
    if (other->model() == m_model) {
        QItemSelectionModel* kept = other->selectionModel();
        other->setModel(nullptr);
        if (kept != m_selection)
            kept->deleteLater();
    }
    AttachModel(active);

    const int line = fontMetrics().height();
    switch (mode) {
    case ViewMode::LargeIcons:
        m_icons->setViewMode(QListView::IconMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setWrapping(true);
        m_icons->setIconSize(QSize(32, 32));
        m_icons->setGridSize(QSize(line * 6, 32 + line * 3));
        m_icons->setWordWrap(true);
        m_icons->setUniformItemSizes(false);
        m_icons->setLayoutMode(QListView::Batched);
        m_icons->setBatchSize(2000);
        break;
    case ViewMode::SmallIcons:
    case ViewMode::List:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(mode == ViewMode::List ? QListView::TopToBottom : QListView::LeftToRight);
        m_icons->setWrapping(true);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(QSize());
        m_icons->setWordWrap(false);
        // Uniform sizes would give every name the width of the first one.
        m_icons->setUniformItemSizes(false);
        m_icons->setLayoutMode(QListView::SinglePass);
        m_icons->setSpacing(mode == ViewMode::SmallIcons ? 4 : 1);
        break;
    case ViewMode::Details: {
        QHeaderView* header = m_details->header();
        header->setStretchLastSection(false);
        const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
        header->resizeSection(CFileListModel::NameColumn, digit * 30);
        header->resizeSection(CFileListModel::SizeColumn, digit * 10);
        header->resizeSection(CFileListModel::TypeColumn, digit * 16);
        header->resizeSection(CFileListModel::ModifiedColumn, digit * 18);
        break;
    }
    }
    // QListView turns dragging and dropping off whenever its view mode or movement is set.
    m_icons->setDragEnabled(true);
    m_icons->viewport()->setAcceptDrops(true);
    m_stack->setCurrentWidget(active);
    if (changed)
        emit ViewModeChanged(mode);
}

void CFileView::SetStateIconsShown(bool shown)
{
    if (shown == StateIconsShown())
        return;
    m_model->SetStateIconsShown(shown);
    emit StateIconsChanged(shown);
}

void CFileView::StopFilling()
{
    m_fillTimer.stop();
    m_pending.clear();
    m_pending.shrink_to_fit();
    m_nextPending = 0;
}

void CFileView::ClearList()
{
    StopFilling();
    m_model->Clear();
}

void CFileView::ShowMessage(const QString& text)
{
    ClearList();
    m_model->AddMessage(text);
    emit FillFinished();
}

void CFileView::InsertMessageAtTop(const QString& text)
{
    m_model->AddMessage(text, true);
}

void CFileView::ShowRows(const QString& root, const QString& folder, std::vector<FileRow> rows)
{
    Fill(root, folder, folder.toStdString(), std::move(rows));
}

void CFileView::ShowRemoteRows(const QString& server, const std::string& folder, std::vector<FileRow> rows)
{
    Fill(server, RemoteNameText(folder), folder, std::move(rows));
}

void CFileView::Fill(const QString& root, const QString& folder, const std::string& folderBytes,
                     std::vector<FileRow> rows)
{
    ClearList();
    m_model->SetFolder(root, folder, folderBytes);
    if (rows.empty()) {
        m_model->AddMessage(tr("No Files"));
        emit FillFinished();
        return;
    }
    m_model->Reserve(rows.size());
    m_pending = std::move(rows);
    InsertSlice();
}

void CFileView::InsertSlice()
{
    QElapsedTimer slice;
    slice.start();
    while (m_nextPending < m_pending.size()) {
        const std::size_t last = std::min(m_pending.size(), m_nextPending + kRowsPerStep);
        m_model->AppendRows(m_pending, m_nextPending, last);
        m_nextPending = last;
        if (slice.elapsed() >= kSliceMs)
            break;
    }
    if (m_nextPending < m_pending.size()) {
        m_fillTimer.start();
        return;
    }
    StopFilling();
    emit FillFinished();
}

QString CFileView::CurrentFolder() const
{
    const QString folder = m_model->Folder();
    if (Root() == QLatin1String(kMyComputer) && !folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        return folder + QLatin1Char('/');
    return folder;
}

void CFileView::StartFolderWatch()
{
    if (Root() != QLatin1String(kMyComputer) || m_model->Folder().isEmpty()) {
        m_watch->Stop();
        return;
    }
    m_watch->Start(m_model->Folder());
}

void CFileView::StopFolderWatch()
{
    m_watch->Stop();
}

bool CFileView::IsWatching() const
{
    return m_watch->IsWatching();
}

bool CFileView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || m_labelEditing)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Backspace:
        OnUpOneLevel();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (key->modifiers() & ~Qt::KeypadModifier)
            break;
        OpenRow(FirstSelectedRow(), true);
        return true;
    case Qt::Key_F10:
        if (key->modifiers() != Qt::ShiftModifier)
            break;
        [[fallthrough]];
    case Qt::Key_Menu:
        // From the keyboard the menu opens near the list's top-left corner.
        ShowContextMenu(CurrentView()->mapToGlobal(QPoint(5, 5)));
        return true;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
