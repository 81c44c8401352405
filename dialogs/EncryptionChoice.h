// The four ways a server's connection may be encrypted, as one drop-down list shared by the
// connect dialog and the server property sheet. Choosing implicit TLS moves a port still at 21 to
// 990, and leaving it moves 990 back to 21.
#pragma once

#include <QComboBox>

class QLineEdit;

class EncryptionChoice : public QComboBox {
    Q_OBJECT
public:
    // `port` is the dialog's port field, or null.
    explicit EncryptionChoice(QLineEdit* port, QWidget* parent = nullptr);

    // A QorFtpEncryption value; anything else selects the default.
    void SetValue(int encryption);
    int Value() const;

    static QString Text(int encryption);

private:
    void Chosen(int index);

    QLineEdit* m_port;
    int m_previous = 0;
};
