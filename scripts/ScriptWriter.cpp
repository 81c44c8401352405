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
        if (word.find('"') != std::string::npos && m_unwritable.empty())
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
        switch (step.kind) {
        case Upload: writer.Line({"put", step.file, step.targetFile}); break;
        case UploadAppend: writer.Line({"putappend", step.file, step.targetFile}); break;
        case Download: writer.Line({"get", step.file, step.localPath}); break;
        case DownloadAppend: writer.Line({"getappend", step.file, step.targetFile}); break;
        case Transfer: writer.Line({"trans", step.file, "to", step.targetServer, step.targetFile}); break;
        case AppendTransfer: writer.Line({"append", step.file, "to", step.targetServer, step.targetFile}); break;
        case ChangeMode: writer.Line({"chmod", step.file, step.fileMode}); break;
        case Delete: writer.Line({"del", step.file}); break;
        default: break;
        }
    }
    if (!open.empty())
        writer.Line({"close"});
    return writer.Result();
}
