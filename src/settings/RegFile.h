#pragma once
// The text of a registry file ("Windows Registry Editor Version 5.00"),
// kept line for line: lines that are not understood, comments, other keys
// and their values pass through a change untouched, and a change rewrites
// only the line of the value changed.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/RegValueLine.h"

namespace pelmora {

inline constexpr std::string_view kRegVersionLine = "Windows Registry Editor Version 5.00";
// Sections, values and runs of other lines a file may hold; one with more is
// no settings file of ours (it would cost far more memory than it is worth).
inline constexpr std::size_t kMaxRegItems = 16384;

class RegDocument {
public:
    // Nothing when the text does not start (after blank lines) with the
    // version line, "Windows Registry Editor Version 5.00" or "REGEDIT4", or
    // holds more than kMaxRegItems items.
    static std::optional<RegDocument> parse(std::string_view text);
    // Just the version line and a blank line.
    static RegDocument create(std::string lineEnd);

    std::string text() const;

    // The key path is the full one, "HKEY_CURRENT_USER\\Software\\...". Keys
    // and value names compare without regard to ASCII letter case. The file
    // is taken as a sequence of changes, as an import would apply it: a later
    // line for a name wins, `"Name"=-` removes the value, and a `[-Key]`
    // section (of the key or one above it) removes everything before it.
    std::optional<RegValue> find(std::string_view keyPath, std::string_view name) const;
    bool hasKey(std::string_view keyPath) const;
    // Appends the key's section at the end when it has none.
    void addKey(std::string_view keyPath);
    // Replaces the line that decides the value, or adds one to the key's
    // last section. False when the text cannot be stored (see formatRegStringLine).
    bool setString(std::string_view keyPath, std::string_view name, std::string_view text);

private:
    struct Item {
        enum class Kind { Other, Version, Section, Value };
        Kind kind = Kind::Other;
        std::string raw;      // the item's lines exactly as in the file, line ends included
        std::string keyPath;  // Section
        bool deletesKey = false;
        RegValueLine value;  // Value
    };

    std::size_t liveFrom(std::string_view keyPath) const;
    std::optional<std::size_t> lastSection(std::string_view keyPath) const;
    // The line that decides a value: the last one for the name in the key.
    std::optional<std::size_t> decidingLine(std::string_view keyPath, std::string_view name) const;
    void insertAfter(std::size_t index, std::string line);
    static std::optional<std::vector<Item>> splitItems(std::string_view text);

    std::vector<Item> items_;
    std::string lineEnd_ = "\n";
};

}  // namespace pelmora
