#include "platform/linux/LinuxAudio.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <vector>

#include "core/TextTrim.h"
#include "platform/linux/RootPath.h"
#include "platform/linux/SharedLibrary.h"
#include "platform/linux/SysfsText.h"

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

std::optional<Alsa> loadAlsa()
{
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library) return std::nullopt;
    Alsa a{};
    const bool complete =
        bindFunction(library, "snd_lib_error_set_handler", a.lib_error_set_handler) &&
        bindFunction(library, "snd_mixer_open", a.mixer_open) &&
        bindFunction(library, "snd_mixer_attach", a.mixer_attach) &&
        bindFunction(library, "snd_mixer_selem_register", a.mixer_selem_register) &&
        bindFunction(library, "snd_mixer_load", a.mixer_load) &&
        bindFunction(library, "snd_mixer_close", a.mixer_close) &&
        bindFunction(library, "snd_mixer_find_selem", a.mixer_find_selem) &&
        bindFunction(library, "snd_mixer_selem_id_sizeof", a.mixer_selem_id_sizeof) &&
        bindFunction(library, "snd_mixer_selem_id_set_index", a.mixer_selem_id_set_index) &&
        bindFunction(library, "snd_mixer_selem_id_set_name", a.mixer_selem_id_set_name) &&
        bindFunction(library, "snd_mixer_poll_descriptors_count", a.mixer_poll_descriptors_count) &&
        bindFunction(library, "snd_mixer_poll_descriptors", a.mixer_poll_descriptors) &&
        bindFunction(library, "snd_mixer_poll_descriptors_revents", a.mixer_poll_descriptors_revents) &&
        bindFunction(library, "snd_mixer_handle_events", a.mixer_handle_events) &&
        bindFunction(library, "snd_mixer_selem_has_playback_volume", a.mixer_selem_has_playback_volume) &&
        bindFunction(library, "snd_mixer_selem_is_playback_mono", a.mixer_selem_is_playback_mono) &&
        bindFunction(library, "snd_mixer_selem_has_playback_channel", a.mixer_selem_has_playback_channel) &&
        bindFunction(library, "snd_mixer_selem_get_playback_volume_range",
                     a.mixer_selem_get_playback_volume_range) &&
        bindFunction(library, "snd_mixer_selem_get_playback_volume", a.mixer_selem_get_playback_volume);
    if (!complete) {
        dlclose(library);  // an ALSA without the mixer's functions stays unmapped
        return std::nullopt;
    }
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

// A card's control node, "controlC0" and on, in the device folder.
bool hasCardControlNode(const std::filesystem::path& folder)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename().string().starts_with("controlC")) return true;
    }
    return false;
}

bool isSet(const char* value)
{
    return value && *value;
}

bool hasSoundCard(const std::string& root)
{
    if (const auto cards = readSmallFile(underRoot(root, "/proc/asound/cards").c_str()))
        return listsSoundCard(*cards);
    // Some containers hide /proc/asound and pass the card's nodes in.
    return hasCardControlNode(underRoot(root, "/dev/snd"));
}

// A sound server's socket in the places the servers' own clients look, or
// an address the user gave them.
bool hasSoundServer(const SoundPlaces& places)
{
    const auto env = [&](const char* name) -> const char* {
        const char* value = places.environment(name);
        return isSet(value) ? value : nullptr;
    };
    if (env("PULSE_SERVER") || env("PIPEWIRE_REMOTE")) return true;
    namespace fs = std::filesystem;
    std::vector<fs::path> sockets = {underRoot(places.root, "/run/pulse/native")};
    if (const char* folder = env("PIPEWIRE_RUNTIME_DIR")) sockets.push_back(fs::path(folder) / "pipewire-0");
    if (const char* folder = env("PULSE_RUNTIME_PATH")) sockets.push_back(fs::path(folder) / "native");
    if (const char* folder = env("XDG_RUNTIME_DIR")) {
        sockets.push_back(fs::path(folder) / "pipewire-0");
        sockets.push_back(fs::path(folder) / "pulse" / "native");
    }
    return std::any_of(sockets.begin(), sockets.end(), pathExists);
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

bool listsSoundCard(std::string_view cardsText)
{
    for (std::string_view line; takeLine(cardsText, line);) {
        const size_t number = line.find_first_not_of(' ');
        if (number == std::string_view::npos) continue;
        const size_t afterNumber = line.find_first_not_of("0123456789", number);
        if (afterNumber == number || afterNumber == std::string_view::npos) continue;
        const size_t bracket = line.find_first_not_of(' ', afterNumber);
        if (bracket != afterNumber && bracket != std::string_view::npos && line[bracket] == '[') return true;
    }
    return false;
}

bool soundMayBeThere(const SoundPlaces& places)
{
    if (hasSoundCard(places.root) || hasSoundServer(places)) return true;
    if (pathExists(underRoot(places.root, "/etc/asound.conf")) ||
        isSet(places.environment("ALSA_CONFIG_PATH")))
        return true;
    const char* home = places.environment("HOME");
    return isSet(home) && pathExists(std::filesystem::path(home) / ".asoundrc");
}

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

LinuxAudio::LinuxAudio(std::string device, std::string control, SoundPlaces places)
    : device_(std::move(device)), control_(std::move(control)), places_(std::move(places))
{
}

LinuxAudio::~LinuxAudio()
{
    close();
}

bool LinuxAudio::open()
{
    const Alsa* a = soundMayBeThere(places_) ? alsa() : nullptr;
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

std::chrono::seconds mixerRetryPause(int failures)
{
    constexpr std::chrono::seconds kFirst{10}, kLongest{300};
    std::chrono::seconds pause = kFirst;
    for (int i = 1; i < failures && pause < kLongest; ++i) pause *= 2;
    return std::min(pause, kLongest);
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
    if (failedAt_ && now - *failedAt_ < mixerRetryPause(failures_)) return false;
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
