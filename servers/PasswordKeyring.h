#pragma once

#include <QString>

#include <memory>
#include <string>

// Where server passwords go when "UseKeyring" is on: the desktop's keyring (Secret Service) by
// default, a fake in tests. Each call waits for its answer and returns an empty text when it
// succeeded, else why it did not. User-interface thread only: the store and ServerMap live there.
class PasswordKeyring {
public:
    virtual ~PasswordKeyring() = default;
    // A server with no entry reads as an empty password, which is no failure.
    virtual QString Read(const std::string& server, std::string& password) = 0;
    virtual QString Write(const std::string& server, const std::string& password) = 0;
    virtual QString Remove(const std::string& server) = 0;
};

// nullptr returns to the desktop's keyring.
void SetPasswordKeyring(std::shared_ptr<PasswordKeyring> keyring);
std::shared_ptr<PasswordKeyring> GetPasswordKeyring();
