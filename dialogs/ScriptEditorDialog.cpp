#include "dialogs/ScriptEditorDialog.h"

#include "dialogs/FileIcons.h"
#include "dialogs/HelpPage.h"
#include "listing/FileItem.h"
#include "listing/TreePaths.h"
#include "operations/Interaction.h"
#include "scripts/ScriptParser.h"
#include "scripts/ScriptWriter.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWhatsThis>

#include <algorithm>
#include <tuple>

namespace {

struct OperationText {
    const char* box;
    const char* objectName; // the control id, which the help topics are numbered by
    const char* label; // what the right tree is for
};

// In the order of the dialog's Operation enum.
constexpr OperationText kOperationTexts[] = {
    {QT_TRANSLATE_NOOP("ScriptEditorDialog", "&Download"), "1067",
     QT_TRANSLATE_NOOP("ScriptEditorDialog", "Select where to download the file:")},
    {QT_TRANSLATE_NOOP("ScriptEditorDialog", "&Upload"), "1068",
     QT_TRANSLATE_NOOP("ScriptEditorDialog", "Select where to upload the file:")},
    {QT_TRANSLATE_NOOP("ScriptEditorDialog", "De&lete"), "1069",
     QT_TRANSLATE_NOOP("ScriptEditorDialog", "Nothing to select")},
    {QT_TRANSLATE_NOOP("ScriptEditorDialog", "&Transfer"), "1070",
     QT_TRANSLATE_NOOP("ScriptEditorDialog", "Select where to transfer the file:")},
    {QT_TRANSLATE_NOOP("ScriptEditorDialog", "&Append"), "1111",
     QT_TRANSLATE_NOOP("ScriptEditorDialog", "Select where to append the file:")},
    {QT_TRANSLATE_NOOP("ScriptEditorDialog", "ChMod"), "1115",
     QT_TRANSLATE_NOOP("ScriptEditorDialog", "Select the new file permissions:")},
};

std::string JoinRemote(const std::string& folder, const std::string& name)
{
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string LastName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where a step runs, for grouping the saved steps by server.
const std::string& ServerOf(const OperationRequest& step)
{
    return step.kind == Upload || step.kind == UploadAppend ? step.targetServer : step.sourceServer;
}

} // namespace

ScriptEditorDialog::ScriptEditorDialog(std::vector<ScriptEditorMark> marks, std::vector<std::string> servers,
                                       QWidget* parent)
    : QDialog(parent)
    , m_marks(std::move(marks))
    , m_servers(std::move(servers))
{
    setWindowTitle(tr("Script"));
    setObjectName(QStringLiteral("ScriptEditorDialog"));

    auto* leftLabel = new QLabel(tr("Select File(s):"));
    m_left = new QTreeWidget;
    m_left->setObjectName(QStringLiteral("1112"));
    m_left->setHeaderHidden(true);
    m_left->setAccessibleName(tr("Marked files"));
    leftLabel->setBuddy(m_left);

    auto* operationBox = new QGroupBox(tr("Operation:"));
    auto* operationLayout = new QVBoxLayout(operationBox);
    for (int operation = 0; operation < OperationCount; ++operation) {
        auto* box = new QCheckBox(tr(kOperationTexts[operation].box));
        box->setObjectName(QString::fromLatin1(kOperationTexts[operation].objectName));
        box->setEnabled(false);
        connect(box, &QCheckBox::clicked, this,
                [this, operation](bool checked) { OnOperationClicked(static_cast<Operation>(operation), checked); });
        operationLayout->addWidget(box);
        m_operations[operation] = box;
    }
    operationLayout->addStretch();

    m_rightLabel = new QLabel(tr("Nothing to select"));
    m_rightLabel->setObjectName(QStringLiteral("RightLabel"));
    m_right = new QTreeWidget;
    m_right->setObjectName(QStringLiteral("1071"));
    m_right->setHeaderHidden(true);
    m_right->setAccessibleName(tr("Target"));
    m_right->setEnabled(false);

    m_permissions = new QWidget;
    m_permissions->setObjectName(QStringLiteral("Permissions"));
    auto* permissionsLayout = new QHBoxLayout(m_permissions);
    const char* classes[] = {QT_TR_NOOP("Owner:"), QT_TR_NOOP("Group:"), QT_TR_NOOP("Others:")};
    const char* rights[] = {QT_TR_NOOP("Read"), QT_TR_NOOP("Write"), QT_TR_NOOP("Execute")};
    const char* classNames[] = {"Owner", "Group", "Others"};
    for (int who = 0; who < 3; ++who) {
        auto* group = new QGroupBox(tr(classes[who]));
        auto* groupLayout = new QVBoxLayout(group);
        for (int right = 0; right < 3; ++right) {
            auto* box = new QCheckBox(tr(rights[right]));
            box->setObjectName(QString::fromLatin1(classNames[who]) + QString::fromLatin1(rights[right]));
            connect(box, &QCheckBox::clicked, this, &ScriptEditorDialog::OnPermissionClicked);
            groupLayout->addWidget(box);
            m_modeBoxes[who * 3 + right] = box;
        }
        permissionsLayout->addWidget(group);
    }
    m_permissions->hide();

    auto* save = new QPushButton(tr("&Save"));
    save->setObjectName(QStringLiteral("Save"));
    save->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setObjectName(QStringLiteral("Cancel"));
    connect(save, &QPushButton::clicked, this, &ScriptEditorDialog::OnSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(leftLabel);
    leftColumn->addWidget(m_left);
    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(m_rightLabel);
    rightColumn->addWidget(m_right);
    rightColumn->addWidget(m_permissions);
    auto* columns = new QHBoxLayout;
    columns->addLayout(leftColumn, 1);
    columns->addWidget(operationBox);
    columns->addLayout(rightColumn, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    FillTopLevel(m_left);
    for (const ScriptEditorMark& mark : m_marks) {
        auto* item = new QTreeWidgetItem(TopLevel(m_left, mark.serverName), {QString::fromStdString(mark.path)});
        item->setIcon(0, mark.kind == ITEM_FOLDER ? FileIcons::Folder() : FileIcons::Document());
    }
    m_left->expandAll();
    FillTopLevel(m_right);

    connect(m_left, &QTreeWidget::currentItemChanged, this, &ScriptEditorDialog::OnSourceChanged);
    connect(m_right, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnTargetChanged(current); });

    // The caption's help button asks about one control: the two trees and the operation boxes
    // have topics of their own. F1 opens the manual at its top.
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    m_left->installEventFilter(this);
    m_right->installEventFilter(this);
    for (QCheckBox* box : m_operations)
        box->installEventFilter(this);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { OpenHelpTopic(this); });

    chooseFile = [this] {
        QFileDialog dialog(this, tr("Save Script"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("ftp"));
        dialog.setNameFilters({tr("Tarvo Script Files (*.ftp)"), tr("All (*)")});
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                       : QString();
    };
    resize(730, 380);
}

bool ScriptEditorDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WhatsThis) {
        // The topic numbers are those of the dialog's help context: 0x80000000 + 180 << 16 + id.
        const std::uint32_t topic = 0x80000000u + (180u << 16) + watched->objectName().toUInt();
        QWhatsThis::leaveWhatsThisMode();
        OpenHelpTopic(this, QString::number(topic));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool ScriptEditorDialog::IsLocal(const std::string& root)
{
    return root == kMyComputer;
}

void ScriptEditorDialog::FillTopLevel(QTreeWidget* tree)
{
    TopLevel(tree, kMyComputer);
    for (const std::string& server : m_servers)
        TopLevel(tree, server);
}

std::string ScriptEditorDialog::NameOf(const QTreeWidgetItem* item)
{
    const QVariant name = item->data(0, Qt::UserRole);
    return (name.isValid() ? name.toString() : item->text(0)).toStdString();
}

QTreeWidgetItem* ScriptEditorDialog::TopLevel(QTreeWidget* tree, const std::string& text)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (NameOf(tree->topLevelItem(i)) == text)
            return tree->topLevelItem(i);
    }
    // "My Computer" is shown in the user's language; the item keeps the name it stands for.
    const QString name = QString::fromStdString(text);
    auto* item = new QTreeWidgetItem(tree, {IsLocal(text) ? tr("My Computer") : name});
    item->setData(0, Qt::UserRole, name);
    item->setIcon(0, IsLocal(text) ? FileIcons::ConnectedComputer() : FileIcons::Computer());
    return item;
}

