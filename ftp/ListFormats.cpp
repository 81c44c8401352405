// Listing lines in the formats servers use, and the collector that keeps a listing as it arrives.
#include "ListFormats.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace qorftp {

namespace {

bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::uint64_t LeadingNumber(std::string_view text)
{
    std::uint64_t value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        unsigned digit = static_cast<unsigned>(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return UINT64_MAX;
        value = value * 10 + digit;
    }
    return value;
}

} // namespace

// Listing lines: every format is tried on each line, Unix first, as servers never say which they use.

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

bool StartsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

// Listings are bytes in no known locale: only ASCII letters fold.
char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// The first blank-separated words of a line, as views into it, so that a name can be taken as
// the rest of the line with its own blanks.
struct Fields {
    static constexpr std::size_t kMax = 12;
    std::string_view line;
    std::string_view word[kMax];
    std::size_t count = 0;

    explicit Fields(std::string_view text)
        : line(text)
    {
        std::size_t at = 0;
        while (count < kMax) {
            while (at < line.size() && IsBlank(line[at]))
                ++at;
            if (at >= line.size())
                break;
            const std::size_t start = at;
            while (at < line.size() && !IsBlank(line[at]))
                ++at;
            word[count++] = line.substr(start, at - start);
        }
    }
    std::string_view operator[](std::size_t i) const { return i < count ? word[i] : std::string_view(); }
    std::size_t End(std::size_t i) const
    {
        return static_cast<std::size_t>(word[i].data() - line.data()) + word[i].size();
    }
    // From the one blank that separates columns on: a name's own leading blanks stay.
    std::string_view After(std::size_t i) const
    {
        const std::size_t end = End(i);
        return end + 1 < line.size() ? line.substr(end + 1) : std::string_view();
    }
    // Behind columns padded to a width, where a leading blank cannot be told from the padding.
    std::string_view AfterPadding(std::size_t i) const
    {
        std::size_t at = End(i);
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        return line.substr(at);
    }
};

struct When {
    int year = 0; // 0: not listed
    int month = 0;
    int day = 0;
    int hour = -1; // -1: no time listed
    int minute = 0;
};

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int MonthOf(std::string_view word)
{
    if (!word.empty() && word.back() == '.')
        word.remove_suffix(1);
    if (word.size() < 3 || word.size() > 4 || IsDigit(word.front()))
        return 0;
    for (int m = 0; m < 12; ++m)
        if (EqualsNoCase(word.substr(0, 3), kMonths[m])
            && (word.size() == 3
                || EqualsNoCase(word,
                                m == 8       ? "Sept"
                                    : m == 5 ? "June"
                                             : "July")))
            return m + 1;
    return 0;
}

// A number of at most `digits` digits, the whole of `text`; -1 when it is not one.
int SmallNumber(std::string_view text, std::size_t digits = 4)
{
    if (text.empty() || text.size() > digits || !AllDigits(text))
        return -1;
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return value;
}

// Two-digit years as most servers mean them; OS/2 lists 2003 as "103".
int FullYear(std::string_view text)
{
    const int year = SmallNumber(text);
    if (year < 0)
        return -1;
    if (text.size() == 4)
        return year;
    if (text.size() == 3)
        return 1900 + year;
    return year < 70 ? 2000 + year : 1900 + year;
}

// "06:22", "06:22:33", "06:22:33.64", "06:22AM", "06:22 PM" (the AM/PM word passed as `suffix`).
bool ReadTime(std::string_view word, When& when, std::string_view suffix = {})
{
    const std::size_t colon = word.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2)
        return false;
    const int hour = SmallNumber(word.substr(0, colon), 2);
    const int minute = SmallNumber(word.substr(colon + 1, 2), 2);
    std::string_view rest = word.substr(std::min(word.size(), colon + 3));
    if (StartsWith(rest, ":")) {
        std::size_t seconds = 1;
        while (seconds < rest.size() && (IsDigit(rest[seconds]) || rest[seconds] == '.'))
            ++seconds;
        rest.remove_prefix(seconds);
    }
    if (rest.empty())
        rest = suffix;
    if (hour < 0 || minute < 0 || minute > 59 || word.substr(colon + 1, 2).size() != 2)
        return false;
    int shown = hour;
    if (EqualsNoCase(rest, "AM") || EqualsNoCase(rest, "PM")) {
        if (hour < 1 || hour > 12)
            return false;
        shown = hour % 12 + (EqualsNoCase(rest, "PM") ? 12 : 0);
    } else if (!rest.empty() || hour > 23) {
        return false;
    }
    when.hour = shown;
    when.minute = minute;
    return true;
}

