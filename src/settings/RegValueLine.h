#pragma once
// One value line of a registry text file: `"Name"="text"`, `@=...`,
// `"Name"=dword:0000001e`, `"Name"=hex(2):41,00,00,00`, `"Name"=-` ...
#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

enum class RegType { String, ExpandString, Dword, Binary, MultiString, Qword, None, Other, Deleted };

struct RegValue {
    RegType type = RegType::String;
    std::string text;  // String and ExpandString only: the text, UTF-8
};

struct RegValueLine {
    std::string name;  // empty for the default value `@`
    RegValue value;
};

inline bool isStringType(RegType type)
{
    return type == RegType::String || type == RegType::ExpandString;
}

// Parses one logical line (continuation lines already joined). Blanks around
// the '=' and a trailing `; comment` are accepted. Nothing when the line is
// not a well-formed value line.
std::optional<RegValueLine> parseRegValueLine(std::string_view line);

// The line that stores `text` as a string value, without line end:
// `"Name"="text"`, or the hex(1) form when the text holds a line break (which
// a quoted string cannot carry). Nothing for text that is not valid UTF-8 or
// holds a NUL, and for a name holding a line break.
std::optional<std::string> formatRegStringLine(std::string_view name, std::string_view text);

}  // namespace pelmora
