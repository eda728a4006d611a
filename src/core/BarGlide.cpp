#include "core/BarGlide.h"

#include <algorithm>
#include <cmath>

namespace pelmora {

BarGlide::BarGlide(double shown) : target_(std::clamp(shown, kMinimum, kMaximum)), shown_(target_)
{
}

void BarGlide::setTarget(double position)
{
    if (std::isnan(position)) return;
    target_ = std::clamp(position, kMinimum, kMaximum);
}

bool BarGlide::step()
{
    if (!moving()) return false;
    const double remaining = target_ - shown_;
    const double distance = std::max(std::abs(remaining) * kStepFraction, kMinStep);
    shown_ += remaining > 0 ? distance : -distance;
    if (std::abs(target_ - shown_) < kMinStep) shown_ = target_;
    return moving();
}

}  // namespace pelmora
