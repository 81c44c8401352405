#include "servers/PasswordScrambler.h"

#include <QRandomGenerator>

#include <algorithm>
#include <string_view>

namespace {

// The key byte for position i: the key is walked once, then its last byte repeats.
// An empty user name gives no key bytes; it then acts as a single 0 byte, so such
// passwords are still transformed and still come back.
unsigned char keyByte(const std::string& key, std::size_t i)
{
    if (key.empty())
        return 0;
    return static_cast<unsigned char>(key[std::min(i, key.size() - 1)]);
}

// The transform is its own inverse: (127 - k) + (127 - ((127 - k) + (127 - p))) = p, mod 256.
char transform(unsigned char keyValue, unsigned char value)
{
    return static_cast<char>(static_cast<unsigned char>((127 - keyValue) + (127 - value)));
}

} // namespace

std::string ScramblePassword(const std::string& password, const std::string& key)
{
    std::string result(password.size() + key.size(), '\0');
    for (char& byte : result)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(1, 127));
    for (std::size_t i = 0; i < password.size(); ++i)
        result[i] = transform(keyByte(key, i), static_cast<unsigned char>(password[i]));
    return result;
}

std::string UnscramblePassword(const std::string& stored, const std::string& key)
{
    if (stored.size() <= key.size())
        return {};
    std::string password(stored.size() - key.size(), '\0');
    for (std::size_t i = 0; i < password.size(); ++i)
        password[i] = transform(keyByte(key, i), static_cast<unsigned char>(stored[i]));
    return password;
}

bool IsAnonymousUser(const std::string& userName)
{
    static constexpr std::string_view anonymous = "anonymous";
    return std::equal(userName.begin(), userName.end(), anonymous.begin(), anonymous.end(), [](char a, char b) {
        // ASCII only: a locale's case rules must not decide this
        return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b;
    });
}
