#include "dialogs/ServerPropertySheet.h"

#include "dialogs/EncryptionChoice.h"

#include "servers/HistoryText.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

ServerSheetHooks& Hooks()
{
    static ServerSheetHooks hooks;
    return hooks;
}

std::optional<QDateTime> ConnectedSince(const QString& server)
{
    const auto& hook = Hooks().connectedSince;
    return hook ? hook(server.toStdString()) : std::nullopt;
}

// The stored servers, as the sorted list shows them.
QStringList ServerNames()
{
    QStringList names;
    for (const auto& [name, record] : ServerMap)
        names.append(QString::fromStdString(name));
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

QComboBox* ServerList(const QStringList& names, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QStringLiteral("1007"));
    list->addItems(names);
    list->setCurrentIndex(-1);
    return list;
}

bool IsAnonymous(const QString& user)
{
    return user.compare(QStringLiteral("anonymous"), Qt::CaseInsensitive) == 0;
}

QLineEdit* Field(const char* id, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(id));
    return edit;
}

// A server still connected has no duration stored yet: it counts from the connection. Without the
// tree's word, the stored connection time (to the minute) stands in.
QString RunningDuration(const QString& server, const QString& lastConnected)
{
    std::optional<QDateTime> since = ConnectedSince(server);
    if (!since) {
        const QDateTime stored
            = QLocale::c().toDateTime(lastConnected, QStringLiteral("dddd, MMMM dd, yyyy 'at' h:mm AP"));
        if (stored.isValid())
            since = stored;
    }
    if (!since)
        return {};
    return FormatDuration(std::max<qint64>(0, since->secsTo(QDateTime::currentDateTime())));
}

} // namespace

void SetServerSheetHooks(ServerSheetHooks hooks)
{
    Hooks() = std::move(hooks);
}

void CPropertyPage::SetModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit ModifiedChanged();
}

CPropertySheet::CPropertySheet(const QString& caption, QWidget* parent)
    : QDialog(parent)
    , m_tabs(new QTabWidget(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this))
    , m_apply(m_buttons->button(QDialogButtonBox::Apply))
{
    setWindowTitle(caption);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    m_apply->setObjectName(QStringLiteral("12321"));
    m_apply->setEnabled(false);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CPropertySheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CPropertySheet::reject);
    connect(m_apply, &QPushButton::clicked, this, &CPropertySheet::ApplyPages);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
}

void CPropertySheet::AddPage(CPropertyPage* page, const QString& tab)
{
    m_pages.push_back(page);
    m_tabs->addTab(page, tab);
    connect(page, &CPropertyPage::ModifiedChanged, this, &CPropertySheet::UpdateApply);
    UpdateApply();
}

bool CPropertySheet::ApplyPages()
{
    for (CPropertyPage* page : m_pages) {
        if (!page->IsModified())
            continue;
        if (!page->OnApply()) {
            m_tabs->setCurrentWidget(page);
            return false;
        }
        page->SetModified(false);
    }
    return true;
}

void CPropertySheet::accept()
{
    if (ApplyPages())
        QDialog::accept();
}

void CPropertySheet::reject()
{
    bool close = true;
    for (CPropertyPage* page : m_pages)
        if (page->IsModified() && !page->OnCancel())
            close = false;
    if (close)
        QDialog::reject();
}

void CPropertySheet::UpdateApply()
{
    m_apply->setEnabled(std::any_of(m_pages.begin(), m_pages.end(), [](auto* page) { return page->IsModified(); }));
}

CServerPropertyPage1::CServerPropertyPage1(const QString& server, QWidget* parent)
    : CPropertyPage(parent)
    , m_list(ServerList(ServerNames(), this))
    , m_lastConnected(new QLabel(this))
    , m_duration(new QLabel(this))
    , m_comment(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("110"));
    m_lastConnected->setObjectName(QStringLiteral("1021"));
    m_duration->setObjectName(QStringLiteral("1022"));
    m_comment->setObjectName(QStringLiteral("1128"));
    m_comment->setTabChangesFocus(true);
    for (int i = 0; i < m_list->count(); ++i)
        m_history.insert(m_list->itemText(i), ReadServerHistory(m_list->itemText(i).toStdString()));

    auto* form = new QFormLayout(this);
    form->addRow(tr("Server:"), m_list);
    form->addRow(tr("Last Connected:"), m_lastConnected);
    form->addRow(tr("Duration:"), m_duration);
    form->addRow(tr("Comment:"), m_comment);

    const int found = server.isEmpty() ? -1 : m_list->findText(server, Qt::MatchFixedString);
    m_list->setCurrentIndex(found);
    ShowDetails(found);
    connect(m_list, &QComboBox::currentIndexChanged, this, &CServerPropertyPage1::ShowDetails);
    connect(m_comment, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            SetModified();
    });
}

void CServerPropertyPage1::ShowDetails(int index)
{
    if (index < 0)
        return;
    const QString server = m_list->itemText(index);
    const HistoryParts history = ParseHistory(m_history.value(server));
    m_lastConnected->setText(history.lastConnected);
    m_duration->setText(history.duration ? *history.duration : RunningDuration(server, history.lastConnected));
    ServerRecord record;
    GetServerRecord(server.toStdString(), record);
    m_filling = true;
    m_comment->setPlainText(QString::fromStdString(record.comment));
    m_filling = false;
    SetModified(false);
}

bool CServerPropertyPage1::OnApply()
{
    if (m_list->currentIndex() >= 0)
        SaveServerComment(m_list->currentText().toStdString(), m_comment->toPlainText().toStdString());
    return true;
}

