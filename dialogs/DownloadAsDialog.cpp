#include "dialogs/DownloadAsDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kRemoteNameRole = Qt::UserRole;

} // namespace

CDownloadAsDlg::CDownloadAsDlg(const DownloadAsQuestion& question, QWidget* parent)
    : QFileDialog(parent)
    , m_dontPrompt(new QCheckBox(tr("Don't prompt for each file"), this))
    , m_more(new QPushButton(tr("&More >>"), this))
    , m_remaining(new QListWidget(this))
{
    setObjectName(QStringLiteral("CDownloadAsDlg"));
    setWindowTitle(tr("Download As"));
    // The extra controls need Qt's own dialog; the download itself asks before replacing a file,
    // with more choices than a plain overwrite.
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    QString localName = QString::fromStdString(question.localName);
    // A name ending with '/' is a folder: the dialog then picks the folder it goes into.
    if (localName.size() > 1 && localName.endsWith(QLatin1Char('/'))) {
        localName.chop(1);
        m_folderName = localName;
        setWindowTitle(tr("Download the Folder '%1' Into").arg(localName));
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::Directory);
        setOption(QFileDialog::ShowDirsOnly);
        setLabelText(QFileDialog::Accept, tr("&Download"));
        if (!question.startFolder.empty())
            setDirectory(QString::fromStdString(question.startFolder));
    } else {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
    }

    const int dot = localName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? localName.mid(dot + 1) : QString();
    // "*" rather than "*.*", so that names without a dot show as well.
    QStringList filters{tr("All Files (*)")};
    if (!extension.isEmpty())
        filters.prepend(tr("%1 files (*.%1)").arg(extension));
    // Without a folder of its own the dialog opens where the last file dialog of the program was
    // left, which Qt remembers for the process.
    if (m_folderName.isEmpty()) {
        setNameFilters(filters);
        setDefaultSuffix(extension);
        if (!question.startFolder.empty())
            setDirectory(QString::fromStdString(question.startFolder));
        selectFile(localName);
    }

    m_dontPrompt->setObjectName(QStringLiteral("DontPrompt"));
    m_more->setObjectName(QStringLiteral("More"));
    m_more->setCheckable(true);
    m_remaining->setObjectName(QStringLiteral("Remaining"));
    m_remaining->setAccessibleName(tr("Remaining files"));
    m_remaining->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_remaining->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                 | QAbstractItemView::SelectedClicked);
    for (const DownloadEntry& entry : question.remaining) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.localName), m_remaining);
        item->setData(kRemoteNameRole, QString::fromStdString(entry.remoteName));
        item->setToolTip(QString::fromStdString(entry.remoteName));
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    m_remaining->setVisible(false);
    m_more->setEnabled(!question.remaining.empty());
    m_remaining->installEventFilter(this);
    connect(m_more, &QPushButton::toggled, this, &CDownloadAsDlg::ToggleMore);

    auto* note = new QLabel(tr("You can rename each file or Highlited and press delete to remove it."), this);
    note->setObjectName(QStringLiteral("Note"));
    note->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addWidget(m_dontPrompt);
    row->addStretch();
    row->addWidget(m_more);
    auto* extra = new QVBoxLayout;
    extra->addLayout(row);
    extra->addWidget(m_remaining);
    extra->addWidget(note);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addLayout(extra, grid->rowCount(), 0, 1, grid->columnCount());
    else
        layout()->addItem(extra);
}

void CDownloadAsDlg::ToggleMore()
{
    m_remaining->setVisible(m_more->isChecked());
}

bool CDownloadAsDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_remaining || (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress))
        return QFileDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Delete)) {
        // Taken before the file view's own Delete, which would delete files on the disk.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        else
            qDeleteAll(m_remaining->selectedItems());
        return true;
    }
    return QFileDialog::eventFilter(watched, event);
}

DownloadAsAnswer CDownloadAsDlg::Answer() const
{
    DownloadAsAnswer answer;
    answer.accepted = result() == QDialog::Accepted;
    if (answer.accepted && !selectedFiles().isEmpty()) {
        QString path = selectedFiles().constFirst();
        // The folder itself goes into the chosen one.
        if (!m_folderName.isEmpty())
            path = QDir(path).filePath(m_folderName);
        answer.path = path.toStdString();
    }
    answer.dontPrompt = m_dontPrompt->isChecked();
    for (int i = 0; i < m_remaining->count(); ++i) {
        const QListWidgetItem* item = m_remaining->item(i);
        answer.remaining.push_back({item->data(kRemoteNameRole).toString().toStdString(), item->text().toStdString()});
    }
    return answer;
}
