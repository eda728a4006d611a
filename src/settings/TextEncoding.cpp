#include "settings/TextEncoding.h"

#include <algorithm>
#include <cstdint>

namespace pelmora {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void appendUtf16Le(std::string& out, char16_t unit)
{
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

char16_t unitAt(std::string_view bytes, std::size_t index)
{
    return static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * index]) |
                                 (static_cast<uint8_t>(bytes[2 * index + 1]) << 8));
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Decodes one UTF-8 sequence at `pos`; nothing when it is malformed
// (overlong forms, surrogates and values above U+10FFFF included).
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(pos);
    int extra = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        code = lead & 0x07;
    } else
        return std::nullopt;
    if (pos + extra >= text.size()) return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        const uint8_t next = byte(pos + i);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (next & 0x3F);
    }
    const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < minimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    pos += extra + 1;
    return code;
}

}  // namespace

bool isValidUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        if (!nextUtf8(text, pos)) return false;
    }
    return true;
}

std::optional<std::string> utf16LeToUtf8(std::string_view bytes)
{
    if (bytes.size() % 2 != 0) return std::nullopt;
    const std::size_t units = bytes.size() / 2;
    std::string out;
    out.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = unitAt(bytes, i);
        if (isHighSurrogate(unit) && i + 1 < units && isLowSurrogate(unitAt(bytes, i + 1))) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(bytes, i + 1) - 0xDC00));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            return std::nullopt;
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::optional<std::string> utf8ToUtf16Le(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t pos = 0; pos < text.size();) {
        const auto code = nextUtf8(text, pos);
        if (!code) return std::nullopt;
        if (*code >= 0x10000) {
            appendUtf16Le(out, static_cast<char16_t>(0xD800 + ((*code - 0x10000) >> 10)));
            appendUtf16Le(out, static_cast<char16_t>(0xDC00 + ((*code - 0x10000) & 0x3FF)));
        } else {
            appendUtf16Le(out, static_cast<char16_t>(*code));
        }
    }
    return out;
}

std::string utf16LeDataToUtf8(std::string_view bytes)
{
    const std::size_t units = bytes.size() / 2;
    std::string out;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = unitAt(bytes, i);
        if (unit == 0) break;
        if (isHighSurrogate(unit) && i + 1 < units && isLowSurrogate(unitAt(bytes, i + 1))) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(bytes, i + 1) - 0xDC00));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::optional<DecodedTextFile> decodeTextFile(std::string_view bytes)
{
    DecodedTextFile file;
    if (bytes.starts_with(kUtf16LeBom)) {
        const std::optional<std::string> text = utf16LeToUtf8(bytes.substr(kUtf16LeBom.size()));
        if (!text) return std::nullopt;
        file.encoding = TextFileEncoding::Utf16Le;
        file.text = *text;
    } else if (bytes.starts_with(kUtf16BeBom)) {
        return std::nullopt;
    } else if (bytes.starts_with(kUtf8Bom)) {
        file.encoding = TextFileEncoding::Utf8WithBom;
        file.text = std::string(bytes.substr(kUtf8Bom.size()));
    } else {
        file.text = std::string(bytes);
    }
    return file;
}

std::optional<std::string> encodeTextFile(std::string_view text, TextFileEncoding encoding)
{
    switch (encoding) {
        case TextFileEncoding::Utf16Le: {
            const std::optional<std::string> utf16 = utf8ToUtf16Le(text);
            if (!utf16) return std::nullopt;
            return std::string(kUtf16LeBom) + *utf16;
        }
        case TextFileEncoding::Utf8WithBom:
            return std::string(kUtf8Bom) + std::string(text);
        case TextFileEncoding::Utf8:
            break;
    }
    return std::string(text);
}

std::string_view lastPhysicalLine(std::string_view text)
{
    const std::size_t end = text.find_last_of('\n', text.size() >= 2 ? text.size() - 2 : 0);
    return (end == std::string_view::npos || end + 1 >= text.size()) ? text : text.substr(end + 1);
}

bool equalNoCaseAscii(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace pelmora
