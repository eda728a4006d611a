// pelmora-readings: runs the widget's refresh cycle against recording controls
// and prints what every control would show, for scripts and checks.
//
//   pelmora-readings [--json]
//
// It reads the same settings as the widget, takes two processor samples one
// second apart (a load needs two), and prints one `name<TAB>value` line per
// control, then `name.visible`, and for bars `name.left` and `name.width`.
// Exit code 0; 3 when a reading failed (the failures go to stderr); 2 on a
// bad argument.
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "app/ReadingsReport.h"
#include "net/NetMonitorThread.h"
#include "platform/ConfigLocation.h"
#include "platform/linux/LinuxServices.h"
#include "readings/CPUUsage.h"
#include "readings/RecordingControls.h"
#include "readings/RefreshCycle.h"
#include "readings/WidgetPanels.h"

namespace {

class NoTimer : public pelmora::RefreshTimer {
public:
    void setEnabled(bool) override {}
    void setInterval(uint32_t) override {}
};

}  // namespace

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
    using namespace pelmora;
    LinuxServices linux;
    Services& services = linux.services();
    CPUUsage cpuUsage(services.performanceData);
    SettingsStore store(settingsFilePath());
    std::atomic<uint32_t> intervalMs{kDesignRefreshIntervalMs};
    TNetMonitorThread monitor(services.ipHelper, intervalMs);
    RecordingWidget widget;
    WidgetPanels panels(widget.controls(), services, cpuUsage, monitor);
    NoTimer timer;
    RefreshCycle cycle(store, timer, services.drives, panels, intervalMs);

    panels.showProcessorNameAndClock();
    cycle.RefreshTimerTimer();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    cycle.RefreshTimerTimer();

    std::cout << (json ? readingsJson(widget) : readingsText(widget));
    for (const std::string& failure : cycle.failedSteps()) std::cerr << "pelmora-readings: " << failure << "\n";
    return cycle.failedSteps().empty() ? 0 : 3;
}