// A date in one word: 2026-12-07, 2026/12/07, 12-07-26, 12-07-2026, 12/07/26, 07.12.2026,
// 7-DEC-2026 (VMS), 07-Dec-26, or 12-07 without a year. Day and month are swapped where the
// first cannot be a month.
bool ReadDateWord(std::string_view word, When& when)
{
    if (word.size() < 4 || !IsDigit(word.front()))
        return false;
    std::string_view part[3];
    std::size_t parts = 0;
    char separator = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= word.size(); ++i) {
        if (i < word.size() && word[i] != '-' && word[i] != '/' && word[i] != '.')
            continue;
        if (i < word.size()) {
            if (separator && word[i] != separator)
                return false;
            separator = word[i];
        }
        if (parts == 3)
            return false;
        part[parts++] = word.substr(start, i - start);
        start = i + 1;
    }
    if (parts < 2 || (parts == 2 && separator != '-'))
        return false;
    int first = SmallNumber(part[0]);
    int second = SmallNumber(part[1], 2);
    const int third = parts == 3 ? FullYear(part[2]) : 0;
    if (parts == 3 && part[0].size() == 4) { // year first
        if (first < 0 || (second = SmallNumber(part[2], 2)) < 0 || SmallNumber(part[1], 2) < 0)
            return false;
        when = When{first, SmallNumber(part[1], 2), second};
    } else if (first >= 0 && part[0].size() <= 2 && (second >= 0 || MonthOf(part[1]))) {
        if (third < 0)
            return false;
        if (second < 0)
            when = When{third, MonthOf(part[1]), first};
        else if (separator == '.' || first > 12)
            when = When{third, second, first};
        else
            when = When{third, first, second};
    } else {
        return false;
    }
    return when.month >= 1 && when.month <= 12 && when.day >= 1 && when.day <= 31;
}

int ThisYear()
{
    thread_local std::time_t computedAt = 0;
    thread_local int year = 0;
    const std::time_t now = std::time(nullptr);
    if (year == 0 || now < computedAt || now - computedAt > 60) {
        std::tm parts{};
        localtime_r(&now, &parts);
        year = parts.tm_year + 1900;
        computedAt = now;
    }
    return year;
}

// The form the program reads: ls's own, "Dec 07 06:22" within this year, "Dec 07 2025" before it.
std::string ShownDate(const When& when, int thisYear)
{
    char text[32];
    const char* month = kMonths[when.month - 1];
    if (when.hour >= 0 && (when.year == 0 || when.year == (thisYear ? thisYear : ThisYear())))
        std::snprintf(text, sizeof text, "%s %02d %02d:%02d", month, when.day, when.hour, when.minute);
    else if (when.year != 0)
        std::snprintf(text, sizeof text, "%s %02d %04d", month, when.day, when.year % 10000);
    else
        std::snprintf(text, sizeof text, "%s %02d", month, when.day);
    return text;
}

