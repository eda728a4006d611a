#include "app/HeadlessWidget.h"

namespace pelmora {

HeadlessWidget::HeadlessWidget(Services& services, SettingsStore& store)
    : engine_(services, store, controls_.controls(), timer_)
{
}

}  // namespace pelmora
