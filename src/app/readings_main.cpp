// pelmora-readings: runs the widget's refresh cycle against recording controls
// and prints what every control would show, for scripts and checks.
//
//   pelmora-readings [--json]
//
// It reads the same settings as the widget, takes two processor samples and
// two network-monitor passes one second apart (a load needs two), and prints one `name<TAB>value` line per
// control, then `name.visible`, and for bars `name.left` and `name.width`.
// Exit code 0; 3 when a reading failed (the failures go to stderr); 2 on a
// bad argument. --help and --version answer and run nothing. A drive that
// stopped answering is reported as not responding, and the command still
// ends within a few seconds.
#include <chrono>
#include <clocale>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/CommandLine.h"
#include "app/HeadlessWidget.h"
#include "app/ReadingsPlatform.h"
#include "app/ReadingsReport.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = pelmora::argumentsOf(argc, argv);
    const pelmora::CommandLineText text{
        "usage: pelmora-readings [--json]",
        "Runs one refresh of the Pelmora widget without a window and prints what every\n"
        "control would show, one `name<TAB>value` line each (--json: as JSON).\n"
        "Exit status 3 when a reading failed.\n"};
    if (const auto status = pelmora::answerCommandLine(arguments, {"--json"}, text, std::cout, std::cerr)) {
        return *status;
    }
    const bool json = !arguments.empty();

    return pelmora::runReadingsToTheEnd([json] {
        std::setlocale(LC_ALL, "");  // drive sizes use the user's separators, as on the widget
        const std::unique_ptr<pelmora::ReadingsPlatform> platform = pelmora::makeReadingsPlatform();
        // The monitor runs only the two passes asked for here, so the network
        // load covers exactly the second between them, as the widget's does.
        pelmora::HeadlessWidget widget(platform->services(), platform->store(),
                                       pelmora::MonitorTiming{.paced = false});
        widget.engine().showProcessorNameAndClock();
        widget.engine().refreshNetworkNow();
        widget.engine().RefreshTimerTimer();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        widget.engine().refreshNetworkNow();
        widget.engine().RefreshTimerTimer();

        std::cout << (json ? pelmora::readingsJson(widget.controls())
                           : pelmora::readingsText(widget.controls()));
        for (const std::string& failure : widget.engine().failedSteps()) {
            std::cerr << "pelmora-readings: " << failure << "\n";
        }
        return widget.engine().failedSteps().empty() ? 0 : 3;
    });
}