ScriptEditorDialog::ItemKey ScriptEditorDialog::KeyOf(const QTreeWidgetItem* item) const
{
    const QTreeWidgetItem* root = item->parent() ? item->parent() : item;
    return {NameOf(root), NameOf(item)};
}

void ScriptEditorDialog::RebuildRightTree(RightMode mode)
{
    if (mode == m_rightMode)
        return;
    const QSignalBlocker block(m_right);
    m_right->clear();
    FillTopLevel(m_right);
    const std::uint32_t wanted = mode == RightMode::Files ? ITEM_FILE : ITEM_FOLDER;
    for (const ScriptEditorMark& mark : m_marks) {
        if (mode == RightMode::TopLevel || mark.kind != wanted)
            continue;
        auto* item = new QTreeWidgetItem(TopLevel(m_right, mark.serverName), {QString::fromStdString(mark.path)});
        item->setIcon(0, mark.kind == ITEM_FOLDER ? FileIcons::Folder() : FileIcons::Document());
    }
    m_right->expandAll();
    m_rightMode = mode;
}

// Only targets that make a step the script can run are selectable: a download goes to a local
// folder, an upload to a server, a transfer to another server.
void ScriptEditorDialog::OfferTargets(Operation operation)
{
    const ItemKey source = KeyOf(m_current);
    const bool localSource = IsLocal(source.first);
    const QSignalBlocker block(m_right);
    m_right->setCurrentItem(nullptr);
    m_right->clearSelection();
    for (int i = 0; i < m_right->topLevelItemCount(); ++i) {
        QTreeWidgetItem* root = m_right->topLevelItem(i);
        const std::string rootText = NameOf(root);
        bool fits = false;
        switch (operation) {
        case OpDownload:
            fits = IsLocal(rootText);
            break;
        case OpUpload:
            fits = !IsLocal(rootText);
            break;
        case OpTransfer:
            fits = !IsLocal(rootText) && rootText != source.first;
            break;
        case OpAppend:
            fits = !localSource || !IsLocal(rootText);
            break;
        default:
            break;
        }
        for (int j = 0; j < root->childCount(); ++j) {
            QTreeWidgetItem* child = root->child(j);
            const bool itself = KeyOf(child) == source;
            child->setDisabled(!fits || itself);
        }
    }
}