// A size as listed: 4096, 1,234,567 (grouped), 33.5k (rounded to whole bytes).
bool ReadSize(std::string_view word, std::uint64_t& size, bool grouped = false)
{
    if (word.empty() || !IsDigit(word.front()))
        return false;
    std::uint64_t whole = 0;
    std::size_t at = 0;
    for (; at < word.size(); ++at) {
        const char c = word[at];
        if (grouped && (c == ',' || c == '.'))
            continue;
        if (!IsDigit(c))
            break;
        const unsigned digit = static_cast<unsigned>(c - '0');
        whole = whole > (UINT64_MAX - digit) / 10 ? UINT64_MAX : whole * 10 + digit;
    }
    double fraction = 0;
    if (at < word.size() && word[at] == '.') {
        double scale = 0.1;
        for (++at; at < word.size() && IsDigit(word[at]); ++at, scale /= 10)
            fraction += (word[at] - '0') * scale;
    }
    std::uint64_t unit = 1;
    if (at < word.size()) {
        const std::string_view units = "kmgt";
        const std::size_t power = units.find(static_cast<char>(AsciiLower(word[at])));
        if (power == std::string_view::npos)
            return false;
        unit = 1ULL << (10 * (power + 1));
        ++at;
        if (at < word.size() && (word[at] == 'B' || word[at] == 'b'))
            ++at;
    }
    if (at != word.size())
        return false;
    size = unit == 1 || whole > UINT64_MAX / unit / 2 ? whole
                                                      : static_cast<std::uint64_t>((whole + fraction) * unit + 0.5);
    return true;
}

// The date columns of a Unix-like line at field i: "Dec 7 06:22", "Dec 7 2020", "7 Dec 06:22",
// "Oct 08, 2002 09:47" (VShell), "Dec 7 06:22:33 2026" (ls -T), "2026-12-07 06:22[:33[.ns]] [+0100]",
// "12-07-2026 06:22", "09-26 2020". Returns how many fields the date takes, 0 when none.
std::size_t ReadUnixDate(const Fields& f, std::size_t i, When& when)
{
    int month = MonthOf(f[i]);
    std::size_t dayAt = i + 1;
    if (!month && MonthOf(f[i + 1]) && SmallNumber(f[i], 2) > 0) {
        month = MonthOf(f[i + 1]);
        dayAt = i;
    }
    if (month) {
        std::string_view dayWord = f[dayAt];
        const bool comma = !dayWord.empty() && (dayWord.back() == ',' || dayWord.back() == '.');
        if (comma)
            dayWord.remove_suffix(1);
        const int day = SmallNumber(dayWord, 2);
        if (day < 1 || day > 31)
            return 0;
        when = When{0, month, day};
        const std::string_view third = f[i + 2];
        if (ReadTime(third, when)) {
            if (third.size() > 5 && SmallNumber(f[i + 3]) > 1900 && f[i + 3].size() == 4) {
                when.year = SmallNumber(f[i + 3]);
                return 4;
            }
            return 3;
        }
        if (third.size() != 4 || (when.year = SmallNumber(third)) < 0)
            return 0;
        return comma && ReadTime(f[i + 3], when) ? 4 : 3;
    }
    if (!ReadDateWord(f[i], when))
        return 0;
    if (ReadTime(f[i + 1], when)) {
        const std::string_view zone = f[i + 2];
        return zone.size() == 5 && (zone[0] == '+' || zone[0] == '-') && AllDigits(zone.substr(1)) ? 3 : 2;
    }
    if (when.year == 0 && f[i + 1].size() == 4 && (when.year = SmallNumber(f[i + 1])) > 0)
        return 2;
    return when.year ? 1 : 0;
}

bool IsModeLetters(std::string_view mode)
{
    return std::all_of(mode.begin(), mode.end(), [](char c) { return std::strchr("rwxsStTlL-", c) != nullptr; });
}

