#include "dialogs/ConnectDialog.h"

#include "dialogs/EncryptionChoice.h"
#include "dialogs/HelpPage.h"

#include "servers/ServerMap.h"
#include "servers/ServerNameProblem.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

const QString kAnonymous = QStringLiteral("anonymous");
// Help topic of this dialog in the help page.
constexpr int kHelpTopic = 132;

QLineEdit* Field(const char* id, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(id));
    return edit;
}

QPushButton* Button(const QString& text, const char* id, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(id));
    return button;
}

} // namespace

CConnectDlg::CConnectDlg(const QString& serverName, std::function<bool(const std::string&)> isConnected,
                         QWidget* parent)
    : QDialog(parent)
    , m_strName(serverName)
    , m_isConnected(std::move(isConnected))
    , m_name(new QComboBox(this))
    , m_address(Field("1064", this))
    , m_user(Field("1001", this))
    , m_password(Field("1003", this))
    , m_account(Field("1097", this))
    , m_port(Field("1005", this))
    , m_passive(new QCheckBox(tr("Passive &Mode"), this))
    , m_encryption(new EncryptionChoice(m_port, this))
    , m_comment(new QPlainTextEdit(this))
    , m_connect(Button(tr("Connect"), "1", this))
    , m_cancel(Button(tr("Cancel"), "2", this))
    , m_help(Button(tr("Help"), "1029", this))
{
    setObjectName(QStringLiteral("132"));
    setWindowTitle(tr("Connect To:"));

    m_name->setObjectName(QStringLiteral("1007"));
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    m_port->setValidator(new QIntValidator(1, 65535, m_port));
    m_passive->setObjectName(QStringLiteral("1008"));
    // The flag is kept and handed on, but this dialog does not offer it (the property sheet does).
    m_passive->setVisible(false);
    m_comment->setObjectName(QStringLiteral("1128"));
    m_comment->setTabChangesFocus(true);
    m_comment->setFixedHeight(m_comment->fontMetrics().height() * 4);

    m_name->setWhatsThis(tr("The name the server is listed under. Choose a known server or type a new name."));
    m_address->setWhatsThis(tr("The host name or IP address of the FTP server."));
    m_user->setWhatsThis(tr("The user name to log in with; empty means anonymous."));
    m_password->setWhatsThis(tr("The password; an anonymous login gets Hiker@ when it is empty."));
    m_account->setWhatsThis(tr("The account, for the few servers that ask for one after the password."));
    m_port->setWhatsThis(tr("The port of the FTP server, normally 21."));
    m_connect->setWhatsThis(tr("Logs in to the server; its folders then appear under its name."));

    auto* form = new QFormLayout;
    form->addRow(tr("Server &Name:"), m_name);
    // The box's editable part has the focus while typing: it is named like the box.
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(m_name)))
        m_name->lineEdit()->setAccessibleName(QString(label->text()).remove(QLatin1Char('&')));
    form->addRow(tr("Server &Address:"), m_address);
    form->addRow(tr("&User Name:"), m_user);
    form->addRow(tr("&Password:"), m_password);
    form->addRow(tr("A&ccount:"), m_account);
    form->addRow(tr("P&ort:"), m_port);
    form->addRow(tr("&Encryption:"), m_encryption);
    form->addRow(QString(), m_passive);
    form->addRow(tr("Comment:"), m_comment);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_connect);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_help);
    m_connect->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 50);

    connect(m_connect, &QPushButton::clicked, this, &CConnectDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CConnectDlg::reject);
    connect(m_help, &QPushButton::clicked, this, &CConnectDlg::ShowHelp);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this, &CConnectDlg::ShowHelp);
    connect(m_user, &QLineEdit::textEdited, this, &CConnectDlg::UpdatePasswordEcho);

    // Opening: the known servers, sorted as a list box sorts (capitals do not count).
    QStringList names;
    for (const auto& [name, record] : ServerMap)
        names << QString::fromStdString(name);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    m_name->addItems(names);

    m_strUser = kAnonymous;
    m_nPort = 21;
    ServerRecord record;
    if (m_strName.isEmpty()) {
        if (m_name->count() > 0) {
            m_nIndex = 0;
            m_strName = m_name->itemText(0);
            if (GetServerRecord(m_strName.toStdString(), record))
                FillFromRecord(record);
        }
    } else {
        m_nIndex = m_name->findText(m_strName, Qt::MatchFixedString);
        if (m_nIndex >= 0) {
            m_strName = m_name->itemText(m_nIndex);
            if (GetServerRecord(m_strName.toStdString(), record))
                FillFromRecord(record);
        }
    }
    m_name->setCurrentIndex(m_nIndex);
    ShowMembers();
    UpdateConnectEnabled(m_strName);

    connect(m_name, qOverload<int>(&QComboBox::activated), this, &CConnectDlg::NameChosen);
    connect(m_name, &QComboBox::editTextChanged, this, &CConnectDlg::NameEdited);
    // With a server chosen, the password is what is most often typed.
    if (!m_strName.isEmpty())
        m_password->setFocus();
}

