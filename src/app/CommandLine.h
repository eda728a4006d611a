#pragma once
// The command-line manners both programs share: --help and --version answer
// on standard output with status 0 and run nothing; anything unknown gets the
// usage on standard error and status 2.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pelmora {

struct CommandLineText {
    std::string usage;        // "usage: pelmora-readings [--json]"
    std::string description;  // what the program does, shown under --help
};

// The widget's own, the same on every system.
CommandLineText widgetCommandLineText();

// Nothing when the program should go on and run with `arguments` (every one
// of them in `options`); otherwise the exit status, having printed the answer.
std::optional<int> answerCommandLine(const std::vector<std::string>& arguments,
                                     const std::vector<std::string>& options, const CommandLineText& text,
                                     std::ostream& out, std::ostream& err);

std::vector<std::string> argumentsOf(int argc, char** argv);

}  // namespace pelmora
