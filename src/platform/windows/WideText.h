#pragma once
// UTF-8 on our side, UTF-16 for the wide-character Windows calls.
#include <string>
#include <string_view>

namespace pelmora {

// Invalid UTF-8 becomes the replacement character, never a lost string.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

}  // namespace pelmora
