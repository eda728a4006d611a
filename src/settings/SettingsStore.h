#pragma once
// The settings key Software\Talvessa, kept as a .reg-syntax text file. The
// file is read afresh at every open, so a value edited by hand is seen by the
// next reader; every write replaces the file atomically and keeps every
// other key, value and comment of it, changing only the line of the value
// written. A file written as UTF-16LE (with its byte order mark) stays
// UTF-16LE; any other file is UTF-8, with its byte order mark kept.
// A file that is not a registry file (no version line first, undecodable
// text) is never written: readers get their defaults and writes fail.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "settings/RegFile.h"
#include "settings/TextEncoding.h"

namespace pelmora {

class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kSettingsKey = "Software\\Talvessa";

class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path file);

    // Reads the file afresh, creating the file (folder mode 0700, file mode
    // 0600) or the key's section when missing. False when the key can neither
    // be read nor created, or the file is not a registry file; reads then
    // give defaults and writes fail. A readable file holding the key opens
    // even when it cannot be written; its writes fail.
    bool open();
    void close();
    bool isOpen() const;

    // Missing value: the default. A value of another type than a string or
    // an expandable string (read unexpanded): SettingsError "Invalid data
    // type for '<name>'". Names compare without regard to ASCII letter case.
    std::string ReadString(const std::string& name, const std::string& defaultValue) const;
    // Missing, empty or non-numeric text, or a number outside 32 bits: the
    // default. Blanks around the number and a leading '+' are accepted.
    int32_t ReadInteger(const std::string& name, int32_t defaultValue) const;
    // Each write replaces the file at once. A refused write (key not open,
    // file not writable, text that cannot be stored): SettingsError "Failed
    // to set data for '<name>'", and the file stays as it was.
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int32_t value);

    const std::filesystem::path& file() const { return file_; }

private:
    bool persist(const RegDocument& document);
    std::optional<RegValue> findString(const std::string& name) const;
    void write(const std::string& name, const std::string& text);

    std::filesystem::path file_;
    bool open_ = false;
    std::optional<RegDocument> document_;  // the file as read by open(); nothing when unusable
    TextFileEncoding encoding_ = TextFileEncoding::Utf8;
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
