#include "app/LogPane.h"

#include "operations/TraceLog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

class LineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->palette.setColor(QPalette::Text,
                                 LogPane::LineColour(option->palette, index.data(TraceLogModel::SentRole).toBool(),
                                                     index.data(TraceLogModel::ErrorRole).toBool()));
    }
};

// The frame's Copy and Select All act on files; inside the log the keys copy and select lines.
class LogView : public QTreeView {
    // Its texts under its own name, without a meta-object of its own.
    Q_DECLARE_TR_FUNCTIONS(LogView)

public:
    using QTreeView::QTreeView;
    QAction* copy = nullptr;
    QAction* clear = nullptr;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll)) {
                event->accept();
                return true;
            }
        }
        return QTreeView::event(event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Copy)) {
            copy->trigger();
            return;
        }
        // Shift+F10 opens the context menu here as in the other panes, at the current line.
        if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
            const QRect line = visualRect(currentIndex());
            const QPoint at = line.isValid() ? line.center() : QPoint(4, 4);
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, viewport()->mapToGlobal(at));
            contextMenuEvent(&menu);
            return;
        }
        QTreeView::keyPressEvent(event);
    }
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("LogMenu"));
        menu.addAction(copy);
        QAction* all = menu.addAction(tr("Select &All"), this, &QTreeView::selectAll);
        all->setShortcut(QKeySequence::SelectAll);
        menu.addSeparator();
        menu.addAction(clear);
        menu.exec(event->globalPos());
    }
};

} // namespace

LogPane::LogPane(QWidget* parent)
    : QDockWidget(tr("Log"), parent)
{
    setObjectName(QStringLiteral("LogPane"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    m_model = new TraceLogModel(this);

    auto* view = new LogView;
    m_view = view;
    view->setObjectName(QStringLiteral("LogView"));
    view->setAccessibleName(tr("Protocol log"));
    view->setAccessibleDescription(tr("Every command sent to a server and every reply line received"));
    view->setModel(m_model);
    view->setItemDelegate(new LineDelegate(view));
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->header()->setStretchLastSection(true);
    view->header()->setSectionResizeMode(TraceLogModel::DirectionColumn, QHeaderView::ResizeToContents);
    view->header()->resizeSection(TraceLogModel::TimeColumn,
                                  view->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00__")) + 8);
    view->header()->resizeSection(TraceLogModel::ServerColumn, view->fontMetrics().horizontalAdvance(u'x') * 18);

    auto* copy = new QAction(tr("&Copy"), this);
    copy->setObjectName(QStringLiteral("LogCopy"));
    copy->setShortcuts({QKeySequence::Copy});
    connect(copy, &QAction::triggered, this, &LogPane::CopySelection);
    auto* clear = new QAction(tr("C&lear"), this);
    clear->setObjectName(QStringLiteral("LogClear"));
    connect(clear, &QAction::triggered, this, &LogPane::Clear);
    view->copy = copy;
    view->clear = clear;

    auto* copyButton = new QPushButton(tr("&Copy"));
    copyButton->setObjectName(QStringLiteral("LogCopyButton"));
    copyButton->setToolTip(tr("Copy the selected lines"));
    connect(copyButton, &QPushButton::clicked, copy, &QAction::trigger);
    auto* clearButton = new QPushButton(tr("C&lear"));
    clearButton->setObjectName(QStringLiteral("LogClearButton"));
    clearButton->setToolTip(tr("Remove every line from the log"));
    connect(clearButton, &QPushButton::clicked, clear, &QAction::trigger);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton);
    buttons->addWidget(clearButton);
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(view);
    layout->addLayout(buttons);
    setWidget(body);

    // New lines keep the last one in sight unless the user scrolled up to read.
    auto atBottom = std::make_shared<bool>(true);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this, atBottom] {
        const QScrollBar* bar = m_view->verticalScrollBar();
        *atBottom = bar->value() == bar->maximum();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this, atBottom] {
        if (*atBottom)
            m_view->scrollToBottom();
    });

    connect(&TraceFeed::Instance(), &TraceFeed::Arrived, m_model, &TraceLogModel::Append, Qt::QueuedConnection);
    connect(toggleViewAction(), &QAction::toggled, this, [](bool shown) { TraceFeed::Instance().SetListening(shown); });
    toggleViewAction()->setText(tr("&Log"));
    toggleViewAction()->setStatusTip(tr("Show or hide the conversation with the servers"));
}

LogPane::~LogPane()
{
    TraceFeed::Instance().SetListening(false);
}

QString LogPane::SelectedText() const
{
    QModelIndexList rows = m_view->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QString text;
    for (const QModelIndex& row : rows)
        text += FormatTraceEntry(m_model->Entry(row.row())) + u'\n';
    return text;
}

void LogPane::CopySelection() const
{
    const QString text = SelectedText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void LogPane::Clear()
{
    m_model->Clear();
}

QColor LogPane::LineColour(const QPalette& palette, bool sent, bool error)
{
    const bool dark = palette.color(QPalette::Base).lightness() < 128;
    if (error)
        return dark ? QColor(0xff, 0x8a, 0x80) : QColor(0xb0, 0x00, 0x20);
    if (sent)
        return dark ? QColor(0x8a, 0xb4, 0xf8) : QColor(0x1a, 0x4f, 0xa0);
    return palette.color(QPalette::Text);
}
