#pragma once
// Output volume from the ALSA simple mixer control "Master" of the default
// device.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SystemStatus.h"

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace pelmora {

// A mixer level within [min, max] as 0..65535; a value outside the range is
// clamped, an empty range gives 0.
uint16_t scaleMixerLevel(long value, long min, long max);

// Where to look for what ALSA's default device could lead to: the root of
// the system files ("/" on the machine, a fixture tree in the tests) and the
// environment.
struct SoundPlaces {
    std::string root = "/";
    std::function<const char*(const char*)> environment = [](const char* name) { return std::getenv(name); };
};

// Whether the text of /proc/asound/cards lists a card: a line that starts
// with the card's number and its bracketed id ("  0 [PCH  ]: HDA-Intel ...").
// "--- no soundcards ---", an empty file or anything else lists none.
bool listsSoundCard(std::string_view cardsText);

// Whether ALSA may have a mixer to offer: a card (listed in
// /proc/asound/cards or, where that is hidden, a card's control node in
// /dev/snd), a sound server's socket or address, or an ALSA configuration of
// the administrator's or the user's that may lead the device elsewhere.
// Without any of them an open fails anyway, after mapping the library and
// the sound server's client only to learn that.
bool soundMayBeThere(const SoundPlaces& places);

// Bit 8 of the capabilities: left and right are controlled separately.
inline constexpr uint32_t kSeparateChannelsCapability = 8;

// How long to wait before opening the mixer again after `failures` failed
// opens in a row: 10 s after the first, twice as long after each further
// one, at most 5 min. A machine whose ALSA configuration routes to a sound
// server that does not run pays for loading the server's client on every
// try, milliseconds each.
std::chrono::seconds mixerRetryPause(int failures);

// The mixer stays open between ticks, so a tick only reads values the
// mixer keeps current; after an error it is closed and opened afresh on the
// next call, but not before mixerRetryPause has passed since the last failed
// open (a sound card plugged in shows within that time). Where the machine
// has nothing ALSA could serve (soundMayBeThere), the library is not even
// loaded. ALSA's own messages are silenced for the whole process.
class LinuxAudio : public Audio {
public:
    explicit LinuxAudio(std::string device = "default", std::string control = "Master",
                        SoundPlaces places = {});
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
    SoundPlaces places_;
    snd_mixer_t* mixer_ = nullptr;
    snd_mixer_elem_t* element_ = nullptr;
    std::optional<std::chrono::steady_clock::time_point> failedAt_;
    int failures_ = 0;  // failed opens in a row
};

}  // namespace pelmora