void ScriptEditorDialog::OnSourceChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (m_pendingTarget && previous && previous == m_current) {
        if (auto entry = m_steps.find(KeyOf(previous)); entry != m_steps.end()) {
            {
                const QSignalBlocker block(m_left);
                m_left->setCurrentItem(previous);
            }
            const QString message = MissingTarget(entry->second);
            if (!message.isEmpty())
                GetInteraction().ShowMessage(message.toStdString(), MessageIcon::Warning);
            return;
        }
    }
    m_current = current;
    for (QCheckBox* box : m_operations)
        box->setChecked(false);
    if (!current || !current->parent()) {
        for (QCheckBox* box : m_operations)
            box->setEnabled(false);
        return;
    }
    const bool local = IsLocal(NameOf(current->parent()));
    m_operations[OpUpload]->setEnabled(local);
    m_operations[OpAppend]->setEnabled(true);
    for (Operation remoteOnly : {OpDownload, OpTransfer, OpChMod, OpDelete})
        m_operations[remoteOnly]->setEnabled(!local);
    m_right->setEnabled(false);
    const auto entry = m_steps.find(KeyOf(current));
    ShowEntry(entry == m_steps.end() ? nullptr : &entry->second);
}

void ScriptEditorDialog::ShowEntry(const Entry* entry)
{
    if (!entry) {
        m_rightLabel->setText(tr("Nothing to select"));
        m_permissions->hide();
        m_right->show();
        return;
    }
    m_operations[entry->operation]->setChecked(true);
    m_rightLabel->setText(tr(kOperationTexts[entry->operation].label));
    if (entry->operation == OpChMod) {
        const std::string& mode = entry->step.fileMode;
        for (int who = 0; who < 3; ++who) {
            const int digit = who < static_cast<int>(mode.size()) ? mode[who] - '0' : 0;
            for (int right = 0; right < 3; ++right)
                m_modeBoxes[who * 3 + right]->setChecked(digit & (4 >> right));
        }
        m_right->hide();
        m_permissions->show();
        return;
    }
    m_permissions->hide();
    m_right->show();
    if (entry->operation == OpDelete)
        return;
    RebuildRightTree(entry->operation == OpAppend ? RightMode::Files : RightMode::Folders);
    OfferTargets(entry->operation);
    m_right->setEnabled(true);
    if (entry->targetNode.empty())
        return;
    QTreeWidgetItem* root = TopLevel(m_right, entry->targetRoot);
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->text(0).toStdString() == entry->targetNode) {
            const QSignalBlocker block(m_right);
            m_right->setCurrentItem(root->child(i));
        }
    }
}

