#include "LocalNames.h"

#include "OperationTexts.h"

bool IsSafeLocalName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

std::string UnsafeNameMessage(const std::string& name)
{
    std::string shown;
    for (char c : name)
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    return FillInsert(OperationText::Tr(OperationText::kUnsafeRemoteName), shown);
}

std::optional<std::string> LocalTargetPath(const std::string& folder, const std::string& name)
{
    if (!IsSafeLocalName(name))
        return std::nullopt;
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}
