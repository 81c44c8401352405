#pragma once

#include "servers/ServerRecord.h"

#include <QDateTime>
#include <QString>

#include <string>

// The writes that keep the server store and ServerMap in step. Each one goes straight
// to the settings file; a write that fails is not reported, as the store has no one to
// tell but the next start. The times are parameters so that the history texts can be
// checked without waiting for a clock.

// Fills ServerMap from the store; a missing "Servers" group leaves it empty.
void LoadServers();

// After the first successful connection to a server not yet in ServerMap.
void SaveNewServer(const ServerRecord& record, const QDateTime& now = QDateTime::currentDateTime());

// A known server connected again: its history becomes the time alone.
void SaveConnectTime(const std::string& name, const QDateTime& now = QDateTime::currentDateTime());

// At disconnection: the history gets ';' and the time since `connectedAt`.
void SaveDuration(const std::string& name, const QDateTime& connectedAt,
                  const QDateTime& now = QDateTime::currentDateTime());

// The caller has made sure `newName` is free.
void RenameServer(const std::string& oldName, const std::string& newName);
void DeleteServer(const std::string& name);

void SaveServerComment(const std::string& name, const std::string& comment);

// Everything but the comment, which has its own page and its own write.
void SaveServerSettings(const ServerRecord& record);

// The history text of one server; empty when it has none.
QString ReadServerHistory(const std::string& name);
