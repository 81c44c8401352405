// The program's questions and messages from the operations, shown on the user-interface thread
// while the asking worker waits; a cancelled operation stops waiting and its dialog closes.
#pragma once

#include "operations/Interaction.h"

class QWidget;

class QtInteraction : public Interaction {
public:
    void ShowMessage(const std::string& text, MessageIcon icon, const CancelFlag& cancelled = nullptr) override;
    bool AskYesNo(const std::string& text, const CancelFlag& cancelled = nullptr) override;
    OverwriteAnswer AskOverwrite(const std::string& path, const CancelFlag& cancelled = nullptr) override;
    OverwriteAnswer AskOverwriteInJob(const std::string& path, const CancelFlag& cancelled = nullptr) override;
    std::optional<std::string> AskPermissions(const std::string& file, const std::string& permissions,
                                              const CancelFlag& cancelled = nullptr) override;
    DeleteConfirmResult AskDeleteConfirm(const std::string& prompt, const CancelFlag& cancelled = nullptr) override;
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override;
    std::string LibraryText(const std::string& text) override;

    DownloadAsAnswer AskDownloadAs(const DownloadAsQuestion& question) override;
    std::optional<std::pair<std::string, std::string>> AskTwoFields(const std::string& prompt1,
                                                                    const std::string& prompt2) override;
    std::optional<std::string> AskText(const std::string& prompt) override;
    void ShowFileProperties(const FilePropertiesView& properties) override;
    std::optional<std::string> AskScriptFile() override;
};

// The window the program's dialogs belong to: the active one, else the main window.
QWidget* DialogOwner();
