#include "OverwriteLoop.h"

#include "Interaction.h"

#include "QorFtp.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace {

bool IsCancelled(const CancelFlag& cancelled)
{
    return cancelled && cancelled->load();
}

// The dialog loop shared by both directions. `existingSize` tells whether the target exists and,
// when it does, its size.
TargetChoice Choose(std::string target, const CancelFlag& cancelled,
                    const std::function<std::optional<std::uint64_t>(const std::string&)>& existingSize)
{
    TargetChoice choice;
    for (;;) {
        const std::optional<std::uint64_t> size = existingSize(target);
        if (!size)
            break;
        const OverwriteAnswer answer = GetInteraction().AskOverwrite(target, cancelled);
        if (IsCancelled(cancelled) || answer.result == OverwriteAnswer::Cancel)
            return choice;
        if (answer.result == OverwriteAnswer::Overwrite) {
            if (answer.newName.empty())
                break;
            target = ApplyRenamingRule(target, answer.newName);
        } else if (answer.result == OverwriteAnswer::Recover) {
            choice.offset = *size;
            break;
        } else if (answer.result == OverwriteAnswer::Append) {
            choice.append = 1;
            break;
        }
    }
    choice.proceed = true;
    choice.target = std::move(target);
    return choice;
}

} // namespace

std::string ApplyRenamingRule(const std::string& target, const std::string& newName)
{
    std::size_t separator = target.rfind('/');
    if (separator == std::string::npos)
        separator = target.rfind('\\');
    if (separator == std::string::npos)
        return newName;
    return target.substr(0, separator + 1) + newName;
}

TargetChoice ChooseLocalTarget(const std::string& target, const CancelFlag& cancelled)
{
    return Choose(target, cancelled, [](const std::string& path) -> std::optional<std::uint64_t> {
        namespace fs = std::filesystem;
        std::error_code error;
        if (!fs::exists(fs::symlink_status(path, error)))
            return std::nullopt;
        // 64-bit, so files of 4 GiB and more resume where they stopped.
        const std::uintmax_t size = fs::file_size(path, error);
        return error ? 0 : static_cast<std::uint64_t>(size);
    });
}

TargetChoice ChooseRemoteTarget(QorFtpConnection& connection, const std::string& target, const CancelFlag& cancelled)
{
    return Choose(target, cancelled, [&connection](const std::string& path) -> std::optional<std::uint64_t> {
        // A target that does not exist is the usual case, not a failure worth a message box.
        connection.SetShowError(0);
        _Qor_Ftp_FileData found;
        const int exists = connection.FindFile(path, found);
        connection.SetShowError(1);
        if (!exists)
            return std::nullopt;
        return found.Size;
    });
}
