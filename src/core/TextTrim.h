#pragma once
// Blanks around text, as the stored text files and their values are read:
// spaces and tabs within a line, and line ends as well around a whole line.
#include <string_view>

namespace pelmora {

constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

constexpr bool isBlankOrLineEnd(char c)
{
    return isBlank(c) || c == '\r' || c == '\n';
}

// Takes the blanks off the front of `text`.
constexpr void skipBlanks(std::string_view& text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
}

constexpr std::string_view trimBlanks(std::string_view text)
{
    skipBlanks(text);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The next line of `text` (without its '\n'), taken off the front; false
// when nothing is left. A last line without a line end counts.
constexpr bool takeLine(std::string_view& text, std::string_view& line)
{
    if (text.empty()) return false;
    const size_t end = text.find('\n');
    line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return true;
}

// Without blanks and line-end characters on either side.
constexpr std::string_view trimLine(std::string_view text)
{
    while (!text.empty() && isBlankOrLineEnd(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlankOrLineEnd(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace pelmora
