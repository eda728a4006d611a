#include "app/HeadlessWidget.h"

#include <utility>

namespace pelmora {

HeadlessWidget::HeadlessWidget(Services& services, SettingsStore& store, MonitorTiming monitorTiming)
    : engine_(services, store, controls_.controls(), timer_, localeNumberSeparators, std::move(monitorTiming))
{
}

}  // namespace pelmora