void ScriptEditorDialog::OnOperationClicked(Operation operation, bool checked)
{
    if (!m_current || !m_current->parent()) {
        m_operations[operation]->setChecked(!checked);
        return;
    }
    const ItemKey key = KeyOf(m_current);
    m_steps.erase(key);
    m_pendingTarget = false;
    m_permissions->hide();
    m_right->show();
    if (!checked) {
        m_rightLabel->setText(tr("Nothing to select"));
        m_right->setEnabled(false);
        return;
    }
    for (int other = 0; other < OperationCount; ++other)
        m_operations[other]->setChecked(other == operation);

    Entry entry;
    entry.operation = operation;
    entry.step.file = key.second;
    const bool local = IsLocal(key.first);
    if (!local)
        entry.step.sourceServer = key.first;
    const int kinds[] = {Download, Upload, Delete, Transfer, local ? UploadAppend : AppendTransfer, ChangeMode};
    entry.step.kind = kinds[operation];
    m_steps[key] = entry;
    m_rightLabel->setText(tr(kOperationTexts[operation].label));

    if (operation == OpDelete) {
        m_right->setEnabled(false);
        return;
    }
    m_pendingTarget = true;
    if (operation == OpChMod) {
        for (QCheckBox* box : m_modeBoxes)
            box->setChecked(false);
        m_right->hide();
        m_permissions->show();
        return;
    }
    RebuildRightTree(operation == OpAppend ? RightMode::Files : RightMode::Folders);
    OfferTargets(operation);
    m_right->setEnabled(true);
}

void ScriptEditorDialog::OnTargetChanged(QTreeWidgetItem* current)
{
    if (!current || !current->parent() || current->isDisabled() || !m_current || !m_current->parent())
        return;
    const auto found = m_steps.find(KeyOf(m_current));
    if (found == m_steps.end())
        return;
    Entry& entry = found->second;
    OperationRequest& step = entry.step;
    const std::string parent = NameOf(current->parent());
    const std::string node = current->text(0).toStdString();
    const std::string name = LastName(step.file);
    switch (step.kind) {
    case Upload:
    case Transfer:
        step.targetServer = parent;
        step.targetFile = JoinRemote(node, name);
        break;
    case Download:
        step.localPath = JoinRemote(node, name);
        break;
    case AppendTransfer:
    case DownloadAppend:
        step.targetFile = node;
        step.kind = IsLocal(parent) ? DownloadAppend : AppendTransfer;
        step.targetServer = IsLocal(parent) ? std::string() : parent;
        break;
    case UploadAppend:
        step.targetServer = parent;
        step.targetFile = node;
        break;
    default:
        return;
    }
    entry.targetRoot = parent;
    entry.targetNode = node;
    m_pendingTarget = false;
}

void ScriptEditorDialog::OnPermissionClicked()
{
    if (!m_current || !m_current->parent())
        return;
    const auto found = m_steps.find(KeyOf(m_current));
    if (found == m_steps.end())
        return;
    std::string mode;
    for (int who = 0; who < 3; ++who) {
        int digit = 0;
        for (int right = 0; right < 3; ++right)
            digit += m_modeBoxes[who * 3 + right]->isChecked() ? 4 >> right : 0;
        mode += static_cast<char>('0' + digit);
    }
    found->second.step.fileMode = mode;
    m_pendingTarget = false;
}

