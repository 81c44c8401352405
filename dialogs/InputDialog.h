// "Ftp Command:": one or two prompted text fields, used by Change Directory and by the file
// list's Download File and Upload File. The caller sets the mode and the prompts, runs it and
// reads the values after OK.
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

class CInputDialog : public QDialog {
    Q_OBJECT
public:
    explicit CInputDialog(QWidget* parent = nullptr);

    bool m_bTwoFields = true;
    QString m_strPrompt1;
    QString m_strValue1;
    QString m_strPrompt2;
    QString m_strValue2;

    int exec() override;
    void accept() override;

private:
    QLabel* m_prompt1;
    QLineEdit* m_value1;
    QLabel* m_prompt2;
    QLineEdit* m_value2;
    QDialogButtonBox* m_buttons;
};
