// Printing a folder's names: the column and page layout as arithmetic, and the file list printing
// to PDF, read back as text.
#include "RecordingInteraction.h"
#include "TempDir.h"
#include "TemporarySettings.h"

#include "app/BrowsePanes.h"
#include "app/MainFrame.h"
#include "app/SelkDoc.h"
#include "dialogs/CommandIds.h"
#include "filelist/CFileView.h"
#include "filelist/ListingPages.h"
#include "listing/TreePaths.h"
#include "tree/CPathView.h"

#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <filesystem>

using tarvo::test::RecordingInteraction;
using tarvo::test::TempDir;
using tarvo::test::TemporarySettings;

Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(std::vector<ListingPage>)

namespace {

FileRow Row(const QString& name, bool folder = false)
{
    FileRow row;
    row.item.kind = folder ? ITEM_FOLDER : ITEM_FILE;
    row.item.name = name.toStdString();
    row.shownName = name;
    return row;
}

// The pages of a PDF as `pdftotext -layout` lays them out.
QStringList PdfPages(const QString& path)
{
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!text.waitForFinished(20000) || text.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QStringList Words(const QString& text)
{
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

    TemporarySettings m_settings;
    RecordingInteraction m_ask;
    TempDir m_out;
    QString m_pdf = QString::fromStdString(m_out.file("listing.pdf"));

    // Shows `rows` as the local folder `folder` and prints them to the PDF.
    bool Print(CFileView& list, const QString& folder, std::vector<FileRow> rows)
    {
        QSignalSpy filled(&list, &CFileView::FillFinished);
        list.ShowRows(QString::fromLatin1(kMyComputer), folder, std::move(rows));
        if (filled.isEmpty() && !filled.wait(10000))
            return false;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdf);
        printer.setPageSize(QPageSize(QPageSize::A6));
        return list.PrintListing(printer);
    }

private slots:
    void init()
    {
        m_ask = RecordingInteraction();
        SetInteraction(&m_ask);
    }
    void cleanup()
    {
        SetInteraction(nullptr);
        QFile::remove(m_pdf);
    }

    void geometryFromPageSetup()
    {
        // A4 in millimetres with 20 mm margins of which the printer cannot print on 5.
        const PageSetupValues setup{210, 297, 20, 20, 20, 20, 5, 5, 5, 5};
        const ListingGeometry geometry = MakeListingGeometry(setup, 2000, 3000, 40);
        QCOMPARE(geometry.leftEdge, 142);
        QCOMPARE(geometry.topEdge, 151);
        QCOMPARE(geometry.bottomLimit, 3000 - 151);
        QCOMPARE(geometry.rightLimit, 2000 - 142 - 142);
    }

    void rowsPerColumn_data()
    {
        QTest::addColumn<int>("lineHeight");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("perColumn");
        QTest::newRow("first that reaches") << 10 << 100 << 20 << 7;
        QTest::newRow("just short") << 10 << 101 << 20 << 8;
        QTest::newRow("all fit") << 10 << 100 << 5 << 5;
        QTest::newRow("no line fits") << 10 << 25 << 20 << 20;
    }
    void rowsPerColumn()
    {
        QFETCH(int, lineHeight);
        QFETCH(int, height);
        QFETCH(int, rows);
        ListingGeometry geometry;
        geometry.lineHeight = lineHeight;
        geometry.topEdge = 30;
        geometry.bottomLimit = 30 + height;
        QTEST(RowsPerColumn(geometry, rows), "perColumn");
    }

    void pagination_data()
    {
        QTest::addColumn<std::vector<int>>("widths");
        QTest::addColumn<int>("perColumn");
        QTest::addColumn<int>("rightLimit");
        QTest::addColumn<std::vector<ListingPage>>("pages");
        QTest::newRow("one column") << std::vector<int>(3, 100) << 10 << 1000 << std::vector<ListingPage>{{3, 0}};
        QTest::newRow("columns, then a page")
            << std::vector<int>(25, 100) << 10 << 400 << std::vector<ListingPage>{{20, 0}, {5, 20}};
        QTest::newRow("gap reaching the limit")
            << std::vector<int>(25, 150) << 10 << 400 << std::vector<ListingPage>{{10, 0}, {10, 10}, {5, 20}};
        QTest::newRow("column wider than the page")
            << std::vector<int>(12, 1000) << 10 << 400 << std::vector<ListingPage>{{10, 0}, {2, 10}};
        std::vector<int> oneWide(20, 10);
        oneWide[15] = 300;
        QTest::newRow("widest name sets the column")
            << oneWide << 10 << 400 << std::vector<ListingPage>{{10, 0}, {10, 10}};
    }
    void pagination()
    {
        QFETCH(std::vector<int>, widths);
        QFETCH(int, perColumn);
        QFETCH(int, rightLimit);
        QFETCH(std::vector<ListingPage>, pages);
        QVERIFY(PaginateListing(widths, perColumn, rightLimit) == pages);
    }

    void pageLayoutPlacesColumnsAndSeparators()
    {
        ListingGeometry geometry;
        geometry.leftEdge = 10;
        geometry.topEdge = 20;
        geometry.lineHeight = 10;
        geometry.bottomLimit = 100;
        const PageLayout layout = LayoutListingPage({5, 0}, {100, 200, 50, 60, 70}, geometry, 2);
        QVERIFY((layout.rows
                 == std::vector<PlacedRow>{{0, 10, 40}, {1, 10, 50}, {2, 260, 40}, {3, 260, 50}, {4, 370, 40}}));
        QVERIFY((layout.separators == std::vector<SeparatorLine>{{235, 40, 100}, {345, 40, 100}}));
    }

    void threeNamesPrintOneColumnUnderThePath()
    {
        TempDir folder;
        const QString path = QString::fromStdString(folder.path()) + QLatin1Char('/');
        CFileView list;
        QVERIFY(Print(
            list, path,
            {Row(QStringLiteral("gamma"), true), Row(QStringLiteral("alpha.txt")), Row(QStringLiteral("beta.txt"))}));
        const QStringList pages = PdfPages(m_pdf);
        QCOMPARE(pages.size(), 1);
        QStringList lines = pages[0].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString& line : lines)
            line = line.trimmed();
        lines.removeAll(QString());
        QCOMPARE(
            lines,
            (QStringList{path, QStringLiteral("gamma/"), QStringLiteral("alpha.txt"), QStringLiteral("beta.txt")}));
        QVERIFY(m_ask.asked.empty());
    }

