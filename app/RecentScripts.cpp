#include "app/RecentScripts.h"

#include "dialogs/CommandIds.h"
#include "settings/Settings.h"

#include <QFileInfo>

namespace {
const QString kGroup = QStringLiteral("Recent File List");
QString Key(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}
} // namespace

void RecentScripts::Load()
{
    m_paths.clear();
    const auto store = OpenSettingsStore();
    store->beginGroup(kGroup);
    for (int index = 0; index < kRecentScriptCount; ++index) {
        const QString path = store->value(Key(index)).toString();
        if (!path.isEmpty())
            m_paths << path;
    }
}

void RecentScripts::Add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_paths.removeAll(absolute);
    m_paths.prepend(absolute);
    while (m_paths.size() > kRecentScriptCount)
        m_paths.removeLast();
    Save();
}

void RecentScripts::Remove(int index)
{
    if (index < 0 || index >= m_paths.size())
        return;
    m_paths.removeAt(index);
    Save();
}

void RecentScripts::Save() const
{
    const auto store = OpenSettingsStore();
    store->remove(kGroup);
    store->beginGroup(kGroup);
    for (int index = 0; index < m_paths.size(); ++index)
        store->setValue(Key(index), m_paths[index]);
}
