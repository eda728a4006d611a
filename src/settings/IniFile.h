#pragma once
// The text of an INI file, kept line for line as the private-profile service
// keeps it: sections and keys compare without regard to ASCII letter case, the
// first section and key of a name count, a changed key keeps its place, a new
// key goes to the end of its section and a new section to the end of the
// file. Comments and lines that are not understood pass through untouched.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

// Sections, entries and runs of other lines a file may hold; one with more
// is no placement file of ours (it would cost far more memory than it is worth).
inline constexpr std::size_t kMaxIniLines = 16384;

class IniDocument {
public:
    // Nothing when the text holds more than kMaxIniLines lines of sections,
    // entries and runs of other lines.
    static std::optional<IniDocument> parse(std::string_view text);
    std::string text() const;

    // The key's text with blanks around it taken off; nothing when missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    void setValue(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Line {
        enum class Kind { Other, Section, Entry };
        Kind kind = Kind::Other;
        std::string raw;   // as in the file, line ends included
        std::string name;  // section name or key
        std::string value;
    };

    std::optional<std::size_t> findEntry(std::string_view section, std::string_view key) const;
    std::optional<std::size_t> findSection(std::string_view section) const;

    std::vector<Line> lines_;
    std::string lineEnd_ = "\n";
};

}  // namespace pelmora