    void manyNamesFillColumnsBeforeTheNextPage()
    {
        std::vector<FileRow> rows;
        QStringList names;
        for (int i = 0; i < 400; ++i) {
            names << QStringLiteral("n%1").arg(i, 3, 10, QLatin1Char('0'));
            rows.push_back(Row(names.back()));
        }
        TempDir folder;
        CFileView list;
        QVERIFY(Print(list, QString::fromStdString(folder.path()) + QLatin1Char('/'), std::move(rows)));
        const QStringList pages = PdfPages(m_pdf);
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        // Page after page, every name once, and each page's names follow the last page's.
        QStringList printed;
        for (const QString& page : pages) {
            QStringList onPage = Words(page).filter(QRegularExpression(QStringLiteral("^n\\d{3}$")));
            QVERIFY(!onPage.isEmpty());
            onPage.sort();
            QVERIFY(printed.isEmpty() || printed.last() < onPage.first());
            printed << onPage;
        }
        QCOMPARE(printed, names);
        // The first page's first line holds a name of each column, left to right.
        const QStringList firstLine = Words(pages[0].split(QLatin1Char('\n')).filter(QStringLiteral("n000")).value(0));
        QVERIFY2(firstLine.size() >= 2, qPrintable(firstLine.join(QLatin1Char(' '))));
        QVERIFY(firstLine.first() == QStringLiteral("n000") && firstLine[0] < firstLine[1]);
    }

    void nothingToPrintSaysSoAndMakesNoFile()
    {
        TempDir folder;
        CFileView list;
        QVERIFY(!Print(list, QString::fromStdString(folder.path()) + QLatin1Char('/'), {}));
        QCOMPARE(m_ask.Of("message"), std::vector<std::string>{"Tarvo did not find anything to print."});
        QVERIFY(!QFile::exists(m_pdf));
    }

    void windowCommandsReachTheList()
    {
        CSelkDoc document;
        CMainFrame frame(document);
        auto* tree = new CPathView;
        auto* list = new CFileView;
        frame.SetPanes(tree, list);
        ConnectPaneCommands(tree, list, [&frame](int id) { return frame.Command(id); });
        list->ShowMessage(QStringLiteral("No Files"));
        QVERIFY(frame.Command(Command::PageSetup)->isEnabled());
        QCOMPARE(frame.Command(Command::Print)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        // With nothing to print neither command gets as far as its dialog.
        for (int id : {Command::Print, Command::PrintPreview}) {
            QVERIFY(frame.Command(id)->isEnabled());
            frame.Command(id)->trigger();
        }
        QCOMPARE(m_ask.Of("message").size(), std::size_t(2));
    }
};

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
