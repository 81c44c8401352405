#include "dialogs/InputDialog.h"

#include "dialogs/ProgramMessage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CInputDialog::CInputDialog(QWidget* parent)
    : QDialog(parent)
    , m_prompt1(new QLabel(tr("Enter Server:"), this))
    , m_value1(new QLineEdit(this))
    , m_prompt2(new QLabel(tr("Enter File:"), this))
    , m_value2(new QLineEdit(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("CInputDialog"));
    setWindowTitle(tr("Ftp Command:"));
    m_prompt1->setObjectName(QStringLiteral("1075"));
    m_value1->setObjectName(QStringLiteral("1076"));
    m_prompt2->setObjectName(QStringLiteral("1096"));
    m_value2->setObjectName(QStringLiteral("1078"));
    m_prompt1->setBuddy(m_value1);
    m_prompt2->setBuddy(m_value2);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("IDOK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("IDCANCEL"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CInputDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CInputDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt1);
    layout->addWidget(m_value1);
    layout->addSpacing(6);
    layout->addWidget(m_prompt2);
    layout->addWidget(m_value2);
    layout->addSpacing(6);
    layout->addWidget(m_buttons);
    // Hiding the second field then shrinks the dialog to sit the buttons under the first.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_value1->setMinimumWidth(m_value1->fontMetrics().averageCharWidth() * 48);
}

int CInputDialog::exec()
{
    m_prompt1->setText(m_strPrompt1);
    m_value1->setText(m_strValue1);
    m_prompt2->setText(m_strPrompt2);
    m_value2->setText(m_strValue2);
    m_prompt2->setVisible(m_bTwoFields);
    m_value2->setVisible(m_bTwoFields);
    m_value1->setFocus();
    return QDialog::exec();
}

void CInputDialog::accept()
{
    m_strValue1 = m_value1->text();
    m_strValue2 = m_value2->text();
    // Only an empty text is refused: spaces may be part of a name.
    QLineEdit* missing = nullptr;
    if (m_strValue1.isEmpty())
        missing = m_value1;
    else if (m_bTwoFields && m_strValue2.isEmpty())
        missing = m_value2;
    if (missing) {
        ShowProgramMessage(this, tr("This field is required."));
        missing->setFocus();
        return;
    }
    QDialog::accept();
}
