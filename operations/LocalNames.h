// Remote names that become local files. A server chooses the names in its listings and the
// transfer data names files freely, so a name must be checked before it is joined to a local
// folder: it must not climb out of the folder, nor point into a subfolder.
#pragma once

#include <optional>
#include <string>

// False for an empty name, "." and "..", and a name holding '/' or a NUL.
bool IsSafeLocalName(const std::string& name);

// The message for a refused name (a NUL shown as "\0").
std::string UnsafeNameMessage(const std::string& name);

// `folder` joined with `name` (a '/' between them unless the folder ends with one); nothing for a
// name that IsSafeLocalName refuses.
std::optional<std::string> LocalTargetPath(const std::string& folder, const std::string& name);
