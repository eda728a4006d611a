#include "settings/SettingsStore.h"

#include "settings/AtomicFile.h"
#include "settings/IntegerText.h"
#include "settings/TextEncoding.h"

namespace pelmora {

namespace {

const std::string& keyPath()
{
    static const std::string path = std::string("HKEY_CURRENT_USER\\") + kSettingsKey;
    return path;
}

bool isBlankText(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}

bool SettingsStore::open()
{
    close();
    if (file_.empty()) return false;
    const FileRead read = readWholeFile(resolveSymlinks(file_));
    if (read.status == FileRead::Status::Failed) return false;

    const std::optional<DecodedTextFile> decoded = decodeTextFile(read.bytes);
    if (!decoded) return false;
    encoding_ = decoded->encoding;
    const std::string& text = decoded->text;

    // A missing or blank file holds nothing to keep; anything else must be a
    // registry file, or it is left alone.
    std::optional<RegDocument> document;
    if (isBlankText(text)) {
        document = RegDocument::create(encoding_ == TextFileEncoding::Utf16Le ? "\r\n" : "\n");
    } else {
        document = RegDocument::parse(text);
        if (!document) return false;
    }

    if (!document->hasKey(keyPath())) {
        RegDocument withKey = *document;
        withKey.addKey(keyPath());
        if (!persist(withKey)) {
            document_ = std::move(document);
            return false;
        }
        document = std::move(withKey);
    }
    document_ = std::move(document);
    open_ = true;
    return true;
}

void SettingsStore::close()
{
    open_ = false;
    document_.reset();
}

bool SettingsStore::isOpen() const { return open_; }

bool SettingsStore::persist(const RegDocument& document)
{
    const std::optional<std::string> bytes = encodeTextFile(document.text(), encoding_);
    if (!bytes) return false;
    const std::filesystem::path target = resolveSymlinks(file_);
    return ensureDirectory(target.parent_path(), nullptr) && replaceFileAtomically(target, *bytes, nullptr);
}

std::optional<RegValue> SettingsStore::findString(const std::string& name) const
{
    if (!document_) return std::nullopt;
    std::optional<RegValue> value = document_->find(keyPath(), name);
    if (value && !isStringType(value->type)) throw SettingsError("Invalid data type for '" + name + "'");
    return value;
}

std::string SettingsStore::ReadString(const std::string& name, const std::string& defaultValue) const
{
    const std::optional<RegValue> value = findString(name);
    return value ? value->text : defaultValue;
}

int32_t SettingsStore::ReadInteger(const std::string& name, int32_t defaultValue) const
{
    const std::optional<RegValue> value = findString(name);
    if (!value) return defaultValue;
    return parseInt32(value->text).value_or(defaultValue);
}

void SettingsStore::write(const std::string& name, const std::string& text)
{
    if (!open_ || !document_) throw SettingsError("Failed to set data for '" + name + "'");
    RegDocument changed = *document_;
    if (!changed.setString(keyPath(), name, text) || !persist(changed)) {
        throw SettingsError("Failed to set data for '" + name + "'");
    }
    document_ = std::move(changed);
}

void SettingsStore::WriteString(const std::string& name, const std::string& value) { write(name, value); }

void SettingsStore::WriteInteger(const std::string& name, int32_t value) { write(name, std::to_string(value)); }

}  // namespace pelmora
