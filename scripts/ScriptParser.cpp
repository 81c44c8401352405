#include "ScriptParser.h"

#include "operations/Interaction.h"
#include "operations/OperationLists.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsWhite(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsWhite(text.back()))
        text.remove_suffix(1);
    return text;
}

// A word ends at the first blank; one that starts with a double quote runs to the next double
// quote, blanks included, and loses both quotes. Without its closing quote it is empty.
std::string NextWord(std::string_view& rest)
{
    std::string word;
    if (!rest.empty() && rest.front() == '"') {
        std::size_t close = rest.find('"', 1);
        if (close == std::string_view::npos) {
            rest = {};
            return {};
        }
        word = rest.substr(1, close - 1);
        rest.remove_prefix(close + 1);
        // Text glued to the closing quote belongs to the same word, up to the next blank.
        std::size_t end = rest.find(' ');
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    } else {
        std::size_t end = rest.find(' ');
        word = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    }
    while (!rest.empty() && IsWhite(rest.front()))
        rest.remove_prefix(1);
    return word;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

std::string ScriptSyntaxError::Text() const
{
    return "Syntax error at line: " + std::to_string(lineNumber) + "\n\n'" + line + "'\n\n" + syntax;
}

std::string ScriptSyntaxText(std::string_view keyword)
{
    const std::string key = Lower(std::string(keyword));
    if (key == "open")
        return "open <ftp site>";
    if (key == "close")
        return "close";
    if (key == "del")
        return "del <file>";
    if (key == "put")
        return "put <local file> <remote file>";
    if (key == "get")
        return "get <remote file> <local file>";
    if (key == "putappend")
        return "putappend <local file> <remote file>";
    if (key == "getappend")
        return "getappend <remote file> <local file>";
    if (key == "append")
        return "append <remote file> to <ftp site> <remote file>";
    if (key == "trans")
        return "trans <remote file> to <ftp site> <remote file>";
    if (key == "chmod")
        return "chmod <file> <file mode>";
    return {};
}

std::optional<OperationRequest>
ScriptParser::ParseScriptLine(std::string_view line, int lineNumber,
                              const std::function<void(const ScriptSyntaxError&)>& report)
{
    line = Trim(line);
    m_currentLine = line;
    std::string_view rest = line;
    const std::string keyword = Lower(NextWord(rest));
    if (keyword.empty() || keyword.front() == '\'')
        return std::nullopt;

    const std::string syntax = ScriptSyntaxText(keyword);
    // Takes the next argument; reports the line when it is missing.
    bool failed = false;
    auto argument = [&]() {
        std::string word = failed ? std::string() : NextWord(rest);
        if (word.empty() && !failed) {
            failed = true;
            if (report)
                report({lineNumber, m_currentLine, syntax});
        }
        return word;
    };

    OperationRequest step;
    if (keyword == "open") {
        std::string site = argument();
        if (failed)
            return std::nullopt;
        m_currentServer = site;
        step.kind = ScriptOpen;
        step.sourceServer = site;
        return step;
    }
    if (m_currentServer.empty() || syntax.empty())
        return std::nullopt;

    if (keyword == "close") {
        step.kind = ScriptClose;
        step.sourceServer = m_currentServer;
        m_currentServer.clear();
        return step;
    }
    if (keyword == "del") {
        step.kind = Delete;
        step.sourceServer = m_currentServer;
        step.file = argument();
    } else if (keyword == "put" || keyword == "putappend") {
        step.kind = keyword == "put" ? Upload : UploadAppend;
        step.targetServer = m_currentServer;
        step.file = argument();
        step.targetFile = argument();
    } else if (keyword == "get") {
        step.kind = Download;
        step.sourceServer = m_currentServer;
        step.file = argument();
        step.localPath = argument();
    } else if (keyword == "getappend") {
        step.kind = DownloadAppend;
        step.sourceServer = m_currentServer;
        step.file = argument();
        step.targetFile = argument();
    } else if (keyword == "append" || keyword == "trans") {
        step.kind = keyword == "trans" ? Transfer : AppendTransfer;
        step.sourceServer = m_currentServer;
        step.file = argument();
        argument(); // "to": any word will do
        step.targetServer = argument();
        step.targetFile = argument();
    } else if (keyword == "chmod") {
        step.kind = ChangeMode;
        step.sourceServer = m_currentServer;
        step.file = argument();
        step.fileMode = argument();
    }
    if (failed)
        return std::nullopt;
    return step;
}

std::vector<OperationRequest> ScriptParser::Compile(std::string_view text,
                                                    const std::function<void(const ScriptSyntaxError&)>& report)
{
    std::vector<OperationRequest> steps;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line = text.substr(start, next - start);
        start = next;
        if (line.size() > kScriptLineLimit) {
            if (report) {
                std::string_view shown = Trim(line.substr(0, kScriptLineLimit));
                std::string_view rest = shown;
                std::string syntax = ScriptSyntaxText(NextWord(rest));
                report({lineNumber, std::string(shown) + "...",
                        "A line holds at most " + std::to_string(kScriptLineLimit - 2) + " characters."
                            + (syntax.empty() ? "" : "\n" + syntax)});
            }
        } else if (auto step = ParseScriptLine(line, lineNumber, report)) {
            steps.push_back(*step);
        }
        ++lineNumber;
    }
    return steps;
}

ScriptParser& GetScriptParser()
{
    static ScriptParser parser;
    return parser;
}

bool LoadScriptFile(const std::string& path)
{
    ScriptStepList.Clear();
    if (path.empty())
        return false;
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    if (file)
        content << file.rdbuf();
    if (!file || file.bad()) {
        std::string text = std::strerror(errno ? errno : EIO);
        if (text.size() > 255)
            text.resize(255);
        GetInteraction().ShowMessage(text, MessageIcon::Warning);
        return false;
    }
    ScriptStepList.Replace(GetScriptParser().Compile(content.str(), [](const ScriptSyntaxError& error) {
        GetInteraction().ShowMessage(error.Text(), MessageIcon::Warning);
    }));
    return true;
}