// ls -l and its kin: vsftpd, proftpd, pure-ftpd, pyftpdlib, VShell, NetPresenz.
bool ReadUnix(const Fields& f, _Qor_Ftp_FileData& rec, int thisYear)
{
    std::string_view mode = f[0];
    if (mode.size() < 10 || mode.size() > 11 || !IsModeLetters(mode.substr(1, 9)))
        return false;
    // An ACL ("+"), an SELinux context (".") or extended attributes ("@") after the mode.
    if (mode.size() == 11 && std::strchr("+.@", mode[10]) == nullptr)
        return false;
    switch (mode[0]) {
    case '-':
        rec.Type = 0;
        break;
    case 'd':
        rec.Type = 1;
        break;
    case 'l':
        rec.Type = 2;
        break;
    case 'c':
    case 'b':
    case 's':
    case 'p':
    case 'D':
        rec.Type = 3;
        break;
    default:
        return false;
    }
    for (std::size_t i = 2; i + 1 < f.count; ++i) {
        When when;
        const std::size_t used = ReadUnixDate(f, i, when);
        if (!used)
            continue;
        std::size_t sizeAt = i - 1;
        std::uint64_t size = 0;
        // ls writes "major, minor" or "major,minor" in place of a device's size: the size column
        // then shows the major number.
        if (rec.Type == 3 && f[sizeAt].find(',') != std::string_view::npos)
            size = LeadingNumber(f[sizeAt]);
        else if (rec.Type == 3 && sizeAt > 2 && f[sizeAt - 1].size() > 1 && f[sizeAt - 1].back() == ',')
            size = LeadingNumber(f[--sizeAt]);
        else if (!ReadSize(f[sizeAt], size))
            continue;
        const std::size_t last = i + used - 1;
        rec.Name = f.After(last);
        if (rec.Name.empty())
            return false;
        const std::size_t owners = AllDigits(f[1]) ? 2 : 1;
        if (sizeAt > owners)
            rec.Owner = f[owners];
        if (sizeAt > owners + 1)
            rec.Group = f[owners + 1];
        rec.Size = size;
        rec.Permissions = mode.substr(1, 9);
        const bool asLs = used == 3 && MonthOf(f[i]) && (f[i + 2].size() == 4 || f[i + 2].size() == 5);
        if (asLs)
            rec.Date.append(f[i]).append(" ").append(f[i + 1]).append(" ").append(f[i + 2]);
        else
            rec.Date = ShownDate(when, thisYear);
        return true;
    }
    return false;
}

// IIS and other DOS-like servers: "12-07-26  06:22AM  <DIR>  name", "2026-12-07  18:48  9,730  name".
bool ReadDos(const Fields& f, _Qor_Ftp_FileData& rec, int thisYear)
{
    When when;
    if (f.count < 4 || !ReadDateWord(f[0], when) || when.year == 0)
        return false;
    const bool halfDay = EqualsNoCase(f[2], "AM") || EqualsNoCase(f[2], "PM");
    if (!ReadTime(f[1], when, halfDay ? f[2] : std::string_view()))
        return false;
    const std::size_t at = halfDay ? 3 : 2;
    const std::string_view kind = f[at];
    if (EqualsNoCase(kind, "<DIR>")) {
        rec.Type = 1;
    } else if (EqualsNoCase(kind, "<JUNCTION>") || EqualsNoCase(kind, "<SYMLINK>")
               || EqualsNoCase(kind, "<SYMLINKD>")) {
        rec.Type = 2;
    } else if (!ReadSize(kind, rec.Size, true)) {
        return false;
    }
    rec.Name = f.AfterPadding(at);
    rec.Date = ShownDate(when, thisYear);
    return !rec.Name.empty();
}

