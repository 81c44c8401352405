#include "ScriptWriter.h"

namespace {

// The server a step runs on: the source, or the target of an upload.
const std::string& ServerOf(const OperationRequest& step)
{
    return step.kind == Upload || step.kind == UploadAppend ? step.targetServer : step.sourceServer;
}

class Writer {
public:
    std::string Word(const std::string& word)
    {
        // No quoting holds a double quote, and a line feed would end the line.
        if (word.find_first_of("\"\n") != std::string::npos && m_unwritable.empty())
            m_unwritable = word;
        const bool plain = !word.empty() && word.find_first_of(" \t\r\n") == std::string::npos && word.front() != '\'';
        return plain ? word : "\"" + word + "\"";
    }

    void Line(std::initializer_list<std::string> words)
    {
        bool first = true;
        for (const std::string& word : words) {
            if (!first)
                m_text += ' ';
            m_text += first ? word : Word(word);
            first = false;
        }
        m_text += "\r\n";
    }

    ScriptText Result() { return {m_text, m_unwritable}; }

    void Step(const OperationRequest& step)
    {
        switch (step.kind) {
        case Upload:
            Line({"put", step.file, step.targetFile});
            break;
        case UploadAppend:
            Line({"putappend", step.file, step.targetFile});
            break;
        case Download:
            Line({"get", step.file, step.localPath});
            break;
        case DownloadAppend:
            Line({"getappend", step.file, step.targetFile});
            break;
        case Transfer:
            Line({"trans", step.file, "to", step.targetServer, step.targetFile});
            break;
        case AppendTransfer:
            Line({"append", step.file, "to", step.targetServer, step.targetFile});
            break;
        case ChangeMode:
            Line({"chmod", step.file, step.fileMode});
            break;
        case Delete:
            Line({"del", step.file});
            break;
        case ScriptOpen:
            Line({"open", step.sourceServer});
            break;
        case ScriptClose:
            Line({"close"});
            break;
        default:
            break;
        }
    }

private:
    std::string m_text;
    std::string m_unwritable;
};

} // namespace

ScriptText WriteScript(const std::vector<OperationRequest>& steps)
{
    Writer writer;
    std::string open;
    for (const OperationRequest& step : steps) {
        if (step.kind == ScriptOpen || step.kind == ScriptClose)
            continue;
        const std::string& server = ServerOf(step);
        if (server != open) {
            if (!open.empty())
                writer.Line({"close"});
            writer.Line({"open", server});
            open = server;
        }
        writer.Step(step);
    }
    if (!open.empty())
        writer.Line({"close"});
    return writer.Result();
}

std::string StepText(const OperationRequest& step)
{
    Writer writer;
    writer.Step(step);
    std::string text = writer.Result().text;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}
