// The script parser: the input as a whole script file, compiled as LoadScriptFile does.
#include "scripts/ScriptParser.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ScriptParser parser;
    std::size_t lines = 1;
    for (char c : text)
        lines += c == '\n';
    // Lines count from 0.
    const std::vector<OperationRequest> steps = parser.Compile(text, [&](const ScriptSyntaxError& error) {
        if (error.lineNumber < 0 || static_cast<std::size_t>(error.lineNumber) >= lines || error.Text().empty())
            std::abort();
    });
    // A line compiles to one step at most.
    if (steps.size() > lines)
        std::abort();
    return 0;
}
