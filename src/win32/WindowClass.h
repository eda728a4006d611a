#pragma once
// Registers a window class of this program once per process.
#include <windows.h>

namespace pelmora {

// `background` null: the window paints every pixel itself.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background = nullptr);

}  // namespace pelmora
