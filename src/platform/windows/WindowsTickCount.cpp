#include "platform/windows/WindowsTickCount.h"

#include <windows.h>

namespace pelmora {

uint64_t WindowsTickCount::milliseconds()
{
    return ::GetTickCount64();
}

}  // namespace pelmora
