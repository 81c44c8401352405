// What a screen reader hears on the main window's toolbar: every control has a name.
#include "GuiTestSupport.h"
#include "app/MainFrame.h"
#include "app/SelkDoc.h"

#include <QAccessible>
#include <QTest>
#include <QToolBar>

class AccessibleNamesTest : public QObject {
    Q_OBJECT

    TemporarySettings m_settings;

private slots:
    void toolbarControlsNamed()
    {
        QVERIFY(m_settings.IsValid());
        CSelkDoc document;
        CMainFrame frame(document);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QAccessibleInterface* toolbar
            = QAccessible::queryAccessibleInterface(frame.findChild<QToolBar*>(QStringLiteral("FtpToolBar")));
        QVERIFY(toolbar);
        QStringList unnamed;
        for (int i = 0; i < toolbar->childCount(); ++i) {
            QAccessibleInterface* child = toolbar->child(i);
            // Separators and the stretch are layout, not controls.
            const QObject* object = child->object();
            if (child->state().invisible || !object || object->inherits("QToolBarSeparator")
                || object->objectName() == QLatin1String("ToolBarStretch"))
                continue;
            if (child->text(QAccessible::Name).isEmpty())
                unnamed << QStringLiteral("%1 %2").arg(QString::fromLatin1(object->metaObject()->className()),
                                                       object->objectName());
        }
        QCOMPARE(unnamed, QStringList());
    }
};

QTEST_MAIN(AccessibleNamesTest)
#include "AccessibleNamesTest.moc"
