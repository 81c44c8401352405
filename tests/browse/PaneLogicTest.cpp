// The rules of the panes that need no server: listing records to rows, the row order, and the
// paths of tree nodes, as tables.
#include "filelist/FileRow.h"
#include "tree/TreePaths.h"

#include "QorFtp.h"

#include <QtTest>

#include <algorithm>

namespace {

_Qor_Ftp_FileData Record(int type, const char* name, std::uint64_t size = 0)
{
    _Qor_Ftp_FileData record;
    record.Type = type;
    record.Name = name;
    record.Size = size;
    record.Date = "Jan 02 12:34";
    return record;
}

} // namespace

class PaneLogicTest : public QObject {
    Q_OBJECT

private slots:
    void remoteRows_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("listed");
        QTest::addColumn<qulonglong>("size");
        QTest::addColumn<int>("showName");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("itemName");
        QTest::addColumn<QString>("sizeText");
        QTest::addColumn<QString>("typeText");

        QTest::newRow("0 bytes") << 0 << "a" << 0ull << 0 << "a" << "a" << "1 KB" << " File";
        QTest::newRow("2047 bytes") << 0 << "b.txt" << 2047ull << 0 << "b.txt" << "b.txt" << "1 KB" << "txt File";
        QTest::newRow("5 GiB") << 0 << "disk.img" << (5ull << 30) << 0 << "disk.img" << "disk.img" << "5242880 KB"
                               << "img File";
        QTest::newRow("upper case") << 0 << "readme.txt" << 1ull << 1 << "README.TXT" << "readme.txt" << "1 KB"
                                    << "txt File";
        QTest::newRow("lower case") << 0 << "Notes.TXT" << 1ull << 2 << "notes.txt" << "Notes.TXT" << "1 KB"
                                    << "txt File";
        QTest::newRow("folder keeps its case") << 1 << "Docs" << 4096ull << 1 << "Docs" << "Docs" << "" << "File Folder";
        QTest::newRow("link") << 2 << "bin -> usr/bin" << 7ull << 0 << "bin" << "bin" << "1 KB" << "Link to usr/bin";
        QTest::newRow("special file") << 3 << "fifo" << 0ull << 0 << "fifo" << "fifo" << "1 KB" << "Link to ";
    }

    void remoteRows()
    {
        QFETCH(int, type);
        QFETCH(QString, listed);
        QFETCH(qulonglong, size);
        QFETCH(int, showName);
        const std::string name = listed.toStdString();
        const std::optional<FileRow> row = MakeRemoteRow(Record(type, name.c_str(), size), showName);
        QVERIFY(row);
        QTEST(row->shownName, "shown");
        QTEST(QString::fromStdString(row->item.name), "itemName");
        QTEST(row->item.kind == ITEM_FOLDER ? QString() : SizeText(row->item.size), "sizeText");
        QTEST(row->typeText, "typeText");
        QCOMPARE(row->modified, QStringLiteral("Jan 02 12:34"));
    }

    void entriesNotShown()
    {
        for (const char* name : {".", "..", "shortcut.LNK"})
            QVERIFY(!MakeRemoteRow(Record(name[0] == '.' ? 1 : 0, name), 0));
        QVERIFY(!MakeRemoteRow(Record(2, "x -> lnk"), 0));
    }

    void folderBeforeFilesNamesIgnoringCase()
    {
        std::vector<FileRow> rows;
        for (auto [type, name] : {std::pair{0, "alpha"}, {2, "link -> a"}, {0, "B.txt"}, {1, "zeta"}, {0, "a.txt"}})
            rows.push_back(*MakeRemoteRow(Record(type, name), 0));
        std::sort(rows.begin(), rows.end(), FileRowLess);
        QStringList order;
        for (const FileRow& row : rows)
            order << row.shownName;
        QCOMPARE(order, QStringList({"zeta", "a.txt", "alpha", "B.txt", "link"}));
    }

    void nodePaths()
    {
        QCOMPARE(ServerNameOfTexts({"a/b server", "/pub"}), QStringLiteral("a/b server"));
        QCOMPARE(RemotePathOfTexts({"srv", "/pub", "incoming"}, {}), QStringLiteral("/pub/incoming"));
        QCOMPARE(RemotePathOfTexts({"srv", "/", "bin"}, {}), QStringLiteral("/bin"));
        QCOMPARE(RemotePathOfTexts({"srv"}, QStringLiteral("/home/ann")), QStringLiteral("/home/ann"));
        QCOMPARE(LocalPathOfTexts(QStringLiteral("/home/ann"), {"Documents", "x"}), QStringLiteral("/home/ann/Documents/x"));
        QCOMPARE(LocalPathOfTexts(QStringLiteral("/"), {"tmp"}), QStringLiteral("/tmp"));
        QCOMPARE(LocalPathOfTexts({}, {}), QString());
    }

    void startFolderOneLevelUp_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("up");  // empty: stays
        QTest::newRow("two levels") << "/pub/incoming" << "/pub";
        QTest::newRow("one level") << "/pub" << "/";
        QTest::newRow("root") << "/" << "";
        QTest::newRow("trailing slash") << "/pub/incoming/" << "/pub";
        QTest::newRow("backslashes") << "C:\\data\\x" << "C:\\data";
        QTest::newRow("no separator") << "home" << "";
    }

    void startFolderOneLevelUp()
    {
        QFETCH(QString, directory);
        QFETCH(QString, up);
        QCOMPARE(ParentStartDirectory(directory).value_or(QString()), up);
    }
};

QTEST_GUILESS_MAIN(PaneLogicTest)
#include "PaneLogicTest.moc"
