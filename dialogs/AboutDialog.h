// "About Tarvo": name, version, the memory available and the free space of the disk the
// program works in.
#pragma once

#include <QDialog>

#include <optional>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // MemAvailable of /proc/meminfo, in KB.
    static std::optional<quint64> AvailableMemoryKb(const QString& meminfo = QStringLiteral("/proc/meminfo"));
    // "%1 KB Free on %2" for the disk holding `folder`, or "Unavailable".
    static QString FreeDiskText(const QString& folder);
};
