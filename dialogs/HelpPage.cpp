#include "dialogs/HelpPage.h"

#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace {
const QString kPageName = QStringLiteral("Tarvo.html");
}

QString HelpPagePath()
{
    QStringList folders{ProgramSettings().programFolder, QCoreApplication::applicationDirPath()};
    // An installed program keeps it with its other data (share/tarvo).
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + QStringLiteral("/tarvo");
    folders << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tarvo");
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString page = QDir(folder).filePath(kPageName);
        if (QFileInfo::exists(page))
            return QFileInfo(page).absoluteFilePath();
    }
    return {};
}

QUrl HelpTopicUrl(const QString& topic)
{
    const QString page = HelpPagePath();
    if (page.isEmpty())
        return {};
    QUrl url = QUrl::fromLocalFile(page);
    if (!topic.isEmpty())
        url.setFragment(topic);
    return url;
}

void OpenHelpTopic(QWidget* owner, const QString& topic)
{
    const QUrl url = HelpTopicUrl(topic);
    if (url.isEmpty()) {
        QMessageBox::information(
            owner, QCoreApplication::translate("HelpPage", "Help"),
            QCoreApplication::translate("HelpPage", "The help page %1 is not installed.").arg(kPageName));
        return;
    }
    QDesktopServices::openUrl(url);
}
