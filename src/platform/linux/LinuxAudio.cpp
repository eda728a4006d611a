#include "platform/linux/LinuxAudio.h"

#include <alsa/asoundlib.h>
#include <poll.h>

#include <mutex>
#include <vector>

namespace pelmora {

namespace {

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...)
{
}

void silenceAlsa()
{
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(ignoreAlsaMessage); });
}

snd_mixer_elem_t* findControl(snd_mixer_t* mixer, const std::string& name)
{
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, name.c_str());
    return snd_mixer_find_selem(mixer, id);
}

long channelLevel(snd_mixer_elem_t* element, snd_mixer_selem_channel_id_t channel, bool& ok)
{
    long value = 0;
    if (snd_mixer_selem_get_playback_volume(element, channel, &value) < 0) ok = false;
    return value;
}

}  // namespace

uint16_t scaleMixerLevel(long value, long min, long max)
{
    if (max <= min) return 0;
    if (value <= min) return 0;
    if (value >= max) return 65535;
    // Subtracted as long double: the range of a long may not fit in a long.
    const long double share = (static_cast<long double>(value) - static_cast<long double>(min)) /
                              (static_cast<long double>(max) - static_cast<long double>(min));
    return static_cast<uint16_t>(share * 65535.0L + 0.5L);
}

LinuxAudio::LinuxAudio(std::string device, std::string control)
    : device_(std::move(device)), control_(std::move(control))
{
    silenceAlsa();
}

LinuxAudio::~LinuxAudio()
{
    close();
}

bool LinuxAudio::open()
{
    if (snd_mixer_open(&mixer_, 0) < 0) {
        mixer_ = nullptr;
        return false;
    }
    if (snd_mixer_attach(mixer_, device_.c_str()) < 0 ||
        snd_mixer_selem_register(mixer_, nullptr, nullptr) < 0 || snd_mixer_load(mixer_) < 0 ||
        (element_ = findControl(mixer_, control_)) == nullptr) {
        close();
        return false;
    }
    return true;
}

void LinuxAudio::close()
{
    if (mixer_) snd_mixer_close(mixer_);
    mixer_ = nullptr;
    element_ = nullptr;
}

// The open mixer with the changes made since the last tick taken in; a
// lost device (a USB card pulled out) closes it.
bool LinuxAudio::openAfterPause()
{
    // A machine without the device fails the same way every tick; opening
    // reads ALSA's whole configuration, so it is tried again only now and then.
    const auto now = std::chrono::steady_clock::now();
    if (failedAt_ && now - *failedAt_ < kRetryAfterFailure) return false;
    if (open()) {
        failedAt_.reset();
        return true;
    }
    failedAt_ = now;
    return false;
}

bool LinuxAudio::ready()
{
    if (!mixer_ && !openAfterPause()) return false;
    const int count = snd_mixer_poll_descriptors_count(mixer_);
    if (count > 0) {
        std::vector<pollfd> fds(static_cast<size_t>(count));
        const int filled = snd_mixer_poll_descriptors(mixer_, fds.data(), static_cast<unsigned>(count));
        // Look without waiting; only pending events are read, so nothing blocks.
        if (filled > 0 && poll(fds.data(), static_cast<nfds_t>(filled), 0) > 0) {
            unsigned short revents = 0;
            if (snd_mixer_poll_descriptors_revents(mixer_, fds.data(), static_cast<unsigned>(filled),
                                                   &revents) < 0 ||
                (revents & (POLLERR | POLLHUP | POLLNVAL)) ||
                ((revents & POLLIN) && snd_mixer_handle_events(mixer_) < 0)) {
                close();
                return openAfterPause();
            }
        }
    }
    // An event may have removed the control; look it up again.
    element_ = findControl(mixer_, control_);
    if (!element_) close();
    return element_ != nullptr;
}

bool LinuxAudio::outputCapabilities(uint32_t& support)
{
    if (!ready()) return false;
    support = 0;
    if (snd_mixer_selem_has_playback_volume(element_)) {
        support |= kVolumeControlCapability;
        if (!snd_mixer_selem_is_playback_mono(element_) &&
            snd_mixer_selem_has_playback_channel(element_, SND_MIXER_SCHN_FRONT_RIGHT)) {
            support |= kSeparateChannelsCapability;
        }
    }
    return true;
}

bool LinuxAudio::outputVolume(uint32_t& volume)
{
    if (!ready() || !snd_mixer_selem_has_playback_volume(element_)) return false;
    long min = 0, max = 0;
    if (snd_mixer_selem_get_playback_volume_range(element_, &min, &max) < 0) return false;
    bool ok = true;
    const long left = channelLevel(element_, SND_MIXER_SCHN_FRONT_LEFT, ok);
    const bool separate = !snd_mixer_selem_is_playback_mono(element_) &&
                          snd_mixer_selem_has_playback_channel(element_, SND_MIXER_SCHN_FRONT_RIGHT);
    const long right = separate ? channelLevel(element_, SND_MIXER_SCHN_FRONT_RIGHT, ok) : left;
    if (!ok) {
        close();
        return false;
    }
    volume = static_cast<uint32_t>(scaleMixerLevel(left, min, max)) |
             static_cast<uint32_t>(scaleMixerLevel(right, min, max)) << 16;
    return true;
}

}  // namespace pelmora