// EPLF (cr.yp.to/ftp/list/eplf.html): "+facts,\tname", facts "/" directory, "r" file, "s" size,
// "m" modification time in seconds since 1970 (UTC), "up" the Unix mode in octal.
bool ReadEplf(std::string_view line, _Qor_Ftp_FileData& rec, int thisYear)
{
    const std::size_t tab = line.find('\t');
    if (line.size() < 2 || line.front() != '+' || tab == std::string_view::npos || tab + 1 >= line.size())
        return false;
    std::string_view facts = line.substr(1, tab - 1);
    while (!facts.empty()) {
        const std::size_t comma = facts.find(',');
        const std::string_view fact = facts.substr(0, comma);
        facts.remove_prefix(comma == std::string_view::npos ? facts.size() : comma + 1);
        if (fact == "/") {
            rec.Type = 1;
        } else if (StartsWith(fact, "s")) {
            ReadSize(fact.substr(1), rec.Size);
        } else if (StartsWith(fact, "m") && AllDigits(fact.substr(1))) {
            std::uint64_t seconds = 0;
            ReadSize(fact.substr(1), seconds);
            const std::time_t time = static_cast<std::time_t>(std::min<std::uint64_t>(seconds, 253402300799ULL));
            std::tm parts{};
            if (gmtime_r(&time, &parts))
                rec.Date = ShownDate(
                    When{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min}, thisYear);
        } else if (StartsWith(fact, "up") && fact.size() == 5 && fact.find_first_not_of("01234567", 2) == fact.npos) {
            std::string letters;
            for (std::size_t digit = 2; digit < 5; ++digit) {
                const int bits = fact[digit] - '0';
                letters += bits & 4 ? 'r' : '-';
                letters += bits & 2 ? 'w' : '-';
                letters += bits & 1 ? 'x' : '-';
            }
            rec.Permissions = letters;
        }
    }
    rec.Name = line.substr(tab + 1);
    return true;
}

// NetWare: "d [R----F--] supervisor  512  Jan 16 18:53  name".
bool ReadNetWare(const Fields& f, _Qor_Ftp_FileData& rec, int thisYear)
{
    if (f.count < 8 || f[0].size() != 1 || (f[0][0] != 'd' && f[0][0] != '-') || f[1].size() < 3 || f[1].front() != '['
        || f[1].back() != ']' || !ReadSize(f[3], rec.Size))
        return false;
    When when;
    if (ReadUnixDate(f, 4, when) != 3)
        return false;
    rec.Type = f[0][0] == 'd' ? 1 : 0;
    rec.Owner = f[2];
    rec.Date = ShownDate(when, thisYear);
    rec.Name = f.AfterPadding(6);
    return !rec.Name.empty();
}

// VMS: "NAME.TXT;3  2/4  7-DEC-2026 06:22:00  [GROUP,OWNER]  (RWED,RWED,RE,)"; the size counts
// blocks of 512 bytes, and a directory is NAME.DIR;1.
bool ReadVms(const Fields& f, _Qor_Ftp_FileData& rec, int thisYear)
{
    const std::size_t semicolon = f[0].rfind(';');
    if (f.count < 3 || semicolon == std::string_view::npos || semicolon == 0 || !AllDigits(f[0].substr(semicolon + 1)))
        return false;
    When when;
    bool dated = false;
    bool sized = false;
    for (std::size_t i = 1; i < f.count; ++i) {
        const std::string_view word = f[i];
        if (!dated && ReadDateWord(word, when) && when.year) {
            dated = true;
            if (ReadTime(f[i + 1], when))
                ++i;
        } else if (!sized && IsDigit(word.front())) {
            std::uint64_t blocks = 0;
            sized = ReadSize(word.substr(0, word.find('/')), blocks);
            rec.Size = blocks * 512;
        } else if (word.front() == '[' && word.back() == ']') {
            const std::string_view who = word.substr(1, word.size() - 2);
            const std::size_t comma = who.find(',');
            rec.Owner = who.substr(comma == std::string_view::npos ? 0 : comma + 1);
            if (comma != std::string_view::npos)
                rec.Group = who.substr(0, comma);
        }
    }
    if (!dated)
        return false;
    std::string_view name = f[0];
    const std::size_t dot = name.rfind('.', semicolon);
    if (dot != std::string_view::npos && EqualsNoCase(name.substr(dot, semicolon - dot), ".DIR")) {
        rec.Type = 1;
        name = name.substr(0, dot);
    }
    rec.Name = name;
    rec.Date = ShownDate(when, thisYear);
    return true;
}

