#include "settings/RegValueLine.h"

#include <cctype>

#include "core/TextTrim.h"
#include "settings/TextEncoding.h"

namespace pelmora {

namespace {

// Only blanks or a comment may follow the data.
bool restIsEmpty(std::string_view rest)
{
    skipBlanks(rest);
    return rest.empty() || rest.front() == ';';
}

bool consumePrefixNoCase(std::string_view& text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A quoted text starting at text[0] == '"'. \\ and \" are escapes; any other
// backslash is kept as it stands, as hand-written paths often have them.
std::optional<std::string> consumeQuoted(std::string_view& text)
{
    std::string out;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            out += text[++i];
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

// Comma-separated bytes of one or two hex digits, blanks allowed around them.
std::optional<std::string> consumeHexBytes(std::string_view& text)
{
    std::string bytes;
    skipBlanks(text);
    while (!text.empty() && hexDigit(text.front()) >= 0) {
        int value = hexDigit(text.front());
        text.remove_prefix(1);
        if (!text.empty() && hexDigit(text.front()) >= 0) {
            value = value * 16 + hexDigit(text.front());
            text.remove_prefix(1);
        }
        bytes += static_cast<char>(value);
        skipBlanks(text);
        if (text.empty() || text.front() != ',') break;
        text.remove_prefix(1);
        skipBlanks(text);
    }
    return bytes;
}

RegType typeOfHexCode(unsigned code)
{
    switch (code) {
        case 0:
            return RegType::None;
        case 1:
            return RegType::String;
        case 2:
            return RegType::ExpandString;
        case 3:
            return RegType::Binary;
        case 4:
        case 5:
            return RegType::Dword;
        case 7:
            return RegType::MultiString;
        case 11:
            return RegType::Qword;
        default:
            return RegType::Other;
    }
}

std::optional<RegValue> parseData(std::string_view data)
{
    RegValue value;
    if (!data.empty() && data.front() == '"') {
        auto text = consumeQuoted(data);
        if (!text || !restIsEmpty(data)) return std::nullopt;
        value.type = RegType::String;
        value.text = std::move(*text);
        return value;
    }
    if (!data.empty() && data.front() == '-') {
        data.remove_prefix(1);
        if (!restIsEmpty(data)) return std::nullopt;
        value.type = RegType::Deleted;
        return value;
    }
    if (consumePrefixNoCase(data, "dword:")) {
        std::size_t digits = 0;
        while (digits < data.size() && hexDigit(data[digits]) >= 0) ++digits;
        if (digits == 0 || digits > 8 || !restIsEmpty(data.substr(digits))) return std::nullopt;
        value.type = RegType::Dword;
        return value;
    }
    if (!consumePrefixNoCase(data, "hex")) return std::nullopt;
    unsigned code = 3;
    if (!data.empty() && data.front() == '(') {
        data.remove_prefix(1);
        std::size_t digits = 0;
        code = 0;
        while (digits < data.size() && hexDigit(data[digits]) >= 0 && digits < 8) {
            code = code * 16 + static_cast<unsigned>(hexDigit(data[digits]));
            ++digits;
        }
        if (digits == 0 || digits >= data.size() || data[digits] != ')') return std::nullopt;
        data.remove_prefix(digits + 1);
    }
    if (data.empty() || data.front() != ':') return std::nullopt;
    data.remove_prefix(1);
    const auto bytes = consumeHexBytes(data);
    if (!bytes || !restIsEmpty(data)) return std::nullopt;
    value.type = typeOfHexCode(code);
    if (isStringType(value.type)) value.text = utf16LeDataToUtf8(*bytes);
    return value;
}

std::string quote(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string hexList(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (i > 0) out += ',';
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
    }
    return out;
}

}  // namespace

std::optional<RegValueLine> parseRegValueLine(std::string_view line)
{
    skipBlanks(line);
    RegValueLine result;
    if (!line.empty() && line.front() == '@') {
        line.remove_prefix(1);
    } else if (!line.empty() && line.front() == '"') {
        auto name = consumeQuoted(line);
        if (!name) return std::nullopt;
        result.name = std::move(*name);
    } else {
        return std::nullopt;
    }
    skipBlanks(line);
    if (line.empty() || line.front() != '=') return std::nullopt;
    line.remove_prefix(1);
    skipBlanks(line);
    auto value = parseData(line);
    if (!value) return std::nullopt;
    result.value = std::move(*value);
    return result;
}

std::optional<std::string> formatRegStringLine(std::string_view name, std::string_view text)
{
    if (!isValidUtf8(text) || !isValidUtf8(name)) return std::nullopt;
    // Registry strings end at a NUL; a name cannot span lines.
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return std::nullopt;
    const std::string namePart = name.empty() ? std::string("@") : quote(name);
    if (text.find_first_of("\r\n") == std::string_view::npos) return namePart + "=" + quote(text);
    // Written as UTF-16LE with its terminating NUL, as the registry stores it.
    const auto utf16 = utf8ToUtf16Le(text);
    return namePart + "=hex(1):" + hexList(*utf16 + std::string(2, '\0'));
}

}  // namespace pelmora
