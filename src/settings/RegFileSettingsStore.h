#pragma once
// The settings key Software\Talvessa, kept as a .reg-syntax text file (Linux). The
// file is read afresh at every open unless it is the very file read last time
// (same identity, size, modification and change times, and old enough that a
// write in the same clock step is ruled out), so a value edited by hand is
// seen by the next reader; every write replaces the file atomically and keeps
// every other key, value and comment of it, changing only the lines of the
// values written. A file written as UTF-16LE (with its byte order mark) stays
// UTF-16LE; any other file is UTF-8, with its byte order mark kept.
// A file that is not a registry file (no version line first, undecodable
// text, too many lines to be ours) is never written: readers get their
// defaults and writes fail.
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/AtomicFile.h"
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
    // even when it cannot be written; its writes fail. The first open also
    // removes temporary files that killed writes left beside the file.
    bool open() override;
    void close() override;
    bool isOpen() const override;

    const std::filesystem::path& file() const { return file_; }
    // How many times the file was parsed, for the tests and the benchmarks.
    std::size_t parses() const { return parses_; }

protected:
    // A string or an expandable string (read unexpanded) is text; a value of
    // any other type is not. Each write replaces the file at once and keeps
    // it as it was when refused (key not open, file not writable, text that
    // cannot be stored); several values written together go in one replacement.
    std::optional<std::string> readText(const std::string& name) const override;
    void writeText(const std::string& name, const std::string& text) override;
    void writeTexts(const std::vector<NamedText>& values) override;

private:
    struct Parsed {
        FileStamp stamp;
        std::shared_ptr<const RegDocument> document;
        TextFileEncoding encoding = TextFileEncoding::Utf8;
    };
    // Reads and parses the file into parsed_; false when it cannot be read.
    bool load(const std::filesystem::path& target);
    bool persist(const RegDocument& document);

    std::filesystem::path file_;
    bool open_ = false;
    bool swept_ = false;
    std::size_t parses_ = 0;
    std::shared_ptr<const RegDocument> document_;  // the file as opened; nothing when unusable
    TextFileEncoding encoding_ = TextFileEncoding::Utf8;
    std::optional<Parsed> parsed_;  // the last file parsed
    bool keepParsed_ = false;       // it may be taken as unchanged while its stamp is
};

}  // namespace pelmora
