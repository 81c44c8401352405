// Listing lines in the formats servers use, and the collector that keeps a listing as it arrives:
// pure text handling, no sockets.
#pragma once

#include "QorFtp.h"

#include <string>
#include <string_view>

namespace qorftp {

// What a line of a LIST reply holds: an entry, a line that names none ("total 12", headings),
// or one that no format known here reads.
enum class ListingLine { Entry, Noise, Unread };

// One LIST line in any format known here: Unix ls -l and its variants, Windows/IIS, NetWare,
// EPLF, VShell, OS/2, VMS, MVS and AS/400. An empty Name when the line holds no entry. Dates
// come as ls writes them, which the program reads: the listed words for ls, otherwise
// "Dec 07 06:22" within `thisYear` and "Dec 07 2025" before it (0: the current year).
_Qor_Ftp_FileData ParseListLine(std::string_view line, int thisYear = 0);

// The entry that starts at `at` in `lines` (each line ended by LF): `at` moves past the lines it
// takes, two where VMS wraps a long name onto a line of its own.
ListingLine ReadListEntry(std::string_view lines, std::size_t& at, _Qor_Ftp_FileData& rec, int thisYear = 0);

// How many lines of `lines` no format reads.
std::size_t CountUnreadLines(std::string_view lines);

// Collects a listing as it arrives, split at LF or NUL (CRs before it dropped), keeping only the
// lines that are not blank, into `lines`, each ended by one LF: a flood of empty lines costs
// nothing, and the memory stays near the size of the listing itself.
class ListingCollector {
public:
    explicit ListingCollector(std::string& lines)
        : m_lines(lines)
    {
    }
    void Add(std::string_view bytes);
    void Finish(); // a last line without a line end counts too
    std::size_t Count() const { return m_count; }

private:
    void Keep(std::string_view line);

    std::string& m_lines;
    std::string m_partial; // the start of a line whose end has not arrived yet
    std::size_t m_count = 0;
};

// A date in the form the program reads (see ReadListEntry): "Dec 07 06:22" in this year (the
// current one when 0), "Dec 07 2025" in another.
std::string ListedDate(int year, int month, int day, int hour, int minute, int thisYear = 0);

} // namespace qorftp
