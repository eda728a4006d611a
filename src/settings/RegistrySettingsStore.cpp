#include "settings/RegistrySettingsStore.h"

#include <windows.h>

#include <vector>

namespace pelmora {

namespace {

// Nothing for bytes that are not UTF-8 or hold a zero character, which a
// registry string could not give back as written.
std::optional<std::wstring> wideText(const std::string& text)
{
    if (text.find('\0') != std::string::npos) return std::nullopt;
    if (text.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                             static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                          wide.data(), length);
    return wide;
}

std::string utf8Text(const wchar_t* text, size_t length)
{
    if (length == 0) return {};
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string converted(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), converted.data(), bytes, nullptr,
                          nullptr);
    return converted;
}

constexpr DWORD kTextTypes = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
// A value rewritten between the size query and the read needs another try.
constexpr int kReadAttempts = 4;

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::string keyPath) : keyPath_(std::move(keyPath))
{
}

RegistrySettingsStore::~RegistrySettingsStore()
{
    close();
}

bool RegistrySettingsStore::open()
{
    close();
    const std::optional<std::wstring> path = wideText(keyPath_);
    if (!path) return false;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    key_ = key;
    return true;
}

void RegistrySettingsStore::close()
{
    if (key_) ::RegCloseKey(static_cast<HKEY>(key_));
    key_ = nullptr;
}

bool RegistrySettingsStore::isOpen() const
{
    return key_ != nullptr;
}

std::optional<std::string> RegistrySettingsStore::readText(const std::string& name) const
{
    if (!key_) return std::nullopt;
    const std::optional<std::wstring> valueName = wideText(name);
    if (!valueName) return std::nullopt;
    const auto key = static_cast<HKEY>(key_);
    std::vector<wchar_t> text(64);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS answer =
            ::RegGetValueW(key, nullptr, valueName->c_str(), kTextTypes, nullptr, text.data(), &bytes);
        if (answer == ERROR_SUCCESS) {
            // The registry adds a terminating zero where the value lacks one.
            size_t length = bytes / sizeof(wchar_t);
            while (length > 0 && text[length - 1] == L'\0') --length;
            return utf8Text(text.data(), length);
        }
        if (answer == ERROR_UNSUPPORTED_TYPE) throw invalidDataType(name);
        if (answer != ERROR_MORE_DATA) return std::nullopt;
        text.resize(bytes / sizeof(wchar_t) + 1);
    }
    return std::nullopt;
}

void RegistrySettingsStore::writeText(const std::string& name, const std::string& text)
{
    const std::optional<std::wstring> valueName = wideText(name);
    const std::optional<std::wstring> value = wideText(text);
    if (!key_ || !valueName || !value) throw failedToSet(name);
    const DWORD bytes = static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t));
    if (::RegSetValueExW(static_cast<HKEY>(key_), valueName->c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(value->c_str()), bytes) != ERROR_SUCCESS) {
        throw failedToSet(name);
    }
}

}  // namespace pelmora
