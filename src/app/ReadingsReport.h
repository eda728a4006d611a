#pragma once
// What the companion command prints of the recorded controls.
#include <string>

#include "core/RecordingControls.h"

namespace pelmora {

std::string readingsText(const RecordingWidget& widget);
std::string readingsJson(const RecordingWidget& widget);

}  // namespace pelmora
