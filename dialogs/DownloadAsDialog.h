// "Download As": the save dialog of the download prompt, one file at a time (for a whole folder,
// named with a '/' at its end, the folder it goes into). Below the standard
// controls the user can stop being asked for the rest ("Don't prompt for each file") and, behind
// "More >>", rename or drop the files still to come.
#pragma once

#include "operations/Interaction.h"

#include <QFileDialog>

class QCheckBox;
class QListWidget;
class QPushButton;

class CDownloadAsDlg : public QFileDialog {
    Q_OBJECT
public:
    explicit CDownloadAsDlg(const DownloadAsQuestion& question, QWidget* parent = nullptr);

    // After exec(); also after Cancel, whose answer keeps the box and the list as left.
    DownloadAsAnswer Answer() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ToggleMore();

    QCheckBox* m_dontPrompt;
    QPushButton* m_more;
    QListWidget* m_remaining;
    QString m_folderName; // set when a whole folder is downloaded
};
