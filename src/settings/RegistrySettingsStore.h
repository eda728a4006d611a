#pragma once
// The settings key Software\Talvessa in the current user's registry (Windows).
// Values are strings (REG_SZ); integers are stored as their decimal text.
// Text crosses the registry as UTF-16 and is UTF-8 here, as everywhere else
// in the program, so no value is bent by the user's code page.
#include <optional>
#include <string>

#include "settings/SettingsStore.h"

namespace pelmora {

class RegistrySettingsStore : public SettingsStore {
public:
    // `keyPath` under HKEY_CURRENT_USER; tests pass a key of their own.
    explicit RegistrySettingsStore(std::string keyPath = kSettingsKey);
    ~RegistrySettingsStore() override;
    RegistrySettingsStore(const RegistrySettingsStore&) = delete;
    RegistrySettingsStore& operator=(const RegistrySettingsStore&) = delete;

    // Opens the key for full access, creating it when missing.
    bool open() override;
    void close() override;
    bool isOpen() const override;

protected:
    // A string or an expandable string (read unexpanded) is text; the
    // registry itself refuses every other type.
    std::optional<std::string> readText(const std::string& name) const override;
    // Refused: the key not open, text that is not UTF-8 or holds a zero
    // character, or a write the registry does not allow.
    void writeText(const std::string& name, const std::string& text) override;

private:
    std::string keyPath_;
    void* key_ = nullptr;  // the open key's handle
};

}  // namespace pelmora