// IBM MVS datasets ("WYOSPT 3420 2026/12/07 1 15 FB 80 6160 PO NAME.OF.SET", "Migrated NAME",
// "Pseudo Directory NAME") and the members of a partitioned one
// ("MEMBER 01.03 2026/12/01 2026/12/07 06:22 10 10 0 USER").
bool ReadMvs(const Fields& f, _Qor_Ftp_FileData& rec, int thisYear)
{
    When when;
    if (f.count == 2 && f[0] == "Migrated") {
        rec.Name = f[1];
        return true;
    }
    if (f.count == 3 && f[0] == "Pseudo" && f[1] == "Directory") {
        rec.Type = 1;
        rec.Name = f[2];
        return true;
    }
    if (f.count == 4 && f[2] == "VSAM") {
        rec.Name = f[3];
        return true;
    }
    if (f.count == 10 && ReadDateWord(f[2], when) && AllDigits(f[3]) && AllDigits(f[4])) {
        rec.Type = StartsWith(f[8], "PO") ? 1 : 0;
        rec.Name = f[9];
        rec.Date = ShownDate(when, thisYear);
        return true;
    }
    if (f.count >= 8 && f[1].size() == 5 && f[1][2] == '.' && ReadDateWord(f[2], when) && ReadDateWord(f[3], when)) {
        ReadTime(f[4], when);
        rec.Name = f[0];
        rec.Owner = f[f.count - 1];
        rec.Date = ShownDate(when, thisYear);
        return true;
    }
    return false;
}

// IBM AS/400: "QSYS  77824 12/07/26 06:22:00 *DIR  name/", and members without size or date:
// "QPGMR  *MEM  QGPL/QCLSRC.FILE/MEMBER.MBR".
bool ReadAs400(const Fields& f, _Qor_Ftp_FileData& rec, int thisYear)
{
    std::size_t kindAt = 1;
    When when;
    if (f.count >= 6 && ReadSize(f[1], rec.Size) && ReadDateWord(f[2], when) && when.year && ReadTime(f[3], when))
        kindAt = 4;
    const std::string_view kind = f[kindAt];
    if (f.count < kindAt + 2 || kind.size() < 2 || kind.front() != '*')
        return false;
    for (const char* folder : {"*DIR", "*LIB", "*FLR", "*FILE"})
        if (kind == folder)
            rec.Type = 1;
    std::string_view name = f.AfterPadding(kindAt);
    if (rec.Type == 1 && name.size() > 1 && name.back() == '/')
        name.remove_suffix(1);
    rec.Name = name;
    rec.Owner = f[0];
    if (kindAt == 4)
        rec.Date = ShownDate(when, thisYear);
    return true;
}

// OS/2: "36611  A  04-23-103  10:57  name", "0  DIR  02-11-103  16:15  name"; and VShell's older
// form "206876  Apr 04, 2000 21:06 name", where a folder ends in "/".
bool ReadSizeFirst(const Fields& f, _Qor_Ftp_FileData& rec, int thisYear)
{
    if (f.count < 4 || !AllDigits(f[0]) || !ReadSize(f[0], rec.Size))
        return false;
    When when;
    if (ReadUnixDate(f, 1, when) == 4) {
        std::string_view name = f.After(4);
        if (!name.empty() && name.back() == '/') {
            rec.Type = 1;
            name.remove_suffix(1);
        }
        rec.Name = name;
        rec.Date = ShownDate(when, thisYear);
        return !rec.Name.empty();
    }
    for (std::size_t i = 1; i + 2 < f.count && i < 5; ++i) {
        if (ReadDateWord(f[i], when) && when.year && ReadTime(f[i + 1], when)) {
            rec.Name = f.AfterPadding(i + 1);
            rec.Date = ShownDate(when, thisYear);
            return !rec.Name.empty();
        }
        if (f[i] == "DIR")
            rec.Type = 1;
        else if (f[i].find_first_not_of("AHSR") != std::string_view::npos)
            return false;
    }
    return false;
}

