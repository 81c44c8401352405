#include "Parsing.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

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

// A field runs to the next space; the white space after it is skipped.
std::string_view NextField(std::string_view& rest)
{
    std::size_t end = rest.find(' ');
    std::string_view field = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    while (!rest.empty() && IsSpace(rest.front()))
        rest.remove_prefix(1);
    return field;
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

_Qor_Ftp_FileData ParseListLine(std::string_view line)
{
    _Qor_Ftp_FileData rec;
    line = Trim(line);
    if (line.empty())
        return rec;
    switch (line.front()) {
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
        rec.Type = 3;
        break;
    default:
        rec.Type = 0;
        break;
    }
    std::string_view rest = line.substr(1);
    rec.Permissions = NextField(rest);
    NextField(rest); // link count
    rec.Owner = NextField(rest);
    rec.Group = NextField(rest);
    std::string_view size = NextField(rest);
    // ls writes "major, minor" in place of a device's size: the minor number is not a date.
    if (rec.Type == 3 && !size.empty() && size.back() == ',')
        NextField(rest);
    rec.Size = LeadingNumber(size);
    std::string_view month = NextField(rest);
    std::string_view day = NextField(rest);
    std::string_view timeOrYear = NextField(rest);
    rec.Date = std::string(month) + " " + std::string(day) + " " + std::string(timeOrYear);
    rec.Name = rest;
    return rec;
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

std::string ParsePwdReply(const std::string& reply)
{
    if (reply.size() <= 5)
        return {};
    std::string dir;
    std::size_t at = 5;
    for (;;) {
        std::size_t quote = reply.find('"', at);
        dir += reply.substr(at, quote == std::string::npos ? std::string::npos : quote - at);
        if (quote == std::string::npos || quote + 1 >= reply.size() || reply[quote + 1] != '"')
            break;
        dir += '"';
        at = quote + 2;
    }
    return dir;
}

std::string PassiveAddressText(const std::string& reply)
{
    if (reply.size() < 5)
        return {};
    std::size_t first = 4;
    while (first < reply.size() && !std::isdigit(static_cast<unsigned char>(reply[first])))
        ++first;
    if (first >= reply.size())
        return {};
    std::size_t last = reply.size() - 1;
    while (!std::isdigit(static_cast<unsigned char>(reply[last])))
        --last;
    return reply.substr(first, last - first + 1);
}

bool ParsePasvNumbers(const std::string& text, unsigned char host[4], unsigned& port)
{
    unsigned values[6];
    std::size_t at = 0;
    for (int i = 0; i < 6; ++i) {
        while (at < text.size() && IsSpace(text[at]))
            ++at;
        if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
            return false;
        unsigned value = 0;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && value < 1000)
            value = value * 10 + static_cast<unsigned>(text[at++] - '0');
        if (value > 255)
            return false;
        values[i] = value;
        while (at < text.size() && IsSpace(text[at]))
            ++at;
        if (i < 5) {
            if (at >= text.size() || text[at] != ',')
                return false;
            ++at;
        }
    }
    for (int i = 0; i < 4; ++i)
        host[i] = static_cast<unsigned char>(values[i]);
    port = values[4] * 256 + values[5];
    return port != 0;
}

bool ParseEpsvPort(const std::string& reply, unsigned& port)
{
    std::size_t open = reply.find('(');
    if (open == std::string::npos || open + 4 >= reply.size())
        return false;
    const char delimiter = reply[open + 1];
    if (reply[open + 2] != delimiter || reply[open + 3] != delimiter)
        return false;
    std::size_t at = open + 4;
    unsigned value = 0;
    bool any = false;
    while (at < reply.size() && std::isdigit(static_cast<unsigned char>(reply[at])) && value <= 65535) {
        value = value * 10 + static_cast<unsigned>(reply[at++] - '0');
        any = true;
    }
    if (!any || value == 0 || value > 65535 || at >= reply.size() || reply[at] != delimiter)
        return false;
    port = value;
    return true;
}

bool HasFeature(const std::string& reply, std::string_view feature)
{
    std::size_t at = 0;
    while (at < reply.size()) {
        std::size_t end = reply.find('\n', at);
        if (end == std::string::npos)
            end = reply.size();
        std::string_view line(reply.data() + at, end - at);
        at = end + 1;
        if (line.empty() || line.front() != ' ')
            continue;
        const std::size_t first = line.find_first_not_of(' ');
        if (first == std::string_view::npos)
            continue;
        line.remove_prefix(first);
        const std::string_view word = line.substr(0, line.find_first_of(" \r"));
        if (word.size() == feature.size() && std::equal(word.begin(), word.end(), feature.begin(), [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
            }))
            return true;
    }
    return false;
}

} // namespace qorftp
