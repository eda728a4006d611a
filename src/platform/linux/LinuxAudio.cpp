#include "platform/linux/LinuxAudio.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <poll.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace pelmora {

namespace {

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...)
{
}

// The part of ALSA the widget uses, bound at run time: a machine without a
// sound card never maps the library at all.
struct Alsa {
    decltype(&snd_lib_error_set_handler) lib_error_set_handler;
    decltype(&snd_mixer_open) mixer_open;
    decltype(&snd_mixer_attach) mixer_attach;
    decltype(&snd_mixer_selem_register) mixer_selem_register;
    decltype(&snd_mixer_load) mixer_load;
    decltype(&snd_mixer_close) mixer_close;
    decltype(&snd_mixer_find_selem) mixer_find_selem;
    decltype(&snd_mixer_selem_id_sizeof) mixer_selem_id_sizeof;
    decltype(&snd_mixer_selem_id_set_index) mixer_selem_id_set_index;
    decltype(&snd_mixer_selem_id_set_name) mixer_selem_id_set_name;
    decltype(&snd_mixer_poll_descriptors_count) mixer_poll_descriptors_count;
    decltype(&snd_mixer_poll_descriptors) mixer_poll_descriptors;
    decltype(&snd_mixer_poll_descriptors_revents) mixer_poll_descriptors_revents;
    decltype(&snd_mixer_handle_events) mixer_handle_events;
    decltype(&snd_mixer_selem_has_playback_volume) mixer_selem_has_playback_volume;
    decltype(&snd_mixer_selem_is_playback_mono) mixer_selem_is_playback_mono;
    decltype(&snd_mixer_selem_has_playback_channel) mixer_selem_has_playback_channel;
    decltype(&snd_mixer_selem_get_playback_volume_range) mixer_selem_get_playback_volume_range;
    decltype(&snd_mixer_selem_get_playback_volume) mixer_selem_get_playback_volume;
};

template <typename Function>
bool bind(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::optional<Alsa> loadAlsa()
{
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library) return std::nullopt;
    Alsa a{};
    const bool complete =
        bind(library, "snd_lib_error_set_handler", a.lib_error_set_handler) &&
        bind(library, "snd_mixer_open", a.mixer_open) && bind(library, "snd_mixer_attach", a.mixer_attach) &&
        bind(library, "snd_mixer_selem_register", a.mixer_selem_register) &&
        bind(library, "snd_mixer_load", a.mixer_load) && bind(library, "snd_mixer_close", a.mixer_close) &&
        bind(library, "snd_mixer_find_selem", a.mixer_find_selem) &&
        bind(library, "snd_mixer_selem_id_sizeof", a.mixer_selem_id_sizeof) &&
        bind(library, "snd_mixer_selem_id_set_index", a.mixer_selem_id_set_index) &&
        bind(library, "snd_mixer_selem_id_set_name", a.mixer_selem_id_set_name) &&
        bind(library, "snd_mixer_poll_descriptors_count", a.mixer_poll_descriptors_count) &&
        bind(library, "snd_mixer_poll_descriptors", a.mixer_poll_descriptors) &&
        bind(library, "snd_mixer_poll_descriptors_revents", a.mixer_poll_descriptors_revents) &&
        bind(library, "snd_mixer_handle_events", a.mixer_handle_events) &&
        bind(library, "snd_mixer_selem_has_playback_volume", a.mixer_selem_has_playback_volume) &&
        bind(library, "snd_mixer_selem_is_playback_mono", a.mixer_selem_is_playback_mono) &&
        bind(library, "snd_mixer_selem_has_playback_channel", a.mixer_selem_has_playback_channel) &&
        bind(library, "snd_mixer_selem_get_playback_volume_range", a.mixer_selem_get_playback_volume_range) &&
        bind(library, "snd_mixer_selem_get_playback_volume", a.mixer_selem_get_playback_volume);
    if (!complete) return std::nullopt;
    // ALSA's own messages are silenced for the whole process.
    a.lib_error_set_handler(ignoreAlsaMessage);
    return a;
}

// ALSA, loaded once; none when the library is missing or incomplete.
const Alsa* alsa()
{
    static const std::optional<Alsa> loaded = loadAlsa();
    return loaded ? &*loaded : nullptr;
}

bool pathExists(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

bool hasEntries(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::directory_iterator(folder, error) != std::filesystem::directory_iterator();
}

// Whether ALSA may have a mixer to offer: a sound card's device nodes, or a
// configuration that may lead the device elsewhere (a sound server).
bool soundMayBeThere()
{
    if (pathExists("/dev/snd") || pathExists("/etc/asound.conf") || hasEntries("/etc/alsa/conf.d"))
        return true;
    const char* home = std::getenv("HOME");
    return home && *home && pathExists(std::filesystem::path(home) / ".asoundrc");
}

// The state of what a failed open depends on besides the device's name: the
// sound cards' device nodes, ALSA's configuration, and the session's runtime
// folder, where a sound server makes its socket. Equal stamps: none changed.
std::string soundSourcesStamp()
{
    std::vector<std::filesystem::path> paths = {"/dev/snd", "/etc/asound.conf", "/etc/alsa/conf.d"};
    if (const char* home = std::getenv("HOME"); home && *home) paths.emplace_back(home) /= ".asoundrc";
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        paths.emplace_back(runtime);
        paths.emplace_back(runtime) /= "pulse";
    }
    std::string stamp;
    for (const auto& path : paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) {
            stamp += std::to_string(info.st_ino) + ':' + std::to_string(info.st_mtim.tv_sec) + '.' +
                     std::to_string(info.st_mtim.tv_nsec);
        }
        stamp += '|';
    }
    return stamp;
}

