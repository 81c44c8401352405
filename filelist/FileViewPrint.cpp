// Printing the names of the folder the list shows, with a preview and the page setup the user
// chose last in this run.
#include "filelist/CFileView.h"
#include "filelist/ListingPages.h"
#include "operations/Interaction.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

// The page setup of the run: Page Setup sets it, every printer made afterwards starts from it.
struct KeptPageSetup {
    QPageLayout layout;
    QString printerName;
};

KeptPageSetup& PageSetup()
{
    static KeptPageSetup kept;
    return kept;
}

void ApplyPageSetup(QPrinter& printer)
{
    const KeptPageSetup& kept = PageSetup();
    if (!kept.printerName.isEmpty())
        printer.setPrinterName(kept.printerName);
    if (kept.layout.isValid())
        printer.setPageLayout(kept.layout);
}

// A listing that is empty or starts with a notice ("No Files", "No Connection") has nothing to print.
bool HasSomethingToPrint(const CFileListModel& model)
{
    return model.rowCount() > 0 && !model.IsMessageRow(0);
}

void SayNothingToPrint()
{
    GetInteraction().ShowMessage(CFileView::tr("Tarvo did not find anything to print.").toStdString(),
                                 MessageIcon::Warning);
}

QString PrintedText(const CFileListModel& model, int row)
{
    const FileRow* entry = model.Row(row);
    if (!entry || entry->message)
        return {};
    return entry->item.kind == ITEM_FOLDER ? entry->shownName + QLatin1Char('/') : entry->shownName;
}

} // namespace

bool CFileView::PrintListing(QPrinter& printer)
{
    const CFileListModel& model = *m_model;
    if (!HasSomethingToPrint(model)) {
        SayNothingToPrint();
        return false;
    }
    // The painter's origin goes to the corner of what the printer can print on; the margins the
    // user chose are measured from the paper's edge.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;

    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QRectF paper = layout.fullRect();
    const QMarginsF margins = layout.margins();
    const QMarginsF minimum = layout.minimumMargins();
    const double pixelsPerMm = printer.resolution() / 25.4;
    const int printableWidth = static_cast<int>((paper.width() - minimum.left() - minimum.right()) * pixelsPerMm);
    const int printableHeight = static_cast<int>((paper.height() - minimum.top() - minimum.bottom()) * pixelsPerMm);
    painter.translate(minimum.left() * pixelsPerMm, minimum.top() * pixelsPerMm);

    const PageSetupValues setup{paper.width(),    paper.height(), margins.left(), margins.top(),   margins.right(),
                                margins.bottom(), minimum.left(), minimum.top(),  minimum.right(), minimum.bottom()};
    const QFontMetrics metrics = painter.fontMetrics();
    const ListingGeometry geometry = MakeListingGeometry(setup, printableWidth, printableHeight, metrics.lineSpacing());

    std::vector<QString> texts;
    std::vector<int> widths;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts.push_back(PrintedText(model, row));
        widths.push_back(metrics.horizontalAdvance(texts.back()));
    }
    const int perColumn = RowsPerColumn(geometry, model.rowCount());
    const std::vector<ListingPage> pages = PaginateListing(widths, perColumn, geometry.rightLimit);
    const QString header = CurrentFolder();
    for (std::size_t number = 0; number < pages.size(); ++number) {
        if (number > 0 && !printer.newPage())
            break;
        painter.drawText(geometry.leftEdge, geometry.topEdge + metrics.ascent(), header);
        const PageLayout placed = LayoutListingPage(pages[number], widths, geometry, perColumn);
        for (const SeparatorLine& line : placed.separators)
            painter.drawLine(line.x, line.top, line.x, line.bottom);
        for (const PlacedRow& row : placed.rows) {
            const QString& text = texts[static_cast<std::size_t>(row.row)];
            if (!text.isEmpty())
                painter.drawText(row.x, row.y + metrics.ascent(), text);
        }
    }
    return painter.end();
}

void CFileView::OnPrint()
{
    if (!HasSomethingToPrint(*m_model)) {
        SayNothingToPrint();
        return;
    }
    QPrinter printer;
    ApplyPageSetup(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintListing(printer);
}

void CFileView::OnPrintPreview()
{
    if (!HasSomethingToPrint(*m_model)) {
        SayNothingToPrint();
        return;
    }
    QPrinter printer;
    ApplyPageSetup(printer);
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* shown) { PrintListing(*shown); });
    dialog.exec();
}

void CFileView::OnPageSetup()
{
    QPrinter printer;
    ApplyPageSetup(printer);
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PageSetup().layout = printer.pageLayout();
    PageSetup().printerName = printer.printerName();
}
