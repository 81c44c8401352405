#include "dialogs/FilePropertiesDialog.h"

#include "dialogs/FileIcons.h"
#include "listing/FileProperties.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kIconSize = 32;

QLineEdit* ReadOnlyField(QWidget* parent, int id, const std::string& text)
{
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    field->setObjectName(QString::number(id));
    field->setReadOnly(true);
    field->setCursorPosition(0);
    return field;
}

QFrame* Line(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

CFilePropertiesDlg::CFilePropertiesDlg(const FilePropertiesView& properties, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CFilePropertiesDlg"));
    setWindowTitle(tr("File Properties"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("1077"));
    const QIcon picture
        = properties.folder ? FileIcons::Folder() : FileIcons::RemoteFile(QString::fromStdString(properties.iconKey));
    icon->setPixmap(picture.pixmap(kIconSize, kIconSize));
    icon->setFixedSize(kIconSize, kIconSize);
    QLineEdit* name = ReadOnlyField(this, 1079, properties.name);
    name->setAccessibleName(tr("Name"));
    name->setMinimumWidth(name->fontMetrics().averageCharWidth() * 40);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(name, 1);

    auto* fields = new QFormLayout;
    fields->addRow(tr("Type:"), ReadOnlyField(this, 1080, properties.type));
    fields->addRow(tr("Size:"), ReadOnlyField(this, 1081, properties.size));
    fields->addRow(tr("Modified:"), ReadOnlyField(this, 1082, properties.modified));
    fields->addRow(tr("Owner:"), ReadOnlyField(this, 1083, properties.owner));
    fields->addRow(tr("Group:"), ReadOnlyField(this, 1084, properties.group));

    // Box ids run down the columns: owner, group, other read are 1085 to 1087.
    auto* grid = new QGridLayout;
    const QString rights[] = {tr("Read"), tr("Write"), tr("Execute")};
    const QString whos[] = {tr("Owner:"), tr("Group:"), tr("Other:")};
    const std::array<bool, 9> flags = PermissionFlags(properties.permissions);
    for (int right = 0; right < 3; ++right)
        grid->addWidget(new QLabel(rights[right], this), 0, right + 1, Qt::AlignCenter);
    for (int who = 0; who < 3; ++who) {
        grid->addWidget(new QLabel(whos[who], this), who + 1, 0);
        for (int right = 0; right < 3; ++right) {
            auto* box = new QCheckBox(this);
            box->setObjectName(QString::number(1085 + right * 3 + who));
            box->setAccessibleName(whos[who] + QLatin1Char(' ') + rights[right]);
            box->setChecked(flags[who * 3 + right]);
            box->setEnabled(false);
            grid->addWidget(box, who + 1, right + 1, Qt::AlignCenter);
        }
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("IDOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CFilePropertiesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CFilePropertiesDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Line(this));
    layout->addLayout(fields);
    layout->addWidget(Line(this));
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