// Lines of a listing that name no entry: "total 12", VMS's "Directory DISK:[USER]" and
// "Total of 3 files, 12/24 blocks.", the column heads of MVS.
bool IsNoise(const Fields& f)
{
    const std::string_view first = f[0];
    if ((first == "total" || first == "insgesamt") && f.count == 2)
        return true;
    if (first == "Directory" && f.count == 2)
        return true;
    if ((first == "Total" && f[1] == "of") || (first == "Grand" && f[1] == "total"))
        return true;
    return (first == "Volume" && f[1] == "Unit") || (first == "Name" && f[1] == "VV.MM");
}

ListingLine ReadOneLine(std::string_view line, _Qor_Ftp_FileData& rec, int thisYear)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    const Fields f(line);
    if (f.count == 0)
        return ListingLine::Noise;
    if (ReadUnix(f, rec, thisYear))
        return ListingLine::Entry;
    rec = {};
    if (IsNoise(f))
        return ListingLine::Noise;
    using Reader = bool (*)(const Fields&, _Qor_Ftp_FileData&, int);
    for (Reader read : {Reader(ReadDos), Reader(ReadNetWare), Reader(ReadVms), Reader(ReadSizeFirst), Reader(ReadAs400),
                        Reader(ReadMvs)}) {
        if (read(f, rec, thisYear))
            return ListingLine::Entry;
        rec = {};
    }
    if (ReadEplf(line, rec, thisYear))
        return ListingLine::Entry;
    rec = {};
    return ListingLine::Unread;
}

} // namespace

_Qor_Ftp_FileData ParseListLine(std::string_view line, int thisYear)
{
    _Qor_Ftp_FileData rec;
    ReadOneLine(line, rec, thisYear);
    return rec;
}

ListingLine ReadListEntry(std::string_view lines, std::size_t& at, _Qor_Ftp_FileData& rec, int thisYear)
{
    const auto lineAt = [&](std::size_t start) {
        const std::size_t end = lines.find('\n', start);
        return lines.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    };
    const std::string_view line = lineAt(at);
    at = std::min(lines.size(), at + line.size() + 1);
    rec = {};
    const ListingLine kind = ReadOneLine(line, rec, thisYear);
    // VMS puts a name too long for its column on a line of its own and the facts on the next.
    if (kind != ListingLine::Unread || at >= lines.size() || line.find(';') == std::string_view::npos
        || line.find_first_of(" \t", line.find_first_not_of(" \t")) != std::string_view::npos)
        return kind;
    const std::string_view next = lineAt(at);
    std::string joined;
    joined.reserve(line.size() + 1 + next.size());
    joined.append(line).append(" ").append(next);
    if (!ReadVms(Fields(joined), rec, thisYear)) {
        rec = {};
        return kind;
    }
    at = std::min(lines.size(), at + next.size() + 1);
    return ListingLine::Entry;
}

std::size_t CountUnreadLines(std::string_view lines)
{
    std::size_t unread = 0;
    _Qor_Ftp_FileData rec;
    for (std::size_t at = 0; at < lines.size();)
        if (ReadListEntry(lines, at, rec) == ListingLine::Unread)
            ++unread;
    return unread;
}

void ListingCollector::Add(std::string_view bytes)
{
    for (;;) {
        const std::size_t end = bytes.find_first_of(std::string_view("\n\0", 2));
        if (end == std::string_view::npos) {
            m_partial.append(bytes);
            return;
        }
        if (m_partial.empty()) {
            Keep(bytes.substr(0, end));
        } else {
            m_partial.append(bytes.substr(0, end));
            Keep(m_partial);
            m_partial.clear();
        }
        bytes.remove_prefix(end + 1);
    }
}

void ListingCollector::Finish()
{
    Keep(m_partial);
    std::string().swap(m_partial);
}

void ListingCollector::Keep(std::string_view line)
{
    while (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (Trim(line).empty())
        return;
    m_lines.append(line);
    m_lines.push_back('\n');
    ++m_count;
}

std::string ListedDate(int year, int month, int day, int hour, int minute, int thisYear)
{
    if (month < 1 || month > 12)
        return {};
    return ShownDate(When{year, month, day, hour, minute}, thisYear);
}

} // namespace qorftp
