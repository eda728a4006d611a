#pragma once
// The settings key Software\Talvessa: text values read and written by name.
// Each operating system keeps it its own way (a .reg-syntax file on Linux);
// how values are read as numbers and how failures show is the same for all.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pelmora {

class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct NamedText {
    std::string name;
    std::string text;
};

inline constexpr const char* kSettingsKey = "Software\\Talvessa";

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Opens the key, creating it when missing. False when it can neither be
    // read nor created; reads then give defaults and writes fail.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Missing value: the default. A value that is not text: SettingsError
    // "Invalid data type for '<name>'". Names compare without regard to
    // ASCII letter case.
    std::string ReadString(const std::string& name, const std::string& defaultValue) const;
    // Missing, empty or non-numeric text, or a number outside 32 bits: the
    // default. Blanks around the number and a leading '+' are accepted.
    int32_t ReadInteger(const std::string& name, int32_t defaultValue) const;
    // A refused write: SettingsError "Failed to set data for '<name>'", and
    // the stored values stay as they were.
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int32_t value);
    // Several values at once, in order. A store that can keeps them all or,
    // when one is refused, none (the file store: one replacement of the file);
    // the error names the first value refused.
    void writeValues(const std::vector<NamedText>& values);

protected:
    // The text of a value, nothing when missing; throws invalidDataType(name)
    // for a value that is not text.
    virtual std::optional<std::string> readText(const std::string& name) const = 0;
    // Throws failedToSet(name) when refused.
    virtual void writeText(const std::string& name, const std::string& text) = 0;
    // One writeText after the other unless the store can do better.
    virtual void writeTexts(const std::vector<NamedText>& values);

    static SettingsError invalidDataType(const std::string& name);
    static SettingsError failedToSet(const std::string& name);
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
