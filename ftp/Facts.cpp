#include "Facts.h"

#include "ListFormats.h"
#include "Parsing.h"

#include <cctype>
#include <cstdio>
#include <ctime>

namespace qorftp {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::uint64_t Number(std::string_view text)
{
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        const unsigned digit = static_cast<unsigned>(c - '0');
        value = value > (UINT64_MAX - digit) / 10 ? UINT64_MAX : value * 10 + digit;
    }
    return value;
}

// "YYYYMMDDHHMMSS[.sss]" in UTC, as the list shows a listed date in local time.
std::string ModifyDate(std::string_view text)
{
    if (text.size() < 14)
        return {};
    for (std::size_t i = 0; i < 14; ++i)
        if (text[i] < '0' || text[i] > '9')
            return {};
    std::tm utc{};
    utc.tm_year = static_cast<int>(Number(text.substr(0, 4))) - 1900;
    utc.tm_mon = static_cast<int>(Number(text.substr(4, 2))) - 1;
    utc.tm_mday = static_cast<int>(Number(text.substr(6, 2)));
    utc.tm_hour = static_cast<int>(Number(text.substr(8, 2)));
    utc.tm_min = static_cast<int>(Number(text.substr(10, 2)));
    utc.tm_sec = static_cast<int>(Number(text.substr(12, 2)));
    if (utc.tm_mon < 0 || utc.tm_mon > 11 || utc.tm_mday < 1 || utc.tm_mday > 31 || utc.tm_hour > 23 || utc.tm_min > 59
        || utc.tm_sec > 60)
        return {};
    const std::time_t when = timegm(&utc);
    std::tm local{};
    localtime_r(&when, &local);
    return ListedDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
}

// UNIX.mode ("0755" or "755") as the nine permission letters.
std::string ModeLetters(std::string_view mode)
{
    // pyftpdlib writes Python's octal form, "0o644".
    if (mode.size() > 2 && mode[0] == '0' && (mode[1] == 'o' || mode[1] == 'O'))
        mode.remove_prefix(2);
    if (mode.empty() || mode.size() > 6)
        return {};
    unsigned bits = 0;
    for (char c : mode) {
        if (c < '0' || c > '7')
            return {};
        bits = (bits << 3) | static_cast<unsigned>(c - '0');
    }
    std::string letters = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i)
        if (!(bits & (0400u >> i)))
            letters[static_cast<std::size_t>(i)] = '-';
    if (bits & 04000)
        letters[2] = letters[2] == 'x' ? 's' : 'S';
    if (bits & 02000)
        letters[5] = letters[5] == 'x' ? 's' : 'S';
    if (bits & 01000)
        letters[8] = letters[8] == 'x' ? 't' : 'T';
    return letters;
}

// perm ("adfrw", "elcmp") as the owner's letters, the rest unknown.
std::string PermLetters(std::string_view perm, bool folder)
{
    const auto has = [perm](char c) { return perm.find(c) != std::string_view::npos; };
    std::string letters = "---------";
    if (folder ? has('l') : has('r'))
        letters[0] = 'r';
    if (folder ? (has('c') || has('m') || has('p')) : (has('w') || has('a')))
        letters[1] = 'w';
    if (folder && has('e'))
        letters[2] = 'x';
    return letters;
}

} // namespace

Features ReadFeatures(const std::string& reply)
{
    Features features;
    features.utf8 = HasFeature(reply, "UTF8");
    features.mlst = HasFeature(reply, "MLST");
    features.size = HasFeature(reply, "SIZE");
    features.mdtm = HasFeature(reply, "MDTM");
    features.epsv = HasFeature(reply, "EPSV");
    features.authTls = HasFeature(reply, "AUTH");
    features.sscn = HasFeature(reply, "SSCN");
    if (features.mlst) {
        const std::size_t at = reply.find(" MLST ") != std::string::npos ? reply.find(" MLST ") : reply.find(" mlst ");
        if (at != std::string::npos) {
            const std::size_t end = reply.find_first_of("\r\n", at + 6);
            features.mlstFacts = reply.substr(at + 6, end == std::string::npos ? std::string::npos : end - at - 6);
        }
    }
    // "REST STREAM": the word REST alone may mean another restart mode.
    features.restStream
        = reply.find(" REST STREAM") != std::string::npos || reply.find(" rest stream") != std::string::npos;
    return features;
}

std::string WantedFacts(const std::string& offered)
{
    std::string wanted;
    std::string_view rest = offered;
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        std::string_view fact = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!fact.empty() && fact.back() == '*')
            fact.remove_suffix(1);
        for (const char* useful : {"type", "size", "sizd", "modify", "perm", "UNIX.mode", "UNIX.owner", "UNIX.group",
                                   "UNIX.ownername", "UNIX.groupname"})
            if (EqualsNoCase(fact, useful))
                wanted.append(fact).push_back(';');
    }
    return wanted;
}

bool ParseMlsdLine(std::string_view line, _Qor_Ftp_FileData& rec)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    // The facts end at the first blank; the name is everything after that one blank.
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos || blank == 0 || blank + 1 >= line.size())
        return false;
    std::string_view facts = line.substr(0, blank);
    rec = _Qor_Ftp_FileData{};
    rec.Name = std::string(line.substr(blank + 1));
    std::string_view type, mode, perm;
    while (!facts.empty()) {
        const std::size_t end = facts.find(';');
        const std::string_view fact = facts.substr(0, end);
        facts = end == std::string_view::npos ? std::string_view() : facts.substr(end + 1);
        const std::size_t equals = fact.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = fact.substr(0, equals);
        const std::string_view value = fact.substr(equals + 1);
        if (EqualsNoCase(name, "type"))
            type = value;
        else if (EqualsNoCase(name, "size") || EqualsNoCase(name, "sizd"))
            rec.Size = Number(value);
        else if (EqualsNoCase(name, "modify"))
            rec.Date = ModifyDate(value);
        else if (EqualsNoCase(name, "UNIX.mode"))
            mode = value;
        else if (EqualsNoCase(name, "perm"))
            perm = value;
        else if (EqualsNoCase(name, "UNIX.owner") || EqualsNoCase(name, "UNIX.ownername"))
            rec.Owner = std::string(value);
        else if (EqualsNoCase(name, "UNIX.group") || EqualsNoCase(name, "UNIX.groupname"))
            rec.Group = std::string(value);
    }
    if (type.empty() || EqualsNoCase(type, "cdir") || EqualsNoCase(type, "pdir"))
        return false;
    if (EqualsNoCase(type, "file"))
        rec.Type = 0;
    else if (EqualsNoCase(type, "dir"))
        rec.Type = 1;
    else if (EqualsNoCase(type.substr(0, 13), "OS.unix=slink") || EqualsNoCase(type, "OS.unix=symlink"))
        rec.Type = 2;
    else
        rec.Type = 3;
    rec.Permissions
        = mode.empty() ? (perm.empty() ? std::string() : PermLetters(perm, rec.Type == 1)) : ModeLetters(mode);
    return true;
}

} // namespace qorftp
