// Compiling script lines into steps, the syntax reports, and the writer's round trip.
#include "scripts/ScriptParser.h"
#include "scripts/ScriptWriter.h"

#include <gtest/gtest.h>

namespace {

struct Compiled {
    std::vector<OperationRequest> steps;
    std::vector<std::string> reports;
};

Compiled Compile(std::string_view text, ScriptParser parser = {})
{
    Compiled result;
    result.steps = parser.Compile(text, [&](const ScriptSyntaxError& e) { result.reports.push_back(e.Text()); });
    return result;
}

OperationRequest Step(int kind, std::string source, std::string target, std::string local, std::string file,
                      std::string targetFile, std::string mode = {})
{
    return {0, source, target, local, file, targetFile, mode, kind};
}

TEST(ScriptCompile, EachCommandGivesItsStep)
{
    const std::pair<const char*, OperationRequest> lines[] = {
        // each compiled after "open site"
        {"Open other", Step(ScriptOpen, "other", "", "", "", "")},
        {"get /a.txt c:\\a.txt", Step(Download, "site", "", "c:\\a.txt", "/a.txt", "")},
        {"PUT /tmp/a /pub/a", Step(Upload, "", "site", "", "/tmp/a", "/pub/a")},
        {"GetAppend /r /l", Step(DownloadAppend, "site", "", "", "/r", "/l")},
        {"putappend /l /r", Step(UploadAppend, "", "site", "", "/l", "/r")},
        {"trans /a to other /b", Step(Transfer, "site", "other", "", "/a", "/b")},
        {"append /a into other /b", Step(AppendTransfer, "site", "other", "", "/a", "/b")},
        {"chmod /a 644", Step(ChangeMode, "site", "", "", "/a", "", "644")},
        {"del /a extra words", Step(Delete, "site", "", "", "/a", "")},
        {"get \"/pub/my file.txt\" \"/tmp/my file.txt\"",
         Step(Download, "site", "", "/tmp/my file.txt", "/pub/my file.txt", "")},
        {"\t get  /a\tb   /c \t", Step(Download, "site", "", "/c", "/a\tb", "")},
        {"close", Step(ScriptClose, "site", "", "", "", "")},
    };
    for (const auto& [line, step] : lines) {
        SCOPED_TRACE(line);
        Compiled c = Compile(std::string("open site\r\n") + line + "\r\n");
        EXPECT_TRUE(c.reports.empty());
        ASSERT_EQ(c.steps.size(), 2u);
        EXPECT_EQ(c.steps[1], step);
    }
}

TEST(ScriptCompile, NothingBeforeOpenAndAfterClose)
{
    Compiled c = Compile("get /a /b\r\n' a comment\r\n\r\nopen s\r\nclose\r\nput /x /y\r\nbogus words\r\n");
    EXPECT_TRUE(c.reports.empty());
    ASSERT_EQ(c.steps.size(), 2u);
    EXPECT_EQ(c.steps[0].kind, ScriptOpen);
    EXPECT_EQ(c.steps[1].kind, ScriptClose);
}

TEST(ScriptCompile, SyntaxErrorsNameTheLineCountedFromZero)
{
    ScriptParser parser;
    parser.Compile("open s\r\n", nullptr); // the current server survives into the next load
    Compiled c = Compile("get /only-one\nopen\ntrans /a to other\nget \"/unclosed /b\nget /a /b", parser);
    ASSERT_EQ(c.reports.size(), 4u);
    EXPECT_EQ(c.reports[0], "Syntax error at line: 0\n\n'get /only-one'\n\nget <remote file> <local file>");
    EXPECT_EQ(c.reports[1], "Syntax error at line: 1\n\n'open'\n\nopen <ftp site>");
    EXPECT_EQ(c.reports[2],
              "Syntax error at line: 2\n\n'trans /a to other'\n\ntrans <remote file> to <ftp site> <remote file>");
    EXPECT_EQ(c.reports[3].rfind("Syntax error at line: 3\n\n", 0), 0u);
    // LF-only lines, and the last line without a line end, compile too.
    ASSERT_EQ(c.steps.size(), 1u);
    EXPECT_EQ(c.steps[0], Step(Download, "s", "", "/b", "/a", ""));
}

TEST(ScriptCompile, ALineOfMoreThan256BytesIsReportedNotTheEnd)
{
    const std::string name(246, 'x'); // "get /" name " /b" CR LF: 256 bytes
    Compiled c = Compile("open s\r\nget /" + name + " /b\r\nget /" + name + "y /b\r\nget /a /b\r\n");
    ASSERT_EQ(c.reports.size(), 1u);
    EXPECT_EQ(c.reports[0],
              "Syntax error at line: 2\n\n'get /" + name
                  + "y /b...'\n\n"
                    "A line holds at most 254 characters.\nget <remote file> <local file>");
    ASSERT_EQ(c.steps.size(), 3u);
    EXPECT_EQ(c.steps[1].file, "/" + name);
    EXPECT_EQ(c.steps[2].file, "/a");
}

TEST(ScriptWriter, GroupsByServerAndRoundTrips)
{
    std::vector<OperationRequest> steps = {
        Step(Download, "alpha", "", "/tmp/my file", "/pub/my file", ""),
        Step(Upload, "", "alpha", "", "/tmp/x", "/up/x"),
        Step(Transfer, "beta site", "alpha", "", "/a", "/b"),
        Step(AppendTransfer, "beta site", "alpha", "", "/a", "/c"),
        Step(ChangeMode, "beta site", "", "", "/a", "", "600"),
        Step(Delete, "alpha", "", "", "/old", ""),
        Step(UploadAppend, "", "alpha", "", "/l", "/r"),
        Step(DownloadAppend, "alpha", "", "", "/r", "/l"),
        // A tab or CR at either end of a word is lost unless the word is quoted.
        Step(UploadAppend, "", "alpha", "", "\ttab", "cr\r"),
        Step(Transfer, "alpha", "tab\tsite", "", "\rcr", "in\tside\rword"),
    };
    ScriptText written = WriteScript(steps);
    EXPECT_TRUE(written.unwritable.empty());
    EXPECT_NE(written.text.find("trans /a to alpha /b\r\n"), std::string::npos) << written.text;
    EXPECT_NE(written.text.find("open \"beta site\"\r\n"), std::string::npos);

    Compiled c = Compile(written.text);
    EXPECT_TRUE(c.reports.empty());
    std::vector<OperationRequest> withoutOpenClose;
    for (const OperationRequest& step : c.steps)
        if (step.kind != ScriptOpen && step.kind != ScriptClose)
            withoutOpenClose.push_back(step);
    EXPECT_EQ(withoutOpenClose, steps);
    EXPECT_EQ(c.steps.front().kind, ScriptOpen);
    EXPECT_EQ(c.steps.back().kind, ScriptClose);
}

TEST(ScriptWriter, ReportsWhatTheLanguageCannotHold)
{
    for (const std::string word : {"/say \"hi\"", "/two\nlines"})
        EXPECT_EQ(WriteScript({Step(Delete, "s", "", "", word, "")}).unwritable, word);
}

} // namespace
