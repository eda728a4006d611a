#include "app/CommandLine.h"

#include <algorithm>

namespace pelmora {

std::optional<int> answerCommandLine(const std::vector<std::string>& arguments,
                                     const std::vector<std::string>& options, const CommandLineText& text,
                                     std::ostream& out, std::ostream& err)
{
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            out << text.usage << "\n\n" << text.description;
            return 0;
        }
        if (argument == "--version") {
            out << "Pelmora " << PELMORA_VERSION << "\n";
            return 0;
        }
    }
    for (const std::string& argument : arguments) {
        if (std::find(options.begin(), options.end(), argument) == options.end()) {
            err << "unknown argument: " << argument << "\n" << text.usage << "\n";
            return 2;
        }
    }
    return std::nullopt;
}

std::vector<std::string> argumentsOf(int argc, char** argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

CommandLineText widgetCommandLineText()
{
    return {"usage: pelmora [--help | --version]",
            "Shows the Pelmora desktop widget: live readings of this machine. A second\n"
            "start brings the running widget forward and ends.\n"};
}

}  // namespace pelmora
