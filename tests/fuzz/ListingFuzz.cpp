// The listing parser: bytes of a data connection, collected into lines and parsed line by line.
#include "ListFormats.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    std::string whole;
    qorftp::ListingCollector once(whole);
    once.Add(input);
    once.Finish();

    // The same bytes in two reads, cut where the input says: the lines must not depend on where
    // a read happened to end (a CR LF or a line split between reads).
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    std::string split;
    qorftp::ListingCollector twice(split);
    twice.Add(input.substr(0, cut));
    twice.Add(input.substr(cut));
    twice.Finish();
    if (split != whole || twice.Count() != once.Count())
        std::abort();

    std::size_t lines = 0;
    std::string_view rest(whole);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos)
            std::abort(); // every kept line ends in LF
        const std::string_view line = rest.substr(0, end);
        // Kept lines are not blank, hold no NUL and have lost the CRs before their end.
        if (line.find_first_not_of(" \t\r\v\f") == std::string_view::npos || line.find('\0') != std::string_view::npos
            || line.back() == '\r')
            std::abort();
        const _Qor_Ftp_FileData record = qorftp::ParseListLine(line);
        if (record.Name.size() > line.size() || record.Type < 0 || record.Type > 3)
            std::abort();
        rest.remove_prefix(end + 1);
        ++lines;
    }
    if (lines != once.Count())
        std::abort();

    // Read entry by entry as GetNextFile does: every step moves on by one line or two, and the
    // unread count never exceeds the lines.
    std::size_t steps = 0;
    std::size_t unread = 0;
    _Qor_Ftp_FileData record;
    for (std::size_t at = 0; at < whole.size(); ++steps) {
        const std::size_t before = at;
        if (qorftp::ReadListEntry(whole, at, record) == qorftp::ListingLine::Unread)
            ++unread;
        if (at <= before || record.Type < 0 || record.Type > 3)
            std::abort();
    }
    if (steps > lines || unread != qorftp::CountUnreadLines(whole))
        std::abort();
    return 0;
}
