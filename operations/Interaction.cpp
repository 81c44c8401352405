// Without a window (scripts run from a terminal, tests) nobody can answer: messages go to standard
// error and every question gets the answer that changes nothing.
#include "Interaction.h"

#include "Installed.h"

#include <cstdio>

void TerminalInteraction::ShowMessage(const std::string& text, MessageIcon, const CancelFlag&)
{
    std::fprintf(stderr, "tarvo: %s\n", text.c_str());
    ++m_messages;
}

bool TerminalInteraction::AskYesNo(const std::string& text, const CancelFlag&)
{
    std::fprintf(stderr, "tarvo: %s\n(answered No)\n", text.c_str());
    return false;
}

OverwriteAnswer TerminalInteraction::AskOverwrite(const std::string&, const CancelFlag&)
{
    return {};
}

std::optional<std::string> TerminalInteraction::AskPermissions(const std::string&, const std::string&,
                                                               const CancelFlag&)
{
    return std::nullopt;
}

DeleteConfirmResult TerminalInteraction::AskDeleteConfirm(const std::string&, const CancelFlag&)
{
    return DeleteConfirmResult::Cancel;
}

namespace {

TerminalInteraction terminalInteraction;
Installed<Interaction> installedInteraction(terminalInteraction);

} // namespace

void SetInteraction(Interaction* interaction)
{
    installedInteraction.Set(interaction);
}

Interaction& GetInteraction()
{
    return installedInteraction.Get();
}
