// "File Permissions": the Unix permission letters of one remote file as nine check boxes; OK
// turns the boxes into the three-digit mode that a change-mode operation sends.
#pragma once

#include <QDialog>

#include <array>

class QCheckBox;

class CPermissionsDlg : public QDialog {
    Q_OBJECT
public:
    // `letters`: the listed permissions, "rwxr-xr-x".
    explicit CPermissionsDlg(const QString& letters, QWidget* parent = nullptr);

    // The letters until OK, then the mode ("755").
    QString m_strPermissions;

    void accept() override;

private:
    // Owner read, write, execute, then group, then others.
    std::array<QCheckBox*, 9> m_boxes{};
};
