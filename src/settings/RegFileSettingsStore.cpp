#include "settings/RegFileSettingsStore.h"

#include <time.h>

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

bool RegFileSettingsStore::load(const std::filesystem::path& target)
{
    timespec readAt{};
    ::clock_gettime(CLOCK_REALTIME, &readAt);
    const FileRead read = readWholeFile(target);
    if (read.status == FileRead::Status::Failed) return false;

    Parsed parsed;
    parsed.stamp = read.stamp;
    if (const std::optional<DecodedTextFile> decoded = decodeTextFile(read.bytes)) {
        parsed.encoding = decoded->encoding;
        ++parses_;
        // A missing or blank file holds nothing to keep; anything else must
        // be a registry file, or it is left alone.
        if (trimLine(decoded->text).empty()) {
            parsed.document = std::make_shared<const RegDocument>(
                RegDocument::create(parsed.encoding == TextFileEncoding::Utf16Le ? "\r\n" : "\n"));
        } else if (std::optional<RegDocument> document = RegDocument::parse(decoded->text)) {
            parsed.document = std::make_shared<const RegDocument>(std::move(*document));
        }
    }
    parsed_ = std::move(parsed);
    // Only a file that was there and cannot change unseen is kept for the next open.
    keepParsed_ = read.status == FileRead::Status::Ok && !isRacy(parsed_->stamp, readAt);
    return true;
}

bool RegFileSettingsStore::open()
{
    close();
    if (file_.empty()) return false;
    if (!swept_) {
        swept_ = true;
        // Temporaries lie beside the real file, not beside a link to it.
        removeStaleTemporaries(resolveSymlinks(file_), kStaleTemporaryAge);
    }
    // Reading and stat follow symbolic links themselves: no walk per tick.
    const std::optional<FileStamp> stamp = stampOf(file_);
    const bool unchanged = parsed_ && keepParsed_ && stamp && parsed_->stamp == *stamp;
    if (!unchanged && !load(file_)) {
        parsed_.reset();
        return false;
    }
    if (!parsed_->document) return false;
    encoding_ = parsed_->encoding;

    std::shared_ptr<const RegDocument> document = parsed_->document;
    if (!document->hasKey(keyPath())) {
        auto withKey = std::make_shared<RegDocument>(*document);
        withKey->addKey(keyPath());
        if (!persist(*withKey)) {
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
    // Whatever happens below, the file may have changed: read it next time.
    keepParsed_ = false;
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
    writeTexts({{name, text}});
}

void RegFileSettingsStore::writeTexts(const std::vector<NamedText>& values)
{
    if (values.empty()) return;
    if (!open_ || !document_) throw failedToSet(values.front().name);
    auto changed = std::make_shared<RegDocument>(*document_);
    for (const NamedText& value : values) {
        if (!changed->setString(keyPath(), value.name, value.text)) throw failedToSet(value.name);
    }
    if (!persist(*changed)) throw failedToSet(values.front().name);
    document_ = std::move(changed);
}

}  // namespace pelmora
