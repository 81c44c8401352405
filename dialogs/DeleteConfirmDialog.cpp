#include "dialogs/DeleteConfirmDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kIconSize = 32;

// The icon with a red cross laid over it.
QPixmap CrossedOut(const QIcon& icon)
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    icon.paint(&painter, pixmap.rect());
    painter.setPen(QPen(QColor(0xd0, 0x1b, 0x1b), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(6, 6), QPointF(kIconSize - 6, kIconSize - 6));
    painter.drawLine(QPointF(kIconSize - 6, 6), QPointF(6, kIconSize - 6));
    return pixmap;
}

} // namespace

DeleteConfirmDialog::DeleteConfirmDialog(QWidget* parent)
    : QDialog(parent)
    , m_icon(new QLabel(this))
    , m_prompt(new QLabel(this))
{
    setObjectName(QStringLiteral("DeleteConfirmDialog"));
    setWindowTitle(tr("Tarvo - Delete"));
    m_icon->setObjectName(QStringLiteral("icon"));
    m_icon->setFixedSize(kIconSize, kIconSize);
    m_prompt->setObjectName(QStringLiteral("prompt"));
    m_prompt->setAlignment(Qt::AlignCenter);
    m_prompt->setWordWrap(true);
    m_prompt->setMinimumWidth(m_prompt->fontMetrics().averageCharWidth() * 50);

    auto* yes = new QPushButton(tr("&Yes"), this);
    auto* yesToAll = new QPushButton(tr("Yes To &All"), this);
    auto* no = new QPushButton(tr("&No"), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    yes->setObjectName(QStringLiteral("yes"));
    yesToAll->setObjectName(QStringLiteral("yesToAll"));
    no->setObjectName(QStringLiteral("no"));
    cancel->setObjectName(QStringLiteral("cancel"));
    yes->setDefault(true);
    connect(yes, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(yesToAll, &QPushButton::clicked, this, [this] { done(YesToAll); });
    connect(no, &QPushButton::clicked, this, [this] { done(No); });
    connect(cancel, &QPushButton::clicked, this, &DeleteConfirmDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(m_icon, 0, Qt::AlignTop);
    top->addWidget(m_prompt, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {yes, yesToAll, no, cancel})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int DeleteConfirmDialog::exec()
{
    m_prompt->setText(prompt);
    m_icon->setPixmap(CrossedOut(icon));
    return QDialog::exec();
}

void DeleteConfirmDialog::reject()
{
    done(Cancel);
}
