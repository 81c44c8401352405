#include "servers/PasswordScrambler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(PasswordScrambler, RoundTripsAndPadsWithOneRandomByteForEachKeyByte)
{
    std::string everyByte;
    for (int b = 1; b <= 255; ++b)
        everyByte += static_cast<char>(b);
    const std::vector<std::pair<std::string, std::string>> cases = {
        // password, key
        {everyByte, "ftpuser"},
        {everyByte, "J\xC3\xBCrgen"},
        {"p\xC3\xA4sswort, much longer than its key", "a"},
        {"short", "a user name longer than the password"},
        {"", "bob"},
        {everyByte, ""},
        {"\x7F\x80\xFF", "\x7F\xFF"},
    };
    for (const auto& [password, key] : cases) {
        SCOPED_TRACE("key '" + key + "', password of " + std::to_string(password.size()) + " bytes");
        const std::string stored = ScramblePassword(password, key);
        ASSERT_EQ(stored.size(), password.size() + key.size());
        for (std::size_t i = password.size(); i < stored.size(); ++i)
            EXPECT_TRUE(stored[i] >= 1 && stored[i] <= 126) << int(stored[i]);
        EXPECT_EQ(UnscramblePassword(stored, key), password);
    }
    EXPECT_EQ(UnscramblePassword("abc", "bob"), "");
}

TEST(PasswordScrambler, FollowsTheStoredArithmetic)
{
    // Stores written by other installations must read back, so the exact bytes matter:
    // (127 - key) + (127 - password) mod 256, the key's last byte repeating.
    EXPECT_EQ(ScramblePassword("PPz", "Kb").substr(0, 3), "cL\"");
    EXPECT_EQ(ScramblePassword("\x80\xFF\xFE", "~\xFF\x01").substr(0, 3), std::string("\0\0\xFF", 3));
}

TEST(PasswordScrambler, RecognisesAnonymousInAnyCase)
{
    for (const char* userName : {"anonymous", "ANONYMOUS", "AnOnYmOuS"})
        EXPECT_TRUE(IsAnonymousUser(userName)) << userName;
    for (const char* userName : {"anonymou", "anonymous ", "anonymous1", ""})
        EXPECT_FALSE(IsAnonymousUser(userName)) << userName;
}
