#include "settings/PlacementFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>

#include "core/IntegerText.h"
#include "settings/AtomicFile.h"
#include "settings/IniFile.h"
#include "settings/TextEncoding.h"

namespace pelmora {

namespace {

struct LoadedIni {
    IniDocument document;
    TextFileEncoding encoding = TextFileEncoding::Utf8;
};

// A missing file reads as empty; one that cannot be read or decoded is an error.
std::optional<LoadedIni> loadIni(const std::filesystem::path& file)
{
    if (file.empty()) return std::nullopt;
    const FileRead read = readWholeFile(resolveSymlinks(file));
    if (read.status == FileRead::Status::Missing) return LoadedIni{};
    if (read.status != FileRead::Status::Ok) return std::nullopt;
    const std::optional<DecodedTextFile> decoded = decodeTextFile(read.bytes);
    if (!decoded) return std::nullopt;
    std::optional<IniDocument> document = IniDocument::parse(decoded->text);
    if (!document) return std::nullopt;
    return LoadedIni{std::move(*document), decoded->encoding};
}

int32_t readInteger(const IniDocument& ini, const std::string& section, const char* key, int32_t defaultValue)
{
    const std::optional<std::string> text = ini.value(section, key);
    if (!text) return defaultValue;
    return parseInt32(*text).value_or(defaultValue);
}

// The key with the screen suffix first; the plain key when that is missing or empty.
std::optional<std::string> readPosition(const IniDocument& ini, const std::string& section,
                                        const std::string& key, const std::string& suffix)
{
    for (const std::string& name : {key + suffix, key}) {
        const std::optional<std::string> text = ini.value(section, name);
        if (text && !text->empty()) return text;
    }
    return std::nullopt;
}

// Four comma-separated integers; a missing or unreadable one keeps its default.
void splitPosition(const std::string& text, int32_t (&numbers)[4])
{
    std::size_t start = 0;
    for (int i = 0; i < 4 && start <= text.size(); ++i) {
        const std::size_t comma = text.find(',', start);
        const std::size_t end = (comma == std::string::npos) ? text.size() : comma;
        if (const std::optional<int32_t> number =
                parseInt32(std::string_view(text).substr(start, end - start))) {
            numbers[i] = *number;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

WindowState stateOfShowCmd(int32_t showCmd)
{
    switch (showCmd) {
        case 2:
        case 6:
        case 7:
            return WindowState::Minimised;
        case 3:
            return WindowState::Maximised;
        default:
            return WindowState::Normal;  // 1, 5, 9 and anything else
    }
}

// Hand-edited numbers may sit at the ends of the 32-bit range.
int32_t saturatingAdd(int32_t a, int32_t b)
{
    const int64_t sum = int64_t{a} + b;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

std::string positionText(const int32_t (&numbers)[4])
{
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", numbers[0], numbers[1], numbers[2], numbers[3]);
    return text;
}

std::optional<RestoredPlacement> restoreFrom(const IniDocument& ini, const std::string& section,
                                             const CurrentWindow& current, bool restoreState)
{
    if (readInteger(ini, section, "FormVersion", 0) < 0) return std::nullopt;
    RestoredPlacement result;
    WindowPlacement& stored = result.stored;
    const std::string suffix = screenSuffix(current.screenWidth, current.screenHeight);

    stored.flags = readInteger(ini, section, "Flags", current.flags);
    const std::optional<std::string> minMax = readPosition(ini, section, "MinMaxPos", suffix);
    const std::optional<std::string> norm = readPosition(ini, section, "NormPos", suffix);
    stored.minMax[0] = stored.minMax[1] = stored.minMax[2] = stored.minMax[3] = 0;
    stored.norm[0] = current.left;
    stored.norm[1] = current.top;
    stored.norm[2] = saturatingAdd(current.left, current.width);
    stored.norm[3] = saturatingAdd(current.top, current.height);
    if (minMax) splitPosition(*minMax, stored.minMax);
    if (norm) splitPosition(*norm, stored.norm);
    stored.pixelsPerInch = readInteger(ini, section, "PixelsPerInch", current.pixelsPerInch);
    stored.showCmd = readInteger(ini, section, "ShowCmd", 0);

    if ((minMax || norm) && stored.pixelsPerInch == current.pixelsPerInch) {
        // A window without a sizeable border keeps its size and takes only
        // the stored left and top; the rectangle must still be a real one that
        // 32-bit edges can hold.
        const int64_t left = stored.norm[0], top = stored.norm[1];
        int64_t right = stored.norm[2], bottom = stored.norm[3];
        if (!current.sizeable) {
            right = left + current.width;
            bottom = top + current.height;
        }
        const int64_t width = right - left, height = bottom - top;
        const bool representable = right <= INT32_MAX && bottom >= INT32_MIN && bottom <= INT32_MAX &&
                                   width <= INT32_MAX && height >= INT32_MIN && height <= INT32_MAX;
        if (left < right && representable) {
            result.geometry = WindowGeometry{static_cast<int32_t>(left), static_cast<int32_t>(top),
                                             static_cast<int32_t>(width), static_cast<int32_t>(height)};
        }
    }
    if (restoreState) result.state = stateOfShowCmd(stored.showCmd);
    return result;
}

}  // namespace

std::string screenSuffix(int32_t screenWidth, int32_t screenHeight)
{
    char text[32];
    std::snprintf(text, sizeof text, "(%dx%d)", screenWidth, screenHeight);
    return text;
}

std::optional<RestoredPlacement> restorePlacement(const std::filesystem::path& file,
                                                  const std::string& section, const CurrentWindow& current,
                                                  bool restoreState)
{
    try {
        const std::optional<LoadedIni> ini = loadIni(file);
        if (!ini) return std::nullopt;
        return restoreFrom(ini->document, section, current, restoreState);
    } catch (const std::exception&) {
        return std::nullopt;  // out of memory and the like: the window goes on where it is
    }
}

bool savePlacement(const std::filesystem::path& file, const std::string& section,
                   const WindowPlacement& placement, int32_t screenWidth, int32_t screenHeight, bool visible)
{
    try {
        std::optional<LoadedIni> ini = loadIni(file);
        if (!ini) return false;
        const std::string suffix = screenSuffix(screenWidth, screenHeight);
        IniDocument& document = ini->document;
        document.setValue(section, "FormVersion", "0");
        document.setValue(section, "Flags", std::to_string(placement.flags));
        document.setValue(section, "ShowCmd", std::to_string(placement.showCmd));
        document.setValue(section, "PixelsPerInch", std::to_string(placement.pixelsPerInch));
        document.setValue(section, "MinMaxPos" + suffix, positionText(placement.minMax));
        document.setValue(section, "MinMaxPos", positionText(placement.minMax));
        document.setValue(section, "NormPos" + suffix, positionText(placement.norm));
        document.setValue(section, "NormPos", positionText(placement.norm));
        document.setValue(section, "Visible", visible ? "1" : "0");
        const std::optional<std::string> bytes = encodeTextFile(document.text(), ini->encoding);
        if (!bytes) return false;
        const std::filesystem::path target = resolveSymlinks(file);
        return ensureDirectory(target.parent_path(), nullptr) &&
               replaceFileAtomically(target, *bytes, nullptr);
    } catch (const std::exception&) {
        return false;
    }
}

PlacementTracker::PlacementTracker(std::filesystem::path file, std::string section)
    : file_(std::move(file)), section_(std::move(section))
{
}

std::optional<RestoredPlacement> PlacementTracker::restore(const CurrentWindow& current, bool restoreState)
{
    restored_ = true;
    savedSinceShown_ = false;
    if (!swept_ && !file_.empty()) {
        swept_ = true;
        removeStaleTemporaries(resolveSymlinks(file_), kStaleTemporaryAge);
    }
    return restorePlacement(file_, section_, current, restoreState);
}

bool PlacementTracker::saveWhileShown(const WindowPlacement& placement, int32_t screenWidth,
                                      int32_t screenHeight)
{
    if (!restored_) return false;
    return savePlacement(file_, section_, placement, screenWidth, screenHeight, true);
}

bool PlacementTracker::saveOnClose(const WindowPlacement& placement, int32_t screenWidth,
                                   int32_t screenHeight)
{
    if (!restored_) return false;
    savedSinceShown_ = savePlacement(file_, section_, placement, screenWidth, screenHeight, false);
    return savedSinceShown_;
}

bool PlacementTracker::saveOnDestroy(const WindowPlacement& placement, int32_t screenWidth,
                                     int32_t screenHeight)
{
    if (!restored_ || savedSinceShown_) return false;
    savedSinceShown_ = savePlacement(file_, section_, placement, screenWidth, screenHeight, true);
    return savedSinceShown_;
}

}  // namespace pelmora