ServerRecord CConnectDlg::Record() const
{
    ServerRecord record;
    record.name = m_strName.toStdString();
    record.address = m_strAddress.toStdString();
    record.userName = m_strUser.toStdString();
    record.password = m_strPassword.toStdString();
    record.account = m_strAccount.toStdString();
    record.port = m_nPort;
    record.passive = m_bPassive;
    record.encryption = m_nEncryption;
    record.trustedFingerprint = m_strFingerprint;
    record.comment = m_strComment.toStdString();
    return record;
}

void CConnectDlg::FillFromRecord(const ServerRecord& record)
{
    m_strAddress = QString::fromStdString(record.address);
    m_strUser = QString::fromStdString(record.userName);
    m_strPassword = QString::fromStdString(record.password);
    m_strAccount = QString::fromStdString(record.account);
    m_nPort = record.port;
    m_bPassive = record.passive;
    m_nEncryption = record.encryption;
    m_strFingerprint = record.trustedFingerprint;
    m_strComment = QString::fromStdString(record.comment);
}

void CConnectDlg::ShowMembers()
{
    const QSignalBlocker blockName(m_name);
    m_name->setEditText(m_strName);
    m_address->setText(m_strAddress);
    m_user->setText(m_strUser);
    m_password->setText(m_strPassword);
    m_account->setText(m_strAccount);
    m_port->setText(QString::number(m_nPort));
    m_passive->setChecked(m_bPassive != 0);
    m_encryption->SetValue(m_nEncryption);
    m_comment->setPlainText(m_strComment);
    UpdatePasswordEcho();
}

void CConnectDlg::UpdatePasswordEcho()
{
    // An anonymous password is an e-mail address by custom, nothing to hide.
    const bool anonymous = m_user->text().compare(kAnonymous, Qt::CaseInsensitive) == 0;
    m_password->setEchoMode(anonymous ? QLineEdit::Normal : QLineEdit::Password);
}

void CConnectDlg::UpdateConnectEnabled(const QString& name)
{
    m_connect->setEnabled(!(m_isConnected && m_isConnected(name.toStdString())));
}

void CConnectDlg::NameChosen(int index)
{
    if (index < 0)
        return;
    m_nIndex = index;
    m_strName = m_name->itemText(index);
    ReadControls();
    ServerRecord record;
    if (GetServerRecord(m_strName.toStdString(), record))
        FillFromRecord(record);
    ShowMembers();
    UpdateConnectEnabled(m_strName);
}

void CConnectDlg::NameEdited(const QString& text)
{
    UpdateConnectEnabled(text);
    m_nIndex = m_name->findText(text, Qt::MatchFixedString);
    m_strName = m_nIndex >= 0 ? m_name->itemText(m_nIndex) : text;
    ServerRecord record;
    if (GetServerRecord(m_strName.toStdString(), record)) {
        FillFromRecord(record);
        ShowMembers();
        if (QLineEdit* edit = m_name->lineEdit())
            edit->selectAll();
        return;
    }
    const QSignalBlocker blockName(m_name);
    m_address->clear();
    m_user->clear();
    m_password->clear();
    m_password->setEchoMode(QLineEdit::Password);
    m_account->clear();
    m_comment->clear();
    m_port->setText(QStringLiteral("21"));
    // A new server starts with the defaults; nothing is trusted for it yet.
    m_encryption->SetValue(0);
    m_strFingerprint.clear();
}

bool CConnectDlg::ReadControls()
{
    m_strName = m_name->currentText();
    m_strAddress = m_address->text().trimmed();
    m_strUser = m_user->text();
    m_strPassword = m_password->text();
    m_strAccount = m_account->text();
    bool valid = false;
    const int port = m_port->text().toInt(&valid);
    m_nPort = valid ? port : 0;
    m_bPassive = m_passive->isChecked() ? 1 : 0;
    m_nEncryption = m_encryption->Value();
    m_strComment = m_comment->toPlainText();
    return valid && port >= 1 && port <= 65535;
}

void CConnectDlg::accept()
{
    const bool portValid = ReadControls();
    if (m_strAddress.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), tr("The Server Address cannot be Empty."));
        m_address->setFocus();
        return;
    }
    if (!portValid) {
        QMessageBox::warning(this, windowTitle(), tr("The port must be a number from 1 to 65535."));
        m_port->setFocus();
        return;
    }
    if (m_strName.trimmed().isEmpty())
        m_strName = m_strAddress;
    if (const std::optional<std::string> problem = ServerNameProblem(m_strName.toStdString())) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(*problem));
        m_name->setFocus();
        return;
    }
    if (m_strUser.isEmpty())
        m_strUser = kAnonymous;
    if (m_strPassword.isEmpty())
        m_strPassword = QStringLiteral("Hiker@");
    ShowMembers();
    QDialog::accept();
}

void CConnectDlg::ShowHelp()
{
    OpenHelpTopic(this, QString::number(kHelpTopic));
}
