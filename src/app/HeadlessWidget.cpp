#include "app/HeadlessWidget.h"

namespace pelmora {

HeadlessWidget::HeadlessWidget(const std::filesystem::path& settingsFile)
    : cpuUsage_(linux_.services().performanceData),
      store_(settingsFile),
      monitor_(linux_.services().ipHelper, intervalMs_),
      panels_(controls_.controls(), linux_.services(), cpuUsage_, monitor_),
      cycle_(store_, timer_, linux_.services().drives, panels_, intervalMs_)
{
}

}  // namespace pelmora
