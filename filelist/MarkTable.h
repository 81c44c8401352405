// The items the user has marked, kept across refills of the list and changes of folder, for
// the script editor to turn into steps. User-interface thread only.
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct MarkRecord {
    std::string serverName; // the tree's root node of the folder: a server name or "My Computer"
    std::string path; // the key: folder, "/", name
    std::uint32_t kind = 0; // copied from the row's FileItem
    std::string permissions;
};

// Keyed by folder + "/" + name; ordered, so whoever walks it sees the same order every time.
extern std::map<std::string, MarkRecord> MarkTable;

std::string MarkKey(const std::string& folder, const std::string& name);
