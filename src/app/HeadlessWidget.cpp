#include "app/HeadlessWidget.h"

#include <utility>

namespace pelmora {

HeadlessWidget::HeadlessWidget(const std::filesystem::path& settingsFile, MonitorTiming monitorTiming)
    : store_(settingsFile),
      engine_(linux_.services(), store_, controls_.controls(), timer_, localeNumberSeparators,
              std::move(monitorTiming))
{
}

}  // namespace pelmora
