// The question about a server certificate that failed the checks: why it failed, whom it names,
// who issued it, how long it is valid and its fingerprint, with a plain warning when a certificate
// trusted before has changed. "Trust" accepts it for the server; "Cancel" (the default) refuses.
#pragma once

#include "QorFtpUi.h"

#include <QDialog>

class CertificateDialog : public QDialog {
    Q_OBJECT
public:
    explicit CertificateDialog(const QorFtpCertificate& certificate, QWidget* parent = nullptr);

    bool Changed() const { return m_changed; }

private:
    bool m_changed = false;
};
