#include "dialogs/CertificateDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLabel* Value(const QString& text, const char* id, QWidget* parent, bool fixedPitch = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(id));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setWordWrap(true);
    if (fixedPitch)
        label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return label;
}

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

CertificateDialog::CertificateDialog(const QorFtpCertificate& certificate, QWidget* parent)
    : QDialog(parent)
    , m_changed(!certificate.trustedBefore.empty())
{
    setObjectName(QStringLiteral("CertificateDialog"));
    setWindowTitle(m_changed ? tr("Server Certificate Changed") : tr("Untrusted Server Certificate"));
    const QString server = Q(certificate.host) + u':' + QString::number(certificate.port);

    auto* icon = new QLabel(this);
    const QStyle::StandardPixmap picture = m_changed ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning;
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(picture, nullptr, this).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);
    icon->setAccessibleName(m_changed ? tr("Warning") : tr("Caution"));

    auto* heading = new QLabel(this);
    heading->setObjectName(QStringLiteral("Heading"));
    heading->setWordWrap(true);
    heading->setTextFormat(Qt::PlainText);
    if (m_changed) {
        heading->setText(tr("WARNING: the certificate of %1 has CHANGED since you trusted it.\n"
                            "This happens when the server got a new certificate, but it is also what an "
                            "attacker between you and the server would show. Trust the new certificate only "
                            "when the server's administrator confirms the fingerprint below.")
                             .arg(server));
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    } else {
        heading->setText(tr("The certificate of %1 could not be verified, so Tarvo cannot be sure the "
                            "connection goes to that server. Trust it only when you know this certificate is "
                            "your server's, for example when the fingerprint below is the one its "
                            "administrator gave you.")
                             .arg(server));
    }

    auto* form = new QFormLayout;
    form->addRow(tr("Problem:"), Value(Q(certificate.problem), "Problem", this));
    form->addRow(tr("Issued to:"), Value(Q(certificate.subject), "Subject", this));
    form->addRow(tr("Issued by:"), Value(Q(certificate.issuer), "Issuer", this));
    form->addRow(tr("Valid from:"), Value(Q(certificate.validFrom), "ValidFrom", this));
    form->addRow(tr("Valid until:"), Value(Q(certificate.validUntil), "ValidUntil", this));
    form->addRow(tr("SHA-256 fingerprint:"), Value(Q(certificate.fingerprint), "Fingerprint", this, true));
    if (m_changed)
        form->addRow(tr("Trusted before:"), Value(Q(certificate.trustedBefore), "TrustedBefore", this, true));
    // Each value label is read out with its caption.
    for (int row = 0; row < form->rowCount(); ++row) {
        auto* caption = qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget());
        QWidget* value = form->itemAt(row, QFormLayout::FieldRole)->widget();
        if (caption && value) {
            caption->setBuddy(value);
            // The caption without its colon, wherever the language puts it.
            value->setAccessibleName(
                QString(caption->text()).remove(QRegularExpression(QStringLiteral("\\s*:\\s*$"))));
        }
    }

    auto* note = new QLabel(tr("A trusted certificate is remembered for this server; Tarvo asks again only "
                               "when the server shows another one."),
                            this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* trust = buttons->addButton(tr("&Trust"), QDialogButtonBox::AcceptRole);
    trust->setObjectName(QStringLiteral("Trust"));
    QPushButton* cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Cancel"));
    // Enter must not trust a certificate by accident.
    trust->setAutoDefault(false);
    cancel->setDefault(true);
    cancel->setFocus();
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(heading, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 70);
}
