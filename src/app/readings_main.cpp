// pelmora-readings: runs the widget's refresh cycle against recording controls
// and prints what every control would show, for scripts and checks.
//
//   pelmora-readings [--json]
//
// It reads the same settings as the widget, takes two processor samples and
// two network-monitor passes one second apart (a load needs two), and prints one `name<TAB>value` line per
// control, then `name.visible`, and for bars `name.left` and `name.width`.
// Exit code 0; 3 when a reading failed (the failures go to stderr); 2 on a
// bad argument.
#include <chrono>
#include <clocale>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "app/HeadlessWidget.h"
#include "app/ReadingsReport.h"
#include "platform/ConfigLocation.h"

int main(int argc, char** argv)
{
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else {
            std::cerr << "usage: pelmora-readings [--json]\n";
            return 2;
        }
    }

    std::setlocale(LC_ALL, "");  // drive sizes use the user's separators, as on the widget
    // The monitor runs only the two passes asked for here, so the network
    // load covers exactly the second between them, as the widget's does.
    pelmora::HeadlessWidget widget(pelmora::settingsFilePath(), pelmora::MonitorTiming{.paced = false});
    widget.engine().showProcessorNameAndClock();
    widget.engine().refreshNetworkNow();
    widget.engine().RefreshTimerTimer();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    widget.engine().refreshNetworkNow();
    widget.engine().RefreshTimerTimer();

    std::cout << (json ? pelmora::readingsJson(widget.controls()) : pelmora::readingsText(widget.controls()));
    for (const std::string& failure : widget.engine().failedSteps()) {
        std::cerr << "pelmora-readings: " << failure << "\n";
    }
    return widget.engine().failedSteps().empty() ? 0 : 3;
}
