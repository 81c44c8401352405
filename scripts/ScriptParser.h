// The `.ftp` script language: one command per line, compiled into OperationRequest steps.
#pragma once

#include "operations/OperationRequest.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A line holds at most this many bytes, its line end included.
constexpr std::size_t kScriptLineLimit = 256;

struct ScriptSyntaxError {
    int lineNumber = 0;
    std::string line; // the trimmed line
    std::string syntax; // the keyword's syntax text, or why the line cannot be compiled

    // "Syntax error at line: %1\n\n'%2'\n\n" followed by the syntax text.
    std::string Text() const;
};

// The compiler's state: the current server survives from one loaded script to the next, as
// a script that does not end with close leaves its site for the next one.
class ScriptParser {
public:
    // Compiles one line; a step when the line makes one. Syntax errors go to `report`.
    std::optional<OperationRequest> ParseScriptLine(std::string_view line, int lineNumber,
                                                    const std::function<void(const ScriptSyntaxError&)>& report);

    // Splits a whole file into lines (CR LF or LF alone; a last line without a line end counts)
    // and compiles them. A line longer than kScriptLineLimit is reported and skipped.
    std::vector<OperationRequest> Compile(std::string_view text,
                                          const std::function<void(const ScriptSyntaxError&)>& report);

    const std::string& CurrentServer() const { return m_currentServer; }

private:
    std::string m_currentServer;
    std::string m_currentLine;
};

// The process-wide compiler used by LoadScriptFile.
ScriptParser& GetScriptParser();

// The syntax text of a keyword ("get <remote file> <local file>"), empty for an unknown one.
std::string ScriptSyntaxText(std::string_view keyword);

// Empties ScriptStepList, reads and compiles the file into it. Syntax errors and an unreadable
// file are shown through the interaction interface. False for an empty path or an unreadable file.
bool LoadScriptFile(const std::string& path);
