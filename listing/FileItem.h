// The record behind one row of the file list, and the kinds a row can have.
#pragma once

#include <cstdint>
#include <string>

inline constexpr std::uint32_t ITEM_FOLDER = 2;
inline constexpr std::uint32_t ITEM_FILE = 3;
inline constexpr std::uint32_t ITEM_LINK = 5; // links and special files

// The item data of a row that is a notice ("No Files", "Error!") rather than an entry.
inline constexpr int MESSAGE_ROW_DATA = 4;

struct FileItem {
    std::uint32_t kind = 0;
    std::string owner; // remote only; at most 19 characters kept
    std::string group; // remote only; at most 19 characters kept
    std::string permissions; // remote only; at most 9 letters kept
    std::uint64_t size = 0; // bytes as listed; 64-bit so files of 4 GiB and more show right
    std::string name; // as the server or the file system has it; a link's part before "->"
};
