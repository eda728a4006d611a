#pragma once
// The refresh-speed trackbar drawn in the dialog's glass look, over the
// background the dialog gives it: a rail, a handle pointing down at the tick
// marks below it, and a tick at every value. Where the handle sits and what
// a click does stay the control's own, so the drawing and the mouse agree.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace pelmora {

// The answer to the trackbar's NM_CUSTOMDRAW notification.
LRESULT drawSpeedTrackBar(const NMCUSTOMDRAW& draw);

}  // namespace pelmora