snd_mixer_elem_t* findControl(const Alsa& a, snd_mixer_t* mixer, const std::string& name)
{
    std::vector<unsigned char> storage(a.mixer_selem_id_sizeof());
    auto* id = reinterpret_cast<snd_mixer_selem_id_t*>(storage.data());
    a.mixer_selem_id_set_index(id, 0);
    a.mixer_selem_id_set_name(id, name.c_str());
    return a.mixer_find_selem(mixer, id);
}

long channelLevel(const Alsa& a, snd_mixer_elem_t* element, snd_mixer_selem_channel_id_t channel, bool& ok)
{
    long value = 0;
    if (a.mixer_selem_get_playback_volume(element, channel, &value) < 0) ok = false;
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
}

LinuxAudio::~LinuxAudio()
{
    close();
}

bool LinuxAudio::open()
{
    const Alsa* a = soundMayBeThere() ? alsa() : nullptr;
    if (!a) return false;
    if (a->mixer_open(&mixer_, 0) < 0) {
        mixer_ = nullptr;
        return false;
    }
    if (a->mixer_attach(mixer_, device_.c_str()) < 0 ||
        a->mixer_selem_register(mixer_, nullptr, nullptr) < 0 || a->mixer_load(mixer_) < 0 ||
        (element_ = findControl(*a, mixer_, control_)) == nullptr) {
        close();
        return false;
    }
    return true;
}

namespace {
constexpr std::chrono::seconds kLongestRetryPause{300};
}

std::chrono::seconds mixerRetryPause(int failures)
{
    std::chrono::seconds pause{10};
    for (int i = 1; i < failures && pause < kLongestRetryPause; ++i) pause *= 2;
    return std::min(pause, kLongestRetryPause);
}

bool mixerRetryDue(int failures, std::chrono::seconds sinceFailure, bool sourcesChanged)
{
    const std::chrono::seconds pause = mixerRetryPause(failures);
    return sinceFailure >= pause && (sourcesChanged || pause >= kLongestRetryPause);
}

void LinuxAudio::close()
{
    if (mixer_) alsa()->mixer_close(mixer_);
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
    if (failedAt_) {
        const auto since = std::chrono::duration_cast<std::chrono::seconds>(now - *failedAt_);
        if (since < mixerRetryPause(failures_)) return false;
        if (!mixerRetryDue(failures_, since, soundSourcesStamp() != failedWith_)) {
            // It would fail as before: counted as failed, so the next look
            // comes after a longer pause.
            failedAt_ = now;
            if (failures_ < std::numeric_limits<int>::max()) ++failures_;
            return false;
        }
    }
    failedWith_ = soundSourcesStamp();
    if (open()) {
        failedAt_.reset();
        failures_ = 0;
        return true;
    }
    failedAt_ = now;
    if (failures_ < std::numeric_limits<int>::max()) ++failures_;
    return false;
}

bool LinuxAudio::ready()
{
    if (!mixer_ && !openAfterPause()) return false;
    const Alsa& a = *alsa();
    const int count = a.mixer_poll_descriptors_count(mixer_);
    if (count > 0) {
        std::vector<pollfd> fds(static_cast<size_t>(count));
        const int filled = a.mixer_poll_descriptors(mixer_, fds.data(), static_cast<unsigned>(count));
        // Look without waiting; only pending events are read, so nothing blocks.
        if (filled > 0 && poll(fds.data(), static_cast<nfds_t>(filled), 0) > 0) {
            unsigned short revents = 0;
            if (a.mixer_poll_descriptors_revents(mixer_, fds.data(), static_cast<unsigned>(filled),
                                                 &revents) < 0 ||
                (revents & (POLLERR | POLLHUP | POLLNVAL)) ||
                ((revents & POLLIN) && a.mixer_handle_events(mixer_) < 0)) {
                close();
                return openAfterPause();
            }
        }
    }
    // An event may have removed the control; look it up again.
    element_ = findControl(a, mixer_, control_);
    if (!element_) close();
    return element_ != nullptr;
}

bool LinuxAudio::outputCapabilities(uint32_t& support)
{
    if (!ready()) return false;
    const Alsa& a = *alsa();
    support = 0;
    if (a.mixer_selem_has_playback_volume(element_)) {
        support |= kVolumeControlCapability;
        if (!a.mixer_selem_is_playback_mono(element_) &&
            a.mixer_selem_has_playback_channel(element_, SND_MIXER_SCHN_FRONT_RIGHT)) {
            support |= kSeparateChannelsCapability;
        }
    }
    return true;
}

bool LinuxAudio::outputVolume(uint32_t& volume)
{
    if (!ready()) return false;
    const Alsa& a = *alsa();
    if (!a.mixer_selem_has_playback_volume(element_)) return false;
    long min = 0, max = 0;
    if (a.mixer_selem_get_playback_volume_range(element_, &min, &max) < 0) return false;
    bool ok = true;
    const long left = channelLevel(a, element_, SND_MIXER_SCHN_FRONT_LEFT, ok);
    const bool separate = !a.mixer_selem_is_playback_mono(element_) &&
                          a.mixer_selem_has_playback_channel(element_, SND_MIXER_SCHN_FRONT_RIGHT);
    const long right = separate ? channelLevel(a, element_, SND_MIXER_SCHN_FRONT_RIGHT, ok) : left;
    if (!ok) {
        close();
        return false;
    }
    volume = static_cast<uint32_t>(scaleMixerLevel(left, min, max)) |
             static_cast<uint32_t>(scaleMixerLevel(right, min, max)) << 16;
    return true;
}

}  // namespace pelmora
