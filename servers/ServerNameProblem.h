#pragma once

#include <optional>
#include <string>

// Whether `name` can be a server's name, and if not, the message that says why (UTF-8). The store
// keeps values of its own beside the servers under "Servers" ("Version", and the entry list of the
// oldest layout, "Servers"), and a server's history value would overwrite them; an empty name
// stores values with no server to own them. Every place a name is entered or saved asks here.
std::optional<std::string> ServerNameProblem(const std::string& name);
