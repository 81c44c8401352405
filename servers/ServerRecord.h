#pragma once

#include <string>

// One stored FTP server. Text fields hold UTF-8: they go to the FTP library as they are.
struct ServerRecord {
    std::string name;
    std::string address;
    std::string userName;
    std::string password; // plain in memory; scrambled only in the store
    std::string account;
    int port = 21;
    int passive = 0;
    std::string comment;
    // A QorFtpEncryption value; stores written before encryption existed load as 0 (IfAvailable).
    int encryption = 0;
    // SHA-256 of the certificate the user trusted for this server; empty when none was.
    std::string trustedFingerprint{};

    friend bool operator==(const ServerRecord&, const ServerRecord&) = default;
};
