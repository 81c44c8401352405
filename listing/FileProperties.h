// The texts of the File Properties and File Permissions dialogs: permission letters as nine
// flags and back as a mode, the size with its short form, and a listed date in the user's format.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <string>

// Flag order: owner read, write, execute, group read, write, execute, others read, write,
// execute. Any letter but '-' counts as set, so s, t, S and T set the execute flags.
std::array<bool, 9> PermissionFlags(const std::string& letters);

// Three decimal digits, owner, group, others, each read * 4 + write * 2 + execute: "755".
std::string ModeFromFlags(const std::array<bool, 9>& flags);

// "1.21 KB (1,234 bytes)": the short value with three significant digits, then the exact count
// grouped as the locale groups numbers.
QString PropertiesSizeText(std::uint64_t size, const QLocale& locale);

// "Mar 07 1996" or "Mar 07 10:15" as the server listed it, written as the locale's long date and
// its short time; `today` supplies the year of recent entries. Text that does not read as such a
// date comes back unchanged.
QString PropertiesModifiedText(const QString& listed, const QDate& today, const QLocale& locale);
