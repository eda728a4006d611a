#include "settings/SettingsStore.h"
// Placeholder until the store lands.
namespace pelmora {
SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}
bool SettingsStore::open() { return open_ = false; }
void SettingsStore::close() { open_ = false; }
bool SettingsStore::isOpen() const { return open_; }
std::string SettingsStore::ReadString(const std::string&, const std::string& d) const { return d; }
int32_t SettingsStore::ReadInteger(const std::string&, int32_t d) const { return d; }
void SettingsStore::WriteString(const std::string& n, const std::string&) { throw SettingsError("Failed to set data for '" + n + "'"); }
void SettingsStore::WriteInteger(const std::string& n, int32_t) { throw SettingsError("Failed to set data for '" + n + "'"); }
}
