#pragma once
// The settings key Software\Talvessa, kept as a .reg-syntax text file (Linux). The
// file is read afresh at every open, so a value edited by hand is seen by the
// next reader; every write replaces the file atomically and keeps every
// other key, value and comment of it, changing only the line of the value
// written. A file written as UTF-16LE (with its byte order mark) stays
// UTF-16LE; any other file is UTF-8, with its byte order mark kept.
// A file that is not a registry file (no version line first, undecodable
// text) is never written: readers get their defaults and writes fail.
#include <filesystem>
#include <optional>
#include <string>

#include "settings/RegFile.h"
#include "settings/SettingsStore.h"
#include "settings/TextEncoding.h"

namespace pelmora {

class RegFileSettingsStore : public SettingsStore {
public:
    explicit RegFileSettingsStore(std::filesystem::path file);

    // Reads the file afresh, creating the file (folder mode 0700, file mode
    // 0600) or the key's section when missing. False when the key can neither
    // be read nor created, or the file is not a registry file; reads then
    // give defaults and writes fail. A readable file holding the key opens
    // even when it cannot be written; its writes fail.
    bool open() override;
    void close() override;
    bool isOpen() const override;

    const std::filesystem::path& file() const { return file_; }

protected:
    // A string or an expandable string (read unexpanded) is text; a value of
    // any other type is not. Each write replaces the file at once and keeps
    // it as it was when refused (key not open, file not writable, text that
    // cannot be stored).
    std::optional<std::string> readText(const std::string& name) const override;
    void writeText(const std::string& name, const std::string& text) override;

private:
    bool persist(const RegDocument& document);

    std::filesystem::path file_;
    bool open_ = false;
    std::optional<RegDocument> document_;  // the file as read by open(); nothing when unusable
    TextFileEncoding encoding_ = TextFileEncoding::Utf8;
};

}  // namespace pelmora
