#pragma once

#include "servers/ServerRecord.h"

#include <string>
#include <unordered_map>

using ServerTable = std::unordered_map<std::string, ServerRecord>;

// The process-wide working copy of the server store, keyed by the exact server name.
// Touched only on the user-interface thread; workers get copies of records.
extern ServerTable ServerMap;

// Copies the record named `name` (compared byte for byte) into `out`.
bool GetServerRecord(const std::string& name, ServerRecord& out);
