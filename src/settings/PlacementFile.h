#pragma once
// The window placement file: one INI section per window (`TVantelMainForm`,
// `TBackForm`) remembering where the window stood and in which state.
// Nothing here throws: a placement that cannot be read or written is simply
// not restored or not saved, and the window goes on.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace pelmora {

inline constexpr const char* kMainWindowSection = "TVantelMainForm";
inline constexpr const char* kBackgroundWindowSection = "TBackForm";

struct WindowPlacement {
    int32_t flags = 0;
    int32_t showCmd = 1;
    int32_t pixelsPerInch = 96;
    int32_t minMax[4] = {0, 0, 0, 0};  // minimised x, y, maximised x, y
    int32_t norm[4] = {0, 0, 0, 0};    // normal rectangle: left, top, right, bottom
};

// The window as it stands when it is about to become visible.
struct CurrentWindow {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t flags = 0;
    int32_t pixelsPerInch = 96;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    bool sizeable = false;  // both widget windows are borderless
};

enum class WindowState { Normal, Minimised, Maximised };

struct WindowGeometry {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const WindowGeometry&) const = default;
};

struct RestoredPlacement {
    WindowPlacement stored;                  // as read, defaults filled in
    std::optional<WindowGeometry> geometry;  // where to put the window; nothing: leave it (it centres itself)
    std::optional<WindowState> state;        // only when the state was asked for
};

// "(1920x1080)": the screen suffix of the position keys.
std::string screenSuffix(int32_t screenWidth, int32_t screenHeight);

// Nothing when the stored FormVersion is below 0 or the file cannot be read.
std::optional<RestoredPlacement> restorePlacement(const std::filesystem::path& file,
                                                  const std::string& section, const CurrentWindow& current,
                                                  bool restoreState);

// Writes FormVersion, Flags, ShowCmd, PixelsPerInch, MinMaxPos with the
// screen suffix, MinMaxPos, NormPos with the suffix, NormPos and Visible, as
// the private-profile service would one key after the other: keys already
// present keep their place, other sections and keys are kept. False when the
// file cannot be read as text or written.
bool savePlacement(const std::filesystem::path& file, const std::string& section,
                   const WindowPlacement& placement, int32_t screenWidth, int32_t screenHeight, bool visible);

// One window's placement over a run: saves only after the placement was
// restored (the window was shown), so a window never shown leaves the file
// as it was.
class PlacementTracker {
public:
    PlacementTracker(std::filesystem::path file, std::string section);

    // Each time the window is about to become visible. The first time also
    // removes temporary files that killed writes left beside the file.
    std::optional<RestoredPlacement> restore(const CurrentWindow& current, bool restoreState);
    // While the window stands on screen (after a drag, before the session
    // ends): Visible "1", and a later close or destruction still saves.
    bool saveWhileShown(const WindowPlacement& placement, int32_t screenWidth, int32_t screenHeight);
    // When the window's close is accepted: Visible "0".
    bool saveOnClose(const WindowPlacement& placement, int32_t screenWidth, int32_t screenHeight);
    // When the window is destroyed without having been saved since it was
    // last shown: Visible "1".
    bool saveOnDestroy(const WindowPlacement& placement, int32_t screenWidth, int32_t screenHeight);

    bool restored() const { return restored_; }

private:
    std::filesystem::path file_;
    std::string section_;
    bool restored_ = false;
    bool savedSinceShown_ = false;
    bool swept_ = false;
};

}  // namespace pelmora
