#pragma once
// UTF-8 / UTF-16LE conversions for the stored text files (settings key,
// window placement) and the registry's UTF-16LE string data.
#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

bool isValidUtf8(std::string_view text);

// Compares ASCII letters without regard to case, as value names and key
// paths are compared; other bytes must match exactly.
bool equalNoCaseAscii(std::string_view a, std::string_view b);

// The last line of a text that may hold several, with its line end: "b\n"
// of "a\nb\n". The stored files keep runs of lines together.
std::string_view lastPhysicalLine(std::string_view text);

// Exact conversions: nothing on malformed input, so that a converted text
// converts back to the very same bytes.
std::optional<std::string> utf16LeToUtf8(std::string_view bytes);
std::optional<std::string> utf8ToUtf16Le(std::string_view text);

// For registry string data: stops at the first NUL character, ignores an odd
// last byte and turns unpaired surrogates into U+FFFD.
std::string utf16LeDataToUtf8(std::string_view bytes);

// How a stored text file was written, so that a rewrite keeps it.
enum class TextFileEncoding { Utf8, Utf8WithBom, Utf16Le };

struct DecodedTextFile {
    TextFileEncoding encoding = TextFileEncoding::Utf8;
    std::string text;  // UTF-8 for UTF-16LE files; the bytes as they are otherwise
};

// A UTF-16LE file (byte order mark FF FE) is converted to UTF-8; a UTF-8 byte
// order mark is taken off; any other file is taken byte for byte. Nothing for
// UTF-16LE that does not convert exactly, and for big-endian UTF-16.
std::optional<DecodedTextFile> decodeTextFile(std::string_view bytes);
// The bytes to write back; nothing when the text cannot be written as UTF-16LE.
std::optional<std::string> encodeTextFile(std::string_view text, TextFileEncoding encoding);

}  // namespace pelmora
