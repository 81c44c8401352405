#include "dialogs/EncryptionChoice.h"

#include "QorFtp.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace {

constexpr int kImplicit = static_cast<int>(QorFtpEncryption::RequireImplicit);
const QString kPlainPort = QStringLiteral("21");
const QString kImplicitPort = QStringLiteral("990");

} // namespace

EncryptionChoice::EncryptionChoice(QLineEdit* port, QWidget* parent)
    : QComboBox(parent)
    , m_port(port)
{
    setObjectName(QStringLiteral("Encryption"));
    setAccessibleName(tr("Encryption"));
    for (const QorFtpEncryption mode : {QorFtpEncryption::IfAvailable, QorFtpEncryption::RequireExplicit,
                                        QorFtpEncryption::RequireImplicit, QorFtpEncryption::PlainOnly})
        addItem(Text(static_cast<int>(mode)), static_cast<int>(mode));
    setWhatsThis(tr("How the connection is encrypted. Plain FTP sends the password and the files in clear; "
                    "implicit FTP over TLS usually needs port 990."));
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, &EncryptionChoice::Chosen);
}

QString EncryptionChoice::Text(int encryption)
{
    switch (static_cast<QorFtpEncryption>(encryption)) {
    case QorFtpEncryption::RequireExplicit:
        return tr("Require explicit FTP over TLS");
    case QorFtpEncryption::RequireImplicit:
        return tr("Require implicit FTP over TLS");
    case QorFtpEncryption::PlainOnly:
        return tr("Only use plain FTP (insecure)");
    case QorFtpEncryption::IfAvailable:
        break;
    }
    return tr("Use explicit FTP over TLS if available");
}

void EncryptionChoice::SetValue(int encryption)
{
    const int index = findData(encryption);
    // Filling the dialog from a record keeps the record's port as it is.
    const QSignalBlocker block(this);
    setCurrentIndex(index >= 0 ? index : 0);
    m_previous = Value();
}

int EncryptionChoice::Value() const
{
    return currentData().toInt();
}

void EncryptionChoice::Chosen(int /*index*/)
{
    const int now = Value();
    if (m_port) {
        const QString port = m_port->text().trimmed();
        if (now == kImplicit && port == kPlainPort)
            m_port->setText(kImplicitPort);
        else if (m_previous == kImplicit && now != kImplicit && port == kImplicitPort)
            m_port->setText(kPlainPort);
    }
    m_previous = now;
}
