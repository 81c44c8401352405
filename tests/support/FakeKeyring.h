// The desktop's keyring in memory, for tests that must not need a Secret Service.
#pragma once

#include "servers/PasswordKeyring.h"

#include <map>
#include <string>

namespace tarvo::test {

// `refusal` non-empty makes every call fail with it, `refusal` non-empty makes every call fail with it, as a session
// as a session without a Secret Service does.
class FakeKeyring final : public PasswordKeyring {
public:
    QString Read(const std::string& server, std::string& password) override
    {
        if (!refusal.isEmpty())
            return refusal;
        const auto found = entries.find(server);
        password = found == entries.end() ? std::string() : found->second;
        return {};
    }
    QString Write(const std::string& server, const std::string& password) override
    {
        if (refusal.isEmpty())
            entries[server] = password;
        return refusal;
    }
    QString Remove(const std::string& server) override
    {
        if (refusal.isEmpty())
            entries.erase(server);
        return refusal;
    }

    std::map<std::string, std::string> entries;
    QString refusal;
};

} // namespace tarvo::test
