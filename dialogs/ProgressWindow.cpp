#include "dialogs/ProgressWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
// The library's captions, as it sends them.
[[maybe_unused]] constexpr const char* kCaptions[]
    = {QT_TRANSLATE_NOOP("QorFtp", "Downloading:"), QT_TRANSLATE_NOOP("QorFtp", "Uploading:")};
} // namespace

void ProgressLink::RequestCancel()
{
    std::lock_guard<std::mutex> guard(lock);
    if (progress)
        progress->RequestCancel();
}

void ProgressLink::SetMinimized(bool minimized)
{
    std::lock_guard<std::mutex> guard(lock);
    if (progress)
        progress->SetMinimized(minimized);
}

TransferProgressWnd::TransferProgressWnd(std::shared_ptr<ProgressLink> link)
    : QWidget(nullptr,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_link(std::move(link))
    , m_fileText(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_byteText(new QLabel(this))
    , m_cancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("TransferProgressWnd"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_fileText->setObjectName(QStringLiteral("1031"));
    m_progress->setObjectName(QStringLiteral("1008"));
    m_byteText->setObjectName(QStringLiteral("1014"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_fileText->setTextFormat(Qt::PlainText);
    // A long path is cut in the middle rather than widening the window.
    m_fileText->setMinimumWidth(m_fileText->fontMetrics().averageCharWidth() * 50);
    m_fileText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_byteText->setMinimumWidth(m_byteText->fontMetrics().horizontalAdvance(QStringLiteral("0000.00 MB")));
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_link->RequestCancel(); });

    auto* bytes = new QHBoxLayout;
    bytes->addWidget(new QLabel(tr("Bytes:"), this));
    bytes->addWidget(m_byteText, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fileText);
    layout->addWidget(m_progress);
    layout->addLayout(bytes);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_cancel->setDefault(true);

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TransferProgressWnd::SetCaption(const QString& caption)
{
    // The library's caption is its "Downloading:" or "Uploading:", then the percentage while the
    // window is minimized; the word is shown in the user's language.
    const qsizetype colon = caption.indexOf(QLatin1Char(':'));
    const QString word = colon < 0 ? caption : caption.left(colon + 1);
    const QByteArray source = word.toUtf8();
    setWindowTitle(QCoreApplication::translate("QorFtp", source.constData()) + caption.mid(word.size()));
}

void TransferProgressWnd::SetFileText(const QString& text)
{
    m_fileText->setToolTip(text);
    m_fileText->setText(m_fileText->fontMetrics().elidedText(text, Qt::ElideMiddle, m_fileText->minimumWidth()));
}

void TransferProgressWnd::SetPercent(int percent)
{
    m_progress->setValue(percent);
}

void TransferProgressWnd::SetByteText(const QString& text)
{
    m_byteText->setText(text);
}

void TransferProgressWnd::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        m_link->RequestCancel();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter must not cancel a transfer by accident.
        if (!m_cancel->hasFocus())
            return;
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void TransferProgressWnd::closeEvent(QCloseEvent* event)
{
    // The transfer asks before it stops, and closes the window itself at its end.
    m_link->RequestCancel();
    event->ignore();
}

void TransferProgressWnd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange)
        m_link->SetMinimized(isMinimized());
    QWidget::changeEvent(event);
}

QtProgressView::QtProgressView(QorFtpProgress& progress)
    : m_link(std::make_shared<ProgressLink>())
{
    m_link->progress = &progress;
    auto create = [link = m_link] {
        auto* window = new TransferProgressWnd(link);
        link->window = window;
        window->show();
        window->raise();
        window->activateWindow();
    };
    // Every transfer runs off the user-interface thread (the same-connection retry too), which
    // goes on meanwhile; a transfer on that thread would see its window only at its end.
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, create, Qt::QueuedConnection);
}

QtProgressView::~QtProgressView()
{
    {
        std::lock_guard<std::mutex> guard(m_link->lock);
        m_link->progress = nullptr;
    }
    auto destroy = [link = m_link] { delete link->window.data(); };
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, destroy, Qt::QueuedConnection);
}

void QtProgressView::Post(std::function<void(TransferProgressWnd&)> change)
{
    auto apply = [link = m_link, change = std::move(change)] {
        if (link->window)
            change(*link->window);
    };
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, apply, Qt::QueuedConnection);
}

void QtProgressView::SetCaption(const std::string& caption)
{
    Post([text = QString::fromStdString(caption)](TransferProgressWnd& window) { window.SetCaption(text); });
}

void QtProgressView::SetFileText(const std::string& text)
{
    Post([text = QString::fromStdString(text)](TransferProgressWnd& window) { window.SetFileText(text); });
}

void QtProgressView::SetPercent(int percent)
{
    Post([percent](TransferProgressWnd& window) { window.SetPercent(percent); });
}

void QtProgressView::SetByteText(const std::string& text)
{
    Post([text = QString::fromStdString(text)](TransferProgressWnd& window) { window.SetByteText(text); });
}