CServerPropertyPage2::CServerPropertyPage2(const QString& server, QWidget* parent)
    : CPropertyPage(parent)
    , m_list(ServerList(ServerNames(), this))
    , m_address(Field("1064", this))
    , m_user(Field("1001", this))
    , m_password(Field("1003", this))
    , m_account(Field("1097", this))
    , m_port(Field("1005", this))
    , m_passive(new QCheckBox(tr("Passive Mode"), this))
    , m_encryption(new EncryptionChoice(m_port, this))
    , m_delete(new QPushButton(tr("Delete"), this))
{
    setObjectName(QStringLiteral("111"));
    m_passive->setObjectName(QStringLiteral("1008"));
    m_delete->setObjectName(QStringLiteral("1023"));
    m_port->setValidator(new QIntValidator(0, 65535, m_port));
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    auto* form = new QFormLayout(this);
    form->addRow(tr("Server:"), m_list);
    form->addRow(tr("Server Address:"), m_address);
    form->addRow(tr("User Name:"), m_user);
    form->addRow(tr("Password:"), m_password);
    form->addRow(tr("Account:"), m_account);
    form->addRow(tr("Port:"), m_port);
    form->addRow(tr("Encryption:"), m_encryption);
    form->addRow(m_passive);
    form->addRow(m_delete);

    int chosen = server.isEmpty() ? -1 : m_list->findText(server, Qt::MatchFixedString);
    if (chosen < 0 && m_list->count() > 0)
        chosen = 0;
    m_list->setCurrentIndex(chosen);
    FillFields(chosen);

    connect(m_list, &QComboBox::currentIndexChanged, this, &CServerPropertyPage2::FillFields);
    const auto edited = [this] {
        if (!m_filling)
            SetModified();
    };
    for (QLineEdit* edit : {m_address, m_user, m_password, m_account, m_port})
        connect(edit, &QLineEdit::textEdited, this, edited);
    connect(m_passive, &QCheckBox::clicked, this, edited);
    connect(m_encryption, &QComboBox::activated, this, edited);
    connect(m_user, &QLineEdit::textChanged, this, &CServerPropertyPage2::UpdatePasswordEcho);
    connect(m_delete, &QPushButton::clicked, this, &CServerPropertyPage2::OnDelete);
}

void CServerPropertyPage2::FillFields(int index)
{
    // Edits not applied belong to the server shown before; they are dropped.
    SetModified(false);
    ServerRecord record;
    const QString server = index >= 0 ? m_list->itemText(index) : QString();
    if (index >= 0)
        GetServerRecord(server.toStdString(), record);
    m_filling = true;
    m_address->setText(QString::fromStdString(record.address));
    m_user->setText(QString::fromStdString(record.userName));
    m_password->setText(QString::fromStdString(record.password));
    m_account->setText(QString::fromStdString(record.account));
    m_port->setText(index >= 0 ? QString::number(record.port) : QString());
    m_passive->setChecked(record.passive != 0);
    m_encryption->SetValue(record.encryption);
    m_filling = false;
    UpdatePasswordEcho();
    m_delete->setEnabled(index >= 0 && !ConnectedSince(server));
}

void CServerPropertyPage2::UpdatePasswordEcho()
{
    m_password->setEchoMode(IsAnonymous(m_user->text()) ? QLineEdit::Normal : QLineEdit::Password);
}

bool CServerPropertyPage2::OnApply()
{
    if (m_list->currentIndex() < 0)
        return true;
    ServerRecord record;
    record.name = m_list->currentText().toStdString();
    // The trusted certificate is not shown here; it stays as it was.
    GetServerRecord(record.name, record);
    record.address = m_address->text().toStdString();
    record.userName = m_user->text().toStdString();
    record.password = m_password->text().toStdString();
    record.account = m_account->text().toStdString();
    record.port = m_port->text().toInt();
    record.passive = m_passive->isChecked() ? 1 : 0;
    record.encryption = m_encryption->Value();
    SaveServerSettings(record);
    m_applied = true;
    return true;
}

void CServerPropertyPage2::OnDelete()
{
    const int index = m_list->currentIndex();
    if (index < 0)
        return;
    const QString server = m_list->itemText(index);
    if (Hooks().deleteServer) {
        Hooks().deleteServer(server);
    } else {
        const auto answer
            = QMessageBox::question(this, tr("Tarvo"), tr("Are you sure you want to delete '%1'.").arg(server),
                                    QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes)
            DeleteServer(server.toStdString());
    }
    // The command tells nothing back: the name leaves the list either way, and a server the user
    // kept is listed again next time.
    m_list->removeItem(index);
    m_list->setCurrentIndex(m_list->count() > 0 ? 0 : -1);
    FillFields(m_list->currentIndex());
}

CServerProperty::CServerProperty(const QString& server, QWidget* parent)
    : CPropertySheet(tr("Server Properties"), parent)
    , m_page1(new CServerPropertyPage1(server, this))
    , m_page2(new CServerPropertyPage2(server, this))
{
    setObjectName(QStringLiteral("ServerProperties"));
    AddPage(m_page1, tr("General"));
    AddPage(m_page2, tr("Customize Servers"));
    Tabs()->setCurrentIndex(0);
}

bool ShowServerProperties(QWidget* owner, const QString& server)
{
    CServerProperty sheet(server, owner);
    sheet.exec();
    return sheet.Page2()->Applied();
}
