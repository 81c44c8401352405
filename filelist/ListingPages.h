// The layout of a printed folder listing: names in as many columns as fit across the page, under
// a header line with the folder's path. Plain arithmetic in the printer's device units, so the
// layout can be checked without a printer.
#pragma once

#include <vector>

// The page setup in one unit (millimetres, say): the paper, the margins the user chose and the
// margins the printer cannot print on.
struct PageSetupValues {
    double paperWidth = 0;
    double paperHeight = 0;
    double left = 0, top = 0, right = 0, bottom = 0;
    double minLeft = 0, minTop = 0, minRight = 0, minBottom = 0;
};

// Where the listing goes on the printable area (device units, origin at its top-left corner).
struct ListingGeometry {
    int lineHeight = 0;
    int leftEdge = 0;
    int topEdge = 0;
    int bottomLimit = 0; // rows do not reach it
    int rightLimit = 0; // the width the columns must stay under
};

inline constexpr int kListingColumnGap = 50;
inline constexpr int kListingSeparatorOffset = 25; // the separator line stands this far left of a column

ListingGeometry MakeListingGeometry(const PageSetupValues& setup, int printableWidth, int printableHeight,
                                    int lineHeight);

// How many names one column holds; all of them when the page holds them all, or when it holds
// none (then they run off the page rather than not print).
int RowsPerColumn(const ListingGeometry& geometry, int rowCount);

struct ListingPage {
    int rowCount = 0;
    int firstRow = 0;
    bool operator==(const ListingPage&) const = default;
};

// The pages of rows whose printed texts are `widths` wide: each takes the columns that fit under
// the right limit, at least one.
std::vector<ListingPage> PaginateListing(const std::vector<int>& widths, int rowsPerColumn, int rightLimit);

struct PlacedRow {
    int row = 0;
    int x = 0;
    int y = 0; // top of the line
    bool operator==(const PlacedRow&) const = default;
};
struct SeparatorLine {
    int x = 0;
    int top = 0;
    int bottom = 0;
    bool operator==(const SeparatorLine&) const = default;
};
struct PageLayout {
    std::vector<PlacedRow> rows;
    std::vector<SeparatorLine> separators;
};

// Where the rows of one page are drawn: top to bottom from two lines under the header, a new
// column right of the widest text of the last one, with a separator line between.
PageLayout LayoutListingPage(const ListingPage& page, const std::vector<int>& widths, const ListingGeometry& geometry,
                             int rowsPerColumn);
