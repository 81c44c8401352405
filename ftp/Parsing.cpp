#include "Parsing.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace qorftp {

namespace {

bool IsSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

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
