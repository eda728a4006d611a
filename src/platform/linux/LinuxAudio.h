#pragma once
// Output volume from the ALSA simple mixer control "Master" of the default
// device.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/SystemStatus.h"

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace pelmora {

// A mixer level within [min, max] as 0..65535; a value outside the range is
// clamped, an empty range gives 0.
uint16_t scaleMixerLevel(long value, long min, long max);

// Bit 8 of the capabilities: left and right are controlled separately.
inline constexpr uint32_t kSeparateChannelsCapability = 8;

// How long to wait before opening the mixer again after `failures` failed
// opens in a row: 10 s after the first, twice as long after each further
// one, at most 5 min. A machine whose ALSA configuration routes to a sound
// server that does not run pays for loading the server's client on every
// try, milliseconds each.
std::chrono::seconds mixerRetryPause(int failures);

// Whether to open the mixer again `sinceFailure` after the last of `failures`
// failed opens (or looks) in a row: once mixerRetryPause has passed, if
// something an open depends on changed since the last open (`sourcesChanged`:
// a sound card's device nodes, ALSA's configuration, a sound server's
// socket), or when the pause has grown to its longest. A look that finds no
// change counts as one more failure.
bool mixerRetryDue(int failures, std::chrono::seconds sinceFailure, bool sourcesChanged);

// The mixer stays open between ticks, so a tick only reads values the
// mixer keeps current; after an error it is closed and opened afresh on the
// next call, when mixerRetryDue says so (a sound card plugged in or a sound
// server started shows within mixerRetryPause). ALSA's own messages
// are silenced for the whole process.
class LinuxAudio : public Audio {
public:
    explicit LinuxAudio(std::string device = "default", std::string control = "Master");
    ~LinuxAudio() override;
    LinuxAudio(const LinuxAudio&) = delete;
    LinuxAudio& operator=(const LinuxAudio&) = delete;

    // Bit 4 when the control has a playback volume, bit 8 when it has
    // separate left and right levels; false without a device or control.
    bool outputCapabilities(uint32_t& support) override;
    // Left level in the low 16 bits, right in the high 16 bits (a mono
    // control gives both the same level).
    bool outputVolume(uint32_t& volume) override;

private:
    bool ready();
    bool openAfterPause();
    bool open();
    void close();

    std::string device_;
    std::string control_;
    snd_mixer_t* mixer_ = nullptr;
    snd_mixer_elem_t* element_ = nullptr;
    std::optional<std::chrono::steady_clock::time_point> failedAt_;
    std::string failedWith_;  // what the last failed open depended on (soundSourcesStamp)
    int failures_ = 0;        // failed opens in a row
};

}  // namespace pelmora
