// What a download or an upload does about a target that exists already: the overwrite dialog,
// asked again for every new name until the target is free or the user has decided.
#pragma once

#include "OperationLists.h"

#include <cstdint>
#include <string>

class QorFtpConnection;

struct TargetChoice {
    bool proceed = false; // false: the user cancelled
    std::string target; // the path to write, renamed or not
    std::uint64_t offset = 0; // Recover: resume at the target's present size
    int append = 0; // Append: the whole source after the target's bytes
};

// The new path: `target` up to and including its last '/' (without one, its last backslash)
// followed by `newName`; `newName` alone when there is neither.
std::string ApplyRenamingRule(const std::string& target, const std::string& newName);

// A local target: asked while a file of that path exists; Recover takes the local size.
TargetChoice ChooseLocalTarget(const std::string& target, const CancelFlag& cancelled);

// A remote target over a logged-in connection: asked while FindFile finds it; Recover takes the
// size the listing reports.
TargetChoice ChooseRemoteTarget(QorFtpConnection& connection, const std::string& target, const CancelFlag& cancelled);
