// "Connect To:": pick a known server or type a new one, confirm the login data, and hand one
// ServerRecord back. Nothing is stored here: a new server is stored after its first
// successful connection.
#pragma once

#include "servers/ServerRecord.h"

#include <QDialog>

#include <functional>
#include <string>

class EncryptionChoice;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CConnectDlg : public QDialog {
    Q_OBJECT
public:
    // `serverName` is preselected (may be empty); `isConnected` tells whether a server already
    // has an open browsing connection, which disables "Connect" for it.
    CConnectDlg(const QString& serverName, std::function<bool(const std::string&)> isConnected,
                QWidget* parent = nullptr);

    // The confirmed data; read after exec() returned Accepted.
    ServerRecord Record() const;

    void FillFromRecord(const ServerRecord& record);

    QString m_strName;
    int m_nIndex = -1;
    QString m_strAddress;
    QString m_strUser;
    QString m_strPassword;
    QString m_strAccount;
    int m_nPort = 21;
    int m_bPassive = 0;
    int m_nEncryption = 0; // a QorFtpEncryption value
    std::string m_strFingerprint; // the certificate trusted for the chosen server, handed on
    QString m_strComment;

public slots:
    void accept() override;

private:
    void NameChosen(int index);
    void NameEdited(const QString& text);
    void UpdateConnectEnabled(const QString& name);
    void UpdatePasswordEcho();
    void ShowMembers();
    bool ReadControls();
    void ShowHelp();

    std::function<bool(const std::string&)> m_isConnected;
    QComboBox* m_name;
    QLineEdit* m_address;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_account;
    QLineEdit* m_port;
    QCheckBox* m_passive;
    EncryptionChoice* m_encryption;
    QPlainTextEdit* m_comment;
    QPushButton* m_connect;
    QPushButton* m_cancel;
    QPushButton* m_help;
};
