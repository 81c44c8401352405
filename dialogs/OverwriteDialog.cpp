#include "dialogs/OverwriteDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

OverwriteDialog::OverwriteDialog(QWidget* parent)
    : QDialog(parent)
    , m_message(new QLabel(this))
    , m_newName(new QLineEdit(this))
    , m_rename(new QPushButton(tr("Re&name"), this))
    , m_applyToAll(new QCheckBox(tr("Appl&y to all"), this))
{
    setObjectName(QStringLiteral("OverwriteDialog"));
    setWindowTitle(QStringLiteral("Tarvo"));

    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for two lines of a long path.
    m_message->setMinimumWidth(m_message->fontMetrics().averageCharWidth() * 52);
    m_message->setMinimumHeight(m_message->fontMetrics().lineSpacing() * 2);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* question = new QLabel(tr("This file already exists.\nWhat you would like to do?"), this);
    question->setObjectName(QStringLiteral("question"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    auto* recover = new QPushButton(tr("&Recover"), this);
    auto* append = new QPushButton(tr("&Append"), this);
    auto* overwrite = new QPushButton(tr("&Overwrite"), this);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    recover->setObjectName(QStringLiteral("recover"));
    append->setObjectName(QStringLiteral("append"));
    overwrite->setObjectName(QStringLiteral("overwrite"));
    cancel->setObjectName(QStringLiteral("cancel"));
    m_rename->setObjectName(QStringLiteral("rename"));
    m_newName->setObjectName(QStringLiteral("newName"));
    recover->setToolTip(tr("Go on from where the existing file ends"));
    append->setToolTip(tr("Add the whole file to the end of the existing one"));
    // Enter renames once a name is typed, and does nothing before: no choice is made by accident.
    for (QPushButton* button : {recover, append, overwrite, cancel})
        button->setAutoDefault(false);
    m_rename->setDefault(true);
    m_rename->setEnabled(false);

    auto* renameLabel = new QLabel(tr("Rename file to:"), this);
    renameLabel->setBuddy(m_newName);

    connect(recover, &QPushButton::clicked, this, [this] { done(Recover); });
    connect(append, &QPushButton::clicked, this, [this] { done(Append); });
    connect(overwrite, &QPushButton::clicked, this, [this] {
        m_newName->clear();
        done(Overwrite);
    });
    connect(m_rename, &QPushButton::clicked, this, [this] { done(Overwrite); });
    connect(cancel, &QPushButton::clicked, this, &OverwriteDialog::reject);
    connect(m_newName, &QLineEdit::textChanged, this, [this](const QString& text) {
        newName = text;
        m_rename->setEnabled(!text.isEmpty() && !m_applyToAll->isChecked());
    });
    m_applyToAll->setObjectName(QStringLiteral("applyToAll"));
    m_applyToAll->setToolTip(tr("Use this choice for every further file of this job that exists already"));
    m_applyToAll->setVisible(false);
    connect(m_applyToAll, &QCheckBox::toggled, this, [this](bool all) {
        // One new name cannot serve many files.
        m_newName->setEnabled(!all);
        m_rename->setEnabled(!all && !m_newName->text().isEmpty());
    });

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    auto* texts = new QVBoxLayout;
    texts->addWidget(m_message);
    texts->addWidget(question);
    top->addLayout(texts, 1);

    auto* choices = new QHBoxLayout;
    choices->addWidget(recover);
    choices->addWidget(append);
    choices->addWidget(overwrite);
    choices->addStretch();

    auto* rename = new QGridLayout;
    rename->addWidget(renameLabel, 0, 0, 1, 2);
    rename->addWidget(m_newName, 1, 0);
    rename->addWidget(m_rename, 1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_applyToAll);
    bottom->addStretch();
    bottom->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(4);
    layout->addLayout(choices);
    layout->addSpacing(8);
    layout->addLayout(rename);
    layout->addSpacing(8);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int OverwriteDialog::exec()
{
    m_message->setText(message);
    m_applyToAll->setVisible(offerApplyToAll);
    if (!offerApplyToAll)
        m_applyToAll->setChecked(false);
    m_newName->setText(newName);
    m_newName->setFocus();
    return QDialog::exec();
}

bool OverwriteDialog::ApplyToAll() const
{
    return offerApplyToAll && m_applyToAll->isChecked();
}

void OverwriteDialog::reject()
{
    // Escape and the close box cancel like the Cancel button.
    done(Cancel);
}
