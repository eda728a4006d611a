#include "settings/RegFile.h"

#include <algorithm>

#include "core/TextTrim.h"
#include "settings/TextEncoding.h"

namespace pelmora {

namespace {

std::string_view lineEndOf(std::string_view raw)
{
    if (raw.ends_with("\r\n")) return "\r\n";
    if (raw.ends_with("\n")) return "\n";
    return "";
}

std::string_view withoutLineEnd(std::string_view raw)
{
    return raw.substr(0, raw.size() - lineEndOf(raw).size());
}

// True when `[-deleted]` removes `keyPath`: the key itself or one above it.
bool deletionCovers(std::string_view deleted, std::string_view keyPath)
{
    if (equalNoCaseAscii(deleted, keyPath)) return true;
    return keyPath.size() > deleted.size() && keyPath[deleted.size()] == '\\' &&
           equalNoCaseAscii(keyPath.substr(0, deleted.size()), deleted);
}

// Takes the next physical line, its line end included, off the front of `text`.
std::string_view takeLine(std::string_view& text)
{
    const std::size_t end = text.find('\n');
    const std::size_t length = (end == std::string_view::npos) ? text.size() : end + 1;
    const std::string_view line = text.substr(0, length);
    text.remove_prefix(length);
    return line;
}

// The line end of an item's first line: what the file's own lines end with.
std::string_view firstLineEnd(std::string_view raw)
{
    const std::size_t end = raw.find('\n');
    if (end == std::string_view::npos) return "";
    return (end > 0 && raw[end - 1] == '\r') ? "\r\n" : "\n";
}

bool continues(std::string_view raw)
{
    const std::string_view content = trimLine(raw);
    return !content.empty() && content.back() == '\\';
}

// A line that carries on a hex list: bytes, commas and blanks, with a
// backslash at its end when yet another line follows.
bool isHexContinuation(std::string_view content)
{
    if (content.ends_with('\\')) content.remove_suffix(1);
    return !content.empty() &&
           content.find_first_not_of("0123456789abcdefABCDEF, \t") == std::string_view::npos;
}

}  // namespace

std::optional<std::vector<RegDocument::Item>> RegDocument::splitItems(std::string_view text)
{
    std::vector<Item> items;
    // Runs of lines that are neither sections nor values (blank lines,
    // comments, anything not understood) share one item, copied once, so they
    // cost no more than their bytes; the first line with content stays on its
    // own, for the version check.
    std::string_view run;
    bool contentSeen = false;
    const auto push = [&](Item item, std::string_view raw) {
        if (items.size() >= kMaxRegItems) return false;
        item.raw = std::string(raw);
        items.push_back(std::move(item));
        return true;
    };
    const auto flushRun = [&] {
        const bool pushed = run.empty() || push(Item{}, run);
        run = {};
        return pushed;
    };
    while (!text.empty()) {
        const std::string_view line = takeLine(text);
        std::string_view raw = line;
        Item item;
        const std::string_view content = trimLine(line);
        if (content.size() >= 2 && content.front() == '[' && content.back() == ']') {
            std::string_view path = content.substr(1, content.size() - 2);
            item.kind = Item::Kind::Section;
            item.deletesKey = !path.empty() && path.front() == '-';
            if (item.deletesKey) path.remove_prefix(1);
            item.keyPath = std::string(path);
        } else if (!content.empty() && (content.front() == '"' || content.front() == '@')) {
            std::optional<RegValueLine> parsed = parseRegValueLine(withoutLineEnd(line));
            if (!parsed && continues(line)) {
                // A hex list may go on over lines ending in a backslash. Only
                // lines of hex bytes are taken in, so every line is looked at
                // a bounded number of times however the file is made.
                std::string joined(trimLine(line));
                joined.pop_back();
                if (parseRegValueLine(joined)) {
                    std::string_view rest = text;
                    while (!rest.empty()) {
                        std::string_view next = rest;
                        std::string_view part = trimLine(takeLine(next));
                        if (!isHexContinuation(part)) break;
                        rest = next;
                        const bool more = part.ends_with('\\');
                        if (more) part.remove_suffix(1);
                        joined += part;
                        if (!more) break;
                    }
                    parsed = parseRegValueLine(joined);
                    if (parsed) {
                        raw = std::string_view(line.data(),
                                               static_cast<std::size_t>(rest.data() - line.data()));
                        text = rest;
                    }
                }
            }
            if (parsed) {
                item.kind = Item::Kind::Value;
                item.value = std::move(*parsed);
            }
        }
        const bool firstContent = !contentSeen && !content.empty();
        contentSeen = contentSeen || firstContent;
        if (item.kind == Item::Kind::Other && !firstContent) {
            run = run.empty() ? raw : std::string_view(run.data(), run.size() + raw.size());
            continue;
        }
        if (!flushRun() || !push(std::move(item), raw)) return std::nullopt;
    }
    if (!flushRun()) return std::nullopt;
    return items;
}

std::optional<RegDocument> RegDocument::parse(std::string_view text)
{
    RegDocument document;
    std::optional<std::vector<Item>> items = splitItems(text);
    if (!items) return std::nullopt;
    document.items_ = std::move(*items);
    auto first = std::find_if(document.items_.begin(), document.items_.end(),
                              [](const Item& item) { return !trimLine(item.raw).empty(); });
    if (first == document.items_.end() || first->kind != Item::Kind::Other) return std::nullopt;
    const std::string_view version = trimLine(first->raw);
    if (!equalNoCaseAscii(version, kRegVersionLine) && !equalNoCaseAscii(version, "REGEDIT4"))
        return std::nullopt;
    first->kind = Item::Kind::Version;
    for (const Item& item : document.items_) {
        if (!firstLineEnd(item.raw).empty()) {
            document.lineEnd_ = std::string(firstLineEnd(item.raw));
            break;
        }
    }
    return document;
}

RegDocument RegDocument::create(std::string lineEnd)
{
    RegDocument document;
    document.lineEnd_ = std::move(lineEnd);
    Item version;
    version.kind = Item::Kind::Version;
    version.raw = std::string(kRegVersionLine) + document.lineEnd_;
    document.items_.push_back(std::move(version));
    Item blank;
    blank.raw = document.lineEnd_;
    document.items_.push_back(std::move(blank));
    return document;
}

std::string RegDocument::text() const
{
    std::string out;
    for (const Item& item : items_) out += item.raw;
    return out;
}

std::size_t RegDocument::liveFrom(std::string_view keyPath) const
{
    std::size_t from = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (item.kind == Item::Kind::Section && item.deletesKey && deletionCovers(item.keyPath, keyPath))
            from = i + 1;
    }
    return from;
}

