// Turns steps back into script text, as the script editor saves them.
#pragma once

#include "operations/OperationRequest.h"

#include <string>
#include <vector>

struct ScriptText {
    std::string text; // CR LF line ends
    std::string unwritable; // an argument the language cannot hold (one with a double quote or a line feed), or empty
};

// Steps are grouped by server between "open" and "close"; ScriptOpen and ScriptClose steps in
// the list are left out, since the grouping writes them. Arguments with blanks are quoted.
ScriptText WriteScript(const std::vector<OperationRequest>& steps);

// One step as its script line ("get /a.txt /tmp/a.txt", "open site"), without the line end.
std::string StepText(const OperationRequest& step);
