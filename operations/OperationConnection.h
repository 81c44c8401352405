// How an operation gets a connection of its own: with the server's passive flag and the
// configured time-out and listing limit applied, so every worker behaves as the user set things up.
#pragma once

#include "servers/ServerRecord.h"

#include <functional>
#include <memory>

class QorFtpConnection;

using ConnectionFactory = std::function<std::unique_ptr<QorFtpConnection>()>;

// Tests install a factory to watch connections come and go; an empty one restores plain objects.
void SetConnectionFactory(ConnectionFactory factory);

// A new, not yet logged-in connection for `record`.
std::unique_ptr<QorFtpConnection> NewConnection(const ServerRecord& record, int timeoutSeconds);

// The record's encryption and the certificate trusted for it, for the next login.
void PrepareEncryption(QorFtpConnection& connection, const ServerRecord& record);

// Login with the record's address, user name, password, port and account, in that order, encrypted
// as the record says; a certificate the user trusted in it is remembered for the server.
int LoginWith(QorFtpConnection& connection, const ServerRecord& record);

// After a login: the certificate the user trusted in it, stored for a server already in the store.
void RememberTrustedCertificate(const QorFtpConnection& connection, const ServerRecord& record);
