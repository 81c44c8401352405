#include "dialogs/PermissionsDialog.h"

#include "listing/FileProperties.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The control ids of the boxes, in flag order.
constexpr std::array<int, 9> kBoxIds = {1002, 1024, 1025, 1027, 1028, 1030, 1032, 1034, 1037};

} // namespace

CPermissionsDlg::CPermissionsDlg(const QString& letters, QWidget* parent)
    : QDialog(parent)
    , m_strPermissions(letters)
{
    setObjectName(QStringLiteral("CPermissionsDlg"));
    setWindowTitle(tr("File Permissions"));

    const QString groups[] = {tr("Owner:"), tr("Group:"), tr("Others:")};
    const QString rights[] = {tr("Read"), tr("Write"), tr("Execute")};
    const std::array<bool, 9> flags = PermissionFlags(letters.toStdString());
    auto* groupRow = new QHBoxLayout;
    for (int who = 0; who < 3; ++who) {
        auto* group = new QGroupBox(groups[who], this);
        auto* column = new QVBoxLayout(group);
        for (int right = 0; right < 3; ++right) {
            const int i = who * 3 + right;
            m_boxes[i] = new QCheckBox(rights[right], group);
            m_boxes[i]->setObjectName(QString::number(kBoxIds[i]));
            m_boxes[i]->setChecked(flags[i]);
            column->addWidget(m_boxes[i]);
        }
        groupRow->addWidget(group);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("IDOK"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("IDCANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPermissionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPermissionsDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groupRow);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CPermissionsDlg::accept()
{
    std::array<bool, 9> flags{};
    for (std::size_t i = 0; i < flags.size(); ++i)
        flags[i] = m_boxes[i]->isChecked();
    m_strPermissions = QString::fromStdString(ModeFromFlags(flags));
    QDialog::accept();
}
