#include "settings/RegFileSettingsStore.h"

#include "core/TextTrim.h"
#include "settings/AtomicFile.h"
#include "settings/TextEncoding.h"

namespace pelmora {

namespace {

const std::string& keyPath()
{
    static const std::string path = std::string("HKEY_CURRENT_USER\\") + kSettingsKey;
    return path;
}

}  // namespace

RegFileSettingsStore::RegFileSettingsStore(std::filesystem::path file) : file_(std::move(file))
{
}

bool RegFileSettingsStore::open()
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
    if (trimLine(text).empty()) {
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

void RegFileSettingsStore::close()
{
    open_ = false;
    document_.reset();
}

bool RegFileSettingsStore::isOpen() const
{
    return open_;
}

bool RegFileSettingsStore::persist(const RegDocument& document)
{
    const std::optional<std::string> bytes = encodeTextFile(document.text(), encoding_);
    if (!bytes) return false;
    const std::filesystem::path target = resolveSymlinks(file_);
    return ensureDirectory(target.parent_path(), nullptr) && replaceFileAtomically(target, *bytes, nullptr);
}

std::optional<std::string> RegFileSettingsStore::readText(const std::string& name) const
{
    if (!document_) return std::nullopt;
    std::optional<RegValue> value = document_->find(keyPath(), name);
    if (!value) return std::nullopt;
    if (!isStringType(value->type)) throw invalidDataType(name);
    return std::move(value->text);
}

void RegFileSettingsStore::writeText(const std::string& name, const std::string& text)
{
    if (!open_ || !document_) throw failedToSet(name);
    RegDocument changed = *document_;
    if (!changed.setString(keyPath(), name, text) || !persist(changed)) throw failedToSet(name);
    document_ = std::move(changed);
}

}  // namespace pelmora
