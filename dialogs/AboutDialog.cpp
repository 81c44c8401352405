#include "dialogs/AboutDialog.h"

#include "dialogs/Artwork.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStorageInfo>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(tr("About Tarvo"));

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);
    auto* name = new QLabel(tr("<b>Tarvo</b> Version %1").arg(QApplication::applicationVersion()), this);
    auto* what = new QLabel(tr("An FTP client built like a file explorer."), this);

    const std::optional<quint64> memory = AvailableMemoryKb();
    auto* memoryText = new QLabel(memory ? tr("%1 KB").arg(*memory) : tr("Unavailable"), this);
    memoryText->setObjectName(QStringLiteral("memory"));
    auto* diskText = new QLabel(FreeDiskText(QDir::currentPath()), this);
    diskText->setObjectName(QStringLiteral("disk"));
    auto* facts = new QFormLayout;
    facts->addRow(tr("Physical Memory Available:"), memoryText);
    facts->addRow(tr("Free Disk Space:"), diskText);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(what);
    texts->addSpacing(10);
    texts->addLayout(facts);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(10);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::optional<quint64> CAboutDlg::AvailableMemoryKb(const QString& meminfo)
{
    QFile file(meminfo);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A /proc file reports size 0, so it is read to its end rather than up to a size.
    // "MemAvailable:    1234567 kB"
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.startsWith("MemAvailable:"))
            continue;
        bool ok = false;
        const quint64 value = line.mid(13).trimmed().split(' ').value(0).toULongLong(&ok);
        return ok ? std::optional<quint64>(value) : std::nullopt;
    }
    return std::nullopt;
}

QString CAboutDlg::FreeDiskText(const QString& folder)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid() || !storage.isReady() || storage.bytesAvailable() < 0)
        return tr("Unavailable");
    return tr("%1 KB Free on %2").arg(storage.bytesAvailable() / 1024).arg(storage.rootPath());
}
