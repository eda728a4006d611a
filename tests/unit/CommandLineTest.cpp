#include <gtest/gtest.h>

#include <sstream>

#include "app/CommandLine.h"

namespace pelmora {
namespace {

TEST(CommandLine, AnswersHelpAndVersionOnStdoutAndRejectsTheUnknownOnStderr)
{
    struct Case {
        std::vector<std::string> arguments;
        std::optional<int> status;
        const char* out;  // the start of what goes to stdout
        const char* err;  // the start of what goes to stderr
    };
    const std::vector<Case> cases = {
        {{}, std::nullopt, "", ""},
        {{"--json"}, std::nullopt, "", ""},
        {{"--help"}, 0, "usage: tool [--json]\n\nDoes things.\n", ""},
        {{"-h"}, 0, "usage: tool", ""},
        {{"--json", "--help"}, 0, "usage: tool", ""},
        {{"--bogus", "--help"}, 0, "usage: tool", ""},  // asking for help is never an error
        {{"--version"}, 0, "Pelmora ", ""},
        {{"--bogus"}, 2, "", "unknown argument: --bogus\nusage: tool [--json]\n"},
        {{"--json", ""}, 2, "", "unknown argument: \n"},
        {{"json"}, 2, "", "unknown argument: json\n"},
    };
    const CommandLineText text{"usage: tool [--json]", "Does things.\n"};
    for (const Case& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(answerCommandLine(c.arguments, {"--json"}, text, out, err), c.status) << c.arguments.size();
        EXPECT_EQ(out.str().rfind(c.out, 0), 0u) << out.str();
        EXPECT_EQ(err.str().rfind(c.err, 0), 0u) << err.str();
        if (std::string(c.out).empty()) {
            EXPECT_TRUE(out.str().empty());
        }
        if (std::string(c.err).empty()) {
            EXPECT_TRUE(err.str().empty());
        }
    }
}

}  // namespace
}  // namespace pelmora
