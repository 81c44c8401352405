// The "Script" dialog: turns the items marked in the file list into script steps, one operation
// per item with its target chosen among the other marked items, and saves them as a script file.
#pragma once

#include "operations/OperationRequest.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// One marked item as the dialog needs it: the tree root it was marked under ("My Computer" or a
// server name), its full path, and its kind (ITEM_FOLDER, ITEM_FILE, ...).
struct ScriptEditorMark {
    std::string serverName;
    std::string path;
    std::uint32_t kind = 0;
};

class ScriptEditorDialog : public QDialog {
    Q_OBJECT
public:
    // `servers` in the order the trees show them, after "My Computer".
    ScriptEditorDialog(std::vector<ScriptEditorMark> marks, std::vector<std::string> servers,
                       QWidget* parent = nullptr);

    // Asks where to save; an empty path cancels. A save dialog unless replaced (tests do).
    std::function<QString()> chooseFile;

    // The file written by Save, once the dialog was accepted.
    const QString& SavedPath() const { return m_savedPath; }
    // The steps in the order Save writes them.
    std::vector<OperationRequest> Steps() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Operation { OpDownload, OpUpload, OpDelete, OpTransfer, OpAppend, OpChMod, OperationCount };
    // What the right tree offers below its top-level nodes.
    enum class RightMode { TopLevel, Folders, Files };
    // A step is known by its item's root and path: two servers may mark the same path.
    using ItemKey = std::pair<std::string, std::string>;
    struct Entry {
        OperationRequest step;
        Operation operation = OpDelete;
        std::string targetRoot; // the right tree's node that holds the target, to select it again
        std::string targetNode;
    };

    void FillTopLevel(QTreeWidget* tree);
    QTreeWidgetItem* TopLevel(QTreeWidget* tree, const std::string& text);
    void RebuildRightTree(RightMode mode);
    void OfferTargets(Operation operation);

    void OnSourceChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void OnOperationClicked(Operation operation, bool checked);
    void OnTargetChanged(QTreeWidgetItem* current);
    void OnPermissionClicked();
    void OnSave();

    void ShowEntry(const Entry* entry);
    // The message that asks for the missing target of `entry`; empty when it has one.
    QString MissingTarget(const Entry& entry) const;
    ItemKey KeyOf(const QTreeWidgetItem* item) const;
    static bool IsLocal(const std::string& root);
    // A top-level item's server name (or "My Computer"), whatever its shown text.
    static std::string NameOf(const QTreeWidgetItem* item);

    std::vector<ScriptEditorMark> m_marks;
    std::vector<std::string> m_servers;
    QTreeWidget* m_left = nullptr;
    QTreeWidget* m_right = nullptr;
    QLabel* m_rightLabel = nullptr;
    QWidget* m_permissions = nullptr;
    std::array<QCheckBox*, OperationCount> m_operations{};
    std::array<QCheckBox*, 9> m_modeBoxes{}; // owner, group, others; each read, write, execute
    std::map<ItemKey, Entry> m_steps;
    QTreeWidgetItem* m_current = nullptr;
    bool m_pendingTarget = false;
    RightMode m_rightMode = RightMode::TopLevel;
    QString m_savedPath;
};
