// The four scripts opened last, newest first, kept in the settings file.
#pragma once

#include <QStringList>

class RecentScripts {
public:
    void Load();
    // Moves the script to the front; the oldest falls off.
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Paths() const { return m_paths; }

private:
    void Save() const;

    QStringList m_paths;
};
