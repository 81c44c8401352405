// "Server Properties": a stored server's history and comment, and its connection settings. The
// settings page, "Customize Servers", is also a page of the Options sheet. Each page writes its
// own values through the server store when applied, and only when it was changed.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QMap>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class EncryptionChoice;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// Shows the sheet for `server` modally; true when its second page applied its settings at least once.
bool ShowServerProperties(QWidget* owner, const QString& server);

// What the sheets need of the folder tree, which sits above them. The tree installs these; without
// them no server counts as connected and Delete asks and deletes through the store itself.
struct ServerSheetHooks {
    // When the browsing connection to a server was made; none while it has no connection.
    std::function<std::optional<QDateTime>(const std::string&)> connectedSince;
    // The tree's delete-server command, confirmation included; it tells nothing back.
    std::function<void(const QString&)> deleteServer;
};
void SetServerSheetHooks(ServerSheetHooks hooks);

// One page of a tabbed sheet: edits mark it changed, which enables the sheet's Apply.
class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true);

    // Writes the page's values; false keeps the sheet open (a value was refused).
    virtual bool OnApply() = 0;
    // Cancel on a changed page; false keeps the sheet open.
    virtual bool OnCancel()
    {
        SetModified(false);
        return true;
    }

signals:
    void ModifiedChanged();

private:
    bool m_modified = false;
};

// A modal sheet of pages with OK, Cancel and Apply. OK and Apply apply every changed page; Cancel
// asks each page.
class CPropertySheet : public QDialog {
    Q_OBJECT
public:
    CPropertySheet(const QString& caption, QWidget* parent = nullptr);

    void AddPage(CPropertyPage* page, const QString& tab);
    QTabWidget* Tabs() const { return m_tabs; }

    void accept() override;
    void reject() override;

protected:
    // Applies the changed pages; false when one refused.
    bool ApplyPages();

private:
    void UpdateApply();

    std::vector<CPropertyPage*> m_pages;
    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
    QPushButton* m_apply;
};

// Page 1: when the server was last connected, for how long, and its comment.
class CServerPropertyPage1 : public CPropertyPage {
    Q_OBJECT
public:
    CServerPropertyPage1(const QString& server, QWidget* parent = nullptr);
    bool OnApply() override;

private:
    void ShowDetails(int index);

    QComboBox* m_list;
    QLabel* m_lastConnected;
    QLabel* m_duration;
    QPlainTextEdit* m_comment;
    QMap<QString, QString> m_history;
    bool m_filling = false;
};

// Page 2, "Customize Servers": address, login, port, passive mode; and Delete.
class CServerPropertyPage2 : public CPropertyPage {
    Q_OBJECT
public:
    CServerPropertyPage2(const QString& server, QWidget* parent = nullptr);
    bool OnApply() override;

    // Applied at least once since the page was made.
    bool Applied() const { return m_applied; }

private:
    void FillFields(int index);
    void OnDelete();
    void UpdatePasswordEcho();

    QComboBox* m_list;
    QLineEdit* m_address;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QLineEdit* m_account;
    QLineEdit* m_port;
    QCheckBox* m_passive;
    EncryptionChoice* m_encryption;
    QPushButton* m_delete;
    bool m_filling = false;
    bool m_applied = false;
};

class CServerProperty : public CPropertySheet {
    Q_OBJECT
public:
    CServerProperty(const QString& server, QWidget* parent = nullptr);

    CServerPropertyPage1* Page1() const { return m_page1; }
    CServerPropertyPage2* Page2() const { return m_page2; }

private:
    CServerPropertyPage1* m_page1;
    CServerPropertyPage2* m_page2;
};
