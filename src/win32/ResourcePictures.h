#pragma once
// The pictures embedded in the executable (RCDATA named by their alias, as
// "body.jpg" or "MAINFORM"), decoded with the Windows Imaging Component.
#include <string>

#include "win32/Picture.h"

namespace pelmora {

// A null picture when the resource is missing or does not decode; the
// caller draws its fallback then. COM must be initialised on the thread.
Picture loadResourcePicture(const std::string& alias);

// The picture with every pixel of `key` (RGB) made fully transparent, as the
// title buttons' magenta.
Picture keyedOut(Picture picture, uint32_t keyRgb);

}  // namespace pelmora
