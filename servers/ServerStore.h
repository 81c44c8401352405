#pragma once

#include "servers/ServerRecord.h"

#include <QDateTime>
#include <QString>

#include <map>
#include <string>

// The writes that keep the server store and ServerMap in step. Each one goes straight
// to the settings file; a write that fails is not reported, as the store has no one to
// tell but the next start. The times are parameters so that the history texts can be
// checked without waiting for a clock.
//
// Each write refuses a name that ServerNameProblem refuses: it writes nothing and returns false.
// The dialogs and the command line refuse such names first, with a message; this is the last guard
// for the store's own values.

// Fills ServerMap from the store; a missing "Servers" group leaves it empty. Servers whose
// password the keyring did not give load without one, and one message through GetInteraction()
// names them.
void LoadServers();

// The servers of the last LoadServers whose password the keyring did not give, with the reason.
std::map<std::string, QString> KeyringPasswordProblems();

// After "UseKeyring" changed: every loaded password goes where the option now says, and leaves
// the other place. Servers whose password the keyring did not give are left as they are.
void MoveServerPasswords();

// After the first successful connection to a server not yet in ServerMap.
bool SaveNewServer(const ServerRecord& record, const QDateTime& now = QDateTime::currentDateTime());

// A known server connected again: its history becomes the time alone.
bool SaveConnectTime(const std::string& name, const QDateTime& now = QDateTime::currentDateTime());

// At disconnection: the history gets ';' and the time since `connectedAt`.
bool SaveDuration(const std::string& name, const QDateTime& connectedAt,
                  const QDateTime& now = QDateTime::currentDateTime());

// The caller has made sure `newName` is free.
bool RenameServer(const std::string& oldName, const std::string& newName);
bool DeleteServer(const std::string& name);

bool SaveServerComment(const std::string& name, const std::string& comment);

// Everything but the comment, which has its own page and its own write.
bool SaveServerSettings(const ServerRecord& record);

// The certificate the user trusted for a stored server (SHA-256, as QorFtp gives it). Any thread:
// the file is written at once, ServerMap on the user-interface thread. A server not in the store
// (a connection whose first login has not been saved yet) is left alone; false then.
bool SaveTrustedFingerprint(const std::string& name, const std::string& fingerprint);

// The history text of one server; empty when it has none.
QString ReadServerHistory(const std::string& name);
