#include "filelist/ListingPages.h"

#include <algorithm>

namespace {

int Scaled(double length, int pixels, double paper)
{
    return paper > 0 ? static_cast<int>(length * pixels / paper) : 0;
}

} // namespace

ListingGeometry MakeListingGeometry(const PageSetupValues& setup, int printableWidth, int printableHeight,
                                    int lineHeight)
{
    ListingGeometry geometry;
    geometry.lineHeight = lineHeight;
    geometry.leftEdge = Scaled(setup.left - setup.minLeft, printableWidth, setup.paperWidth);
    geometry.topEdge = Scaled(setup.top - setup.minTop, printableHeight, setup.paperHeight);
    geometry.bottomLimit = printableHeight - Scaled(setup.bottom - setup.minBottom, printableHeight, setup.paperHeight);
    geometry.rightLimit
        = printableWidth - Scaled(setup.right - setup.minRight, printableWidth, setup.paperWidth) - geometry.leftEdge;
    return geometry;
}

int RowsPerColumn(const ListingGeometry& geometry, int rowCount)
{
    const int height = geometry.bottomLimit - geometry.topEdge;
    int rows = 0;
    while (rows < rowCount && (rows + 3) * geometry.lineHeight < height)
        ++rows;
    return rows == 0 ? rowCount : rows;
}

std::vector<ListingPage> PaginateListing(const std::vector<int>& widths, int rowsPerColumn, int rightLimit)
{
    std::vector<ListingPage> pages;
    const int total = static_cast<int>(widths.size());
    if (rowsPerColumn <= 0)
        rowsPerColumn = std::max(total, 1);
    int first = 0;
    while (first < total) {
        int next = first;
        int used = 0;
        int columns = 0;
        while (next < total) {
            const int end = std::min(total, next + rowsPerColumn);
            used += *std::max_element(widths.begin() + next, widths.begin() + end) + kListingColumnGap;
            if (rightLimit <= used)
                break;
            ++columns;
            next = end;
        }
        const int count = std::min(total - first, std::max(columns, 1) * rowsPerColumn);
        pages.push_back({count, first});
        first += count;
    }
    return pages;
}

PageLayout LayoutListingPage(const ListingPage& page, const std::vector<int>& widths, const ListingGeometry& geometry,
                             int rowsPerColumn)
{
    PageLayout layout;
    const int top = geometry.topEdge + 2 * geometry.lineHeight;
    int x = geometry.leftEdge;
    int y = top;
    int widest = 0;
    for (int i = 0; i < page.rowCount; ++i) {
        const int row = page.firstRow + i;
        if (i > 0 && rowsPerColumn > 0 && i % rowsPerColumn == 0) {
            x += widest + kListingColumnGap;
            y = top;
            widest = 0;
            layout.separators.push_back({x - kListingSeparatorOffset, y, geometry.bottomLimit});
        }
        layout.rows.push_back({row, x, y});
        widest = std::max(widest, widths[static_cast<std::size_t>(row)]);
        y += geometry.lineHeight;
    }
    return layout;
}
