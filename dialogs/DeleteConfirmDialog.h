// "Tarvo - Delete": asks before each file of a delete, with "Yes To All" for the rest.
#pragma once

#include <QDialog>
#include <QIcon>

class QLabel;

class DeleteConfirmDialog : public QDialog {
    Q_OBJECT
public:
    enum Result : int { Yes = 1, Cancel = 2, YesToAll = 1031, No = 1033 };

    explicit DeleteConfirmDialog(QWidget* parent = nullptr);

    QString prompt;
    // Shown crossed out.
    QIcon icon;

    int exec() override;
    void reject() override;

private:
    QLabel* m_icon;
    QLabel* m_prompt;
};
