// Asked before a download or upload replaces an existing file: resume it, append to it,
// overwrite it, give the new file another name, or cancel the operation. In a folder job the
// choice can hold for the rest of the job.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class OverwriteDialog : public QDialog {
    Q_OBJECT
public:
    // What exec() returns; any other value asks again.
    enum Result : int { Overwrite = 1, Cancel = 2, Recover = 5, Append = 8 };

    explicit OverwriteDialog(QWidget* parent = nullptr);

    // The full path of the existing target; set before exec().
    QString message;
    // Result 1 with a new name means: rename the target to it and check again.
    QString newName;
    // A folder job asks: "Apply to all" is offered, and a new name then is not (it is for one file).
    bool offerApplyToAll = false;
    // After exec(): the choice holds for the rest of the job.
    bool ApplyToAll() const;

    int exec() override;
    void reject() override;

private:
    QLabel* m_message;
    QLineEdit* m_newName;
    QPushButton* m_rename;
    QCheckBox* m_applyToAll;
};