std::optional<std::size_t> RegDocument::lastSection(std::string_view keyPath) const
{
    std::optional<std::size_t> found;
    for (std::size_t i = liveFrom(keyPath); i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (item.kind == Item::Kind::Section && !item.deletesKey && equalNoCaseAscii(item.keyPath, keyPath))
            found = i;
    }
    return found;
}

std::optional<std::size_t> RegDocument::decidingLine(std::string_view keyPath, std::string_view name) const
{
    std::optional<std::size_t> deciding;
    bool inKey = false;
    for (std::size_t i = liveFrom(keyPath); i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (item.kind == Item::Kind::Section) {
            inKey = !item.deletesKey && equalNoCaseAscii(item.keyPath, keyPath);
        } else if (inKey && item.kind == Item::Kind::Value && equalNoCaseAscii(item.value.name, name)) {
            deciding = i;
        }
    }
    return deciding;
}

std::optional<RegValue> RegDocument::find(std::string_view keyPath, std::string_view name) const
{
    const std::optional<std::size_t> deciding = decidingLine(keyPath, name);
    if (!deciding || items_[*deciding].value.value.type == RegType::Deleted) return std::nullopt;
    return items_[*deciding].value.value;
}

bool RegDocument::hasKey(std::string_view keyPath) const
{
    return lastSection(keyPath).has_value();
}

void RegDocument::addKey(std::string_view keyPath)
{
    if (hasKey(keyPath)) return;
    if (!items_.empty() && lineEndOf(items_.back().raw).empty()) items_.back().raw += lineEnd_;
    if (!items_.empty() && !trimLine(lastPhysicalLine(items_.back().raw)).empty()) {
        Item blank;
        blank.raw = lineEnd_;
        items_.push_back(std::move(blank));
    }
    Item section;
    section.kind = Item::Kind::Section;
    section.keyPath = std::string(keyPath);
    section.raw = "[" + section.keyPath + "]" + lineEnd_;
    items_.push_back(std::move(section));
}

void RegDocument::insertAfter(std::size_t index, std::string line)
{
    if (lineEndOf(items_[index].raw).empty()) items_[index].raw += lineEnd_;
    Item item;
    item.kind = Item::Kind::Value;
    item.raw = std::move(line) + lineEnd_;
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index) + 1, std::move(item));
}

bool RegDocument::setString(std::string_view keyPath, std::string_view name, std::string_view text)
{
    const std::optional<std::string> line = formatRegStringLine(name, text);
    if (!line) return false;
    const RegValueLine stored{std::string(name), RegValue{RegType::String, std::string(text)}};

    // The last line for the name decides the value, so that one is replaced.
    if (const std::optional<std::size_t> deciding = decidingLine(keyPath, name)) {
        Item& item = items_[*deciding];
        item.raw = *line + std::string(lineEndOf(item.raw));
        item.value = stored;
        return true;
    }

    addKey(keyPath);
    const std::size_t section = *lastSection(keyPath);
    std::size_t after = section;
    for (std::size_t i = section + 1; i < items_.size() && items_[i].kind != Item::Kind::Section; ++i) {
        if (items_[i].kind == Item::Kind::Value) after = i;
    }
    insertAfter(after, *line);
    items_[after + 1].value = stored;
    return true;
}

}  // namespace pelmora
