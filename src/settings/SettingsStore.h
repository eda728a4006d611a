#pragma once
// The settings key Software\Talvessa, kept as a .reg-syntax text file. The
// file is read afresh at every open, so a value edited by hand is seen by the
// next reader; every write replaces the file atomically and keeps every
// other key and value of it.
#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

namespace pelmora {

class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kSettingsKey = "Software\\Talvessa";

class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path file);

    // Reads the file afresh, creating the key when it is missing. False when
    // the key can neither be read nor created; reads then give defaults and
    // writes fail.
    bool open();
    void close();
    bool isOpen() const;

    // Missing value: the default. A value of another type than a string:
    // SettingsError "Invalid data type for '<name>'".
    std::string ReadString(const std::string& name, const std::string& defaultValue) const;
    // Missing, empty or non-numeric text: the default.
    int32_t ReadInteger(const std::string& name, int32_t defaultValue) const;
    // A refused write: SettingsError "Failed to set data for '<name>'".
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int32_t value);

    const std::filesystem::path& file() const { return file_; }

private:
    struct Impl;
    std::filesystem::path file_;
    bool open_ = false;
    std::map<std::string, std::string> dummy_;  // replaced by the implementation
};

// Opens on construction, closes on destruction.
class SettingsKeyScope {
public:
    explicit SettingsKeyScope(SettingsStore& store) : store_(store) { opened_ = store_.open(); }
    ~SettingsKeyScope() { store_.close(); }
    SettingsKeyScope(const SettingsKeyScope&) = delete;
    SettingsKeyScope& operator=(const SettingsKeyScope&) = delete;
    bool opened() const { return opened_; }

private:
    SettingsStore& store_;
    bool opened_;
};

}  // namespace pelmora
