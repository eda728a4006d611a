#include "app/HeadlessWidget.h"

namespace pelmora {

HeadlessWidget::HeadlessWidget(const std::filesystem::path& settingsFile)
    : store_(settingsFile), engine_(linux_.services(), store_, controls_.controls(), timer_)
{
}

}  // namespace pelmora