QString ScriptEditorDialog::MissingTarget(const Entry& entry) const
{
    const OperationRequest& step = entry.step;
    const QString file = QString::fromStdString(step.file);
    switch (step.kind) {
    case Upload:
        return step.targetFile.empty() ? tr("You must select where to upload %1\nUse the right tree view.").arg(file)
                                       : QString();
    case Download:
        return step.localPath.empty() ? tr("You must select where to download %1 \nUse the right tree view.").arg(file)
                                      : QString();
    case Transfer:
        return step.targetFile.empty() ? tr("You must select where to transfer %1\nUse the right tree view.").arg(file)
                                       : QString();
    case AppendTransfer:
    case UploadAppend:
        return step.targetFile.empty()
            ? tr("You must select the file where the %1\nwill be appended to.\nUse the right tree view.").arg(file)
            : QString();
    default:
        return QString();
    }
}

std::vector<OperationRequest> ScriptEditorDialog::Steps() const
{
    std::vector<OperationRequest> steps;
    for (const auto& [key, entry] : m_steps)
        steps.push_back(entry.step);
    // One open and close per server.
    std::stable_sort(steps.begin(), steps.end(),
                     [](const OperationRequest& a, const OperationRequest& b) { return ServerOf(a) < ServerOf(b); });
    return steps;
}

void ScriptEditorDialog::OnSave()
{
    Interaction& interaction = GetInteraction();
    // A step without its target or mode would be written as a line that does not compile.
    for (const auto& [key, entry] : m_steps) {
        QString missing = MissingTarget(entry);
        if (missing.isEmpty() && entry.step.kind == ChangeMode && entry.step.fileMode.empty())
            missing = tr("Choose the new permissions of %1 with the Owner, Group and Others boxes.")
                          .arg(QString::fromStdString(entry.step.file));
        if (!missing.isEmpty()) {
            interaction.ShowMessage(missing.toStdString(), MessageIcon::Warning);
            return;
        }
    }
    const std::vector<OperationRequest> steps = Steps();
    if (steps.empty()) {
        interaction.ShowMessage(tr("Choose an operation for at least one marked item.").toStdString(),
                                MessageIcon::Warning);
        return;
    }
    ScriptText script = WriteScript(steps);
    // The writer quotes blanks but no quoting holds a double quote or a line break, and a longer
    // line would not be read back.
    for (const OperationRequest& step : steps) {
        for (const std::string* word :
             {&step.sourceServer, &step.targetServer, &step.localPath, &step.file, &step.targetFile, &step.fileMode}) {
            if (script.unwritable.empty() && word->find('\r') != std::string::npos)
                script.unwritable = *word;
        }
    }
    if (!script.unwritable.empty()) {
        interaction.ShowMessage(tr("The script cannot hold \"%1\": a script word may not contain a double quote or a "
                                   "line break. Nothing was saved.")
                                    .arg(QString::fromStdString(script.unwritable))
                                    .toStdString(),
                                MessageIcon::Warning);
        return;
    }
    std::size_t lineStart = 0;
    while (lineStart < script.text.size()) {
        const std::size_t lineEnd = script.text.find("\r\n", lineStart);
        if (lineEnd + 2 - lineStart > kScriptLineLimit) {
            interaction.ShowMessage(tr("The line \"%1\" is longer than a script line may be (%2 bytes). Nothing was "
                                       "saved.")
                                        .arg(QString::fromStdString(script.text.substr(lineStart, lineEnd - lineStart)))
                                        .arg(kScriptLineLimit)
                                        .toStdString(),
                                    MessageIcon::Warning);
            return;
        }
        lineStart = lineEnd + 2;
    }

    const QString path = chooseFile ? chooseFile() : QString();
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(script.text.data(), static_cast<qint64>(script.text.size()))
            != static_cast<qint64>(script.text.size())
        || !file.commit()) {
        interaction.ShowMessage(
            tr("The script could not be saved as %1: %2").arg(path, file.errorString()).toStdString(),
            MessageIcon::Error);
        return;
    }
    m_savedPath = path;
    accept();
}
