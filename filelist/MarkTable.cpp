#include "filelist/MarkTable.h"

std::map<std::string, MarkRecord> MarkTable;

std::string MarkKey(const std::string& folder, const std::string& name)
{
    // A folder that already ends in "/" (the root) gets no second one.
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}
