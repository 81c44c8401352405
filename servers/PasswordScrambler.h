#pragma once

#include <string>

// Passwords are kept in the store scrambled with the user name as key; the result is
// the password's bytes transformed, followed by as many random bytes as the key has.
// Bytes anywhere from 0 to 255 can come out, so the result is binary, not text.
std::string ScramblePassword(const std::string& password, const std::string& key);
std::string UnscramblePassword(const std::string& stored, const std::string& key);

// "anonymous" in any mix of capitals: such passwords are stored as they are.
bool IsAnonymousUser(const std::string& userName);
