#include "platform/windows/WindowsAudio.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

namespace pelmora {

bool WindowsAudio::outputCapabilities(uint32_t& support)
{
    WAVEOUTCAPSA caps{};
    if (::waveOutGetDevCapsA(WAVE_MAPPER, &caps, sizeof caps) != MMSYSERR_NOERROR) return false;
    support = caps.dwSupport;
    return true;
}

bool WindowsAudio::outputVolume(uint32_t& volume)
{
    DWORD levels = 0;
    // The wave mapper's device number stands for a device handle here.
    if (::waveOutGetVolume(reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(WAVE_MAPPER)), &levels) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    volume = levels;
    return true;
}

}  // namespace pelmora
