// Without a window (scripts run from a terminal, tests) nobody can answer: messages go to standard
// error and every question gets the answer that changes nothing.
#include "Interaction.h"

#include <atomic>
#include <cstdio>

namespace {

class TerminalInteraction : public Interaction {
public:
    void ShowMessage(const std::string& text, MessageIcon, const CancelFlag&) override
    {
        std::fprintf(stderr, "tarvo: %s\n", text.c_str());
    }
    bool AskYesNo(const std::string&, const CancelFlag&) override { return false; }
    OverwriteAnswer AskOverwrite(const std::string&, const CancelFlag&) override { return {}; }
    std::optional<std::string> AskPermissions(const std::string&, const std::string&, const CancelFlag&) override
    {
        return std::nullopt;
    }
    DeleteConfirmResult AskDeleteConfirm(const std::string&, const CancelFlag&) override
    {
        return DeleteConfirmResult::Cancel;
    }
};

TerminalInteraction terminalInteraction;
std::atomic<Interaction*> installedInteraction{nullptr};

} // namespace

void SetInteraction(Interaction* interaction)
{
    installedInteraction.store(interaction);
}

Interaction& GetInteraction()
{
    Interaction* interaction = installedInteraction.load();
    return interaction ? *interaction : terminalInteraction;
}
