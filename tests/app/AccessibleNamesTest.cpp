// What a screen reader hears: every control of every window has a name, and the details view
// reads as a table with its column headers.
#include "EveryWindow.h"
#include "GuiTestSupport.h"

#include <QAccessible>
#include <QTest>
#include <QTreeView>

class AccessibleNamesTest : public QObject {
    Q_OBJECT

    TemporarySettings m_settings;

    // "role class name" of every control below `node` that a screen reader cannot name. The
    // items of a list, tree or table are data, named by their text.
    static void Unnamed(QAccessibleInterface* node, QStringList& found)
    {
        static const QSet<QAccessible::Role> controls{
            QAccessible::PushButton, QAccessible::CheckBox,     QAccessible::RadioButton,    QAccessible::ComboBox,
            QAccessible::SpinBox,    QAccessible::EditableText, QAccessible::List,           QAccessible::Tree,
            QAccessible::Table,      QAccessible::ButtonMenu,   QAccessible::ButtonDropDown, QAccessible::Slider};
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            if (!child || child->state().invisible)
                continue;
            const QAccessible::Role role = child->role();
            const QObject* object = child->object();
            // On the toolbar every control counts, the busy indicator too; separators and the
            // stretch are layout.
            const bool onToolbar = object && object->parent() && object->parent()->inherits("QToolBar")
                && !object->inherits("QToolBarSeparator") && !object->inherits("QToolBarExtension")
                && object->objectName() != QLatin1String("ToolBarStretch");
            if ((controls.contains(role) || onToolbar) && child->text(QAccessible::Name).trimmed().isEmpty()) {
                found << QStringLiteral("%1 %2 %3")
                             .arg(QString::number(role),
                                  object ? QString::fromLatin1(object->metaObject()->className()) : QString(),
                                  object ? object->objectName() : QString());
            }
            // A spin box's editor is a part of the named box, as in every Qt spin box.
            if (role != QAccessible::List && role != QAccessible::Tree && role != QAccessible::Table
                && role != QAccessible::SpinBox)
                Unnamed(child, found);
        }
    }

private slots:
    void initTestCase() { QVERIFY(m_settings.IsValid()); }

    void everyControlNamed_data() { AddEveryWindowRows(); }
    void everyControlNamed()
    {
        QFETCH(WindowFactory, window);
        const std::unique_ptr<QWidget> shown = window();
        QVERIFY(Show(shown.get()));
        QStringList found;
        Unnamed(QAccessible::queryAccessibleInterface(shown.get()), found);
        for (const QString& control : found)
            qWarning("no name: %s", qPrintable(control));
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("%1 controls without a name").arg(found.size())));
    }

    // The details view is heard as a table: its name, then each cell with its column's header.
    void detailsReadAsTable()
    {
        const std::unique_ptr<QWidget> frame = MainWindowWithPanes();
        QVERIFY(Show(frame.get()));
        auto* details = frame->findChild<QTreeView*>(QStringLiteral("FileViewDetails"));
        QVERIFY(details && details->isVisible());
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(details);
        QVERIFY(!view->text(QAccessible::Name).isEmpty());
        QAccessibleTableInterface* table = view->tableInterface();
        QVERIFY(table);
        QStringList headers;
        for (int column = 0; column < table->columnCount(); ++column)
            headers << table->columnDescription(column);
        QCOMPARE(headers, QStringList({"Name", "Size", "Type", "Modified"}));
    }
};

QTEST_MAIN(AccessibleNamesTest)
#include "AccessibleNamesTest.moc"
