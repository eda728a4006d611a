#include "settings/IniFile.h"

#include <algorithm>

#include "core/TextTrim.h"
#include "settings/TextEncoding.h"

namespace pelmora {

namespace {

bool hasLineEnd(std::string_view raw)
{
    return !raw.empty() && raw.back() == '\n';
}

std::string_view lineEndOf(std::string_view raw)
{
    if (raw.ends_with("\r\n")) return "\r\n";
    if (raw.ends_with("\n")) return "\n";
    return "";
}

}  // namespace

std::optional<IniDocument> IniDocument::parse(std::string_view text)
{
    IniDocument document;
    bool lineEndKnown = false;
    // Runs of comments, blank lines and lines not understood share one Line,
    // copied once, so they cost no more than their bytes.
    std::string_view run;
    const auto push = [&](Line line, std::string_view raw) {
        if (document.lines_.size() >= kMaxIniLines) return false;
        line.raw = std::string(raw);
        document.lines_.push_back(std::move(line));
        return true;
    };
    const auto flushRun = [&] {
        const bool pushed = run.empty() || push(Line{}, run);
        run = {};
        return pushed;
    };
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = (end == std::string_view::npos) ? text.size() : end + 1;
        const std::string_view raw = text.substr(0, length);
        text.remove_prefix(length);
        if (!lineEndKnown && hasLineEnd(raw)) {
            document.lineEnd_ = std::string(lineEndOf(raw));
            lineEndKnown = true;
        }
        Line line;
        const std::string_view content = trimLine(raw);
        const std::size_t equals = content.find('=');
        if (content.size() >= 2 && content.front() == '[' && content.back() == ']') {
            line.kind = Line::Kind::Section;
            line.name = std::string(trimLine(content.substr(1, content.size() - 2)));
        } else if (!content.empty() && content.front() != ';' && equals != std::string_view::npos &&
                   equals > 0) {
            line.kind = Line::Kind::Entry;
            line.name = std::string(trimLine(content.substr(0, equals)));
            line.value = std::string(trimLine(content.substr(equals + 1)));
        } else {
            run = run.empty() ? raw : std::string_view(run.data(), run.size() + raw.size());
            continue;
        }
        if (!flushRun() || !push(std::move(line), raw)) return std::nullopt;
    }
    if (!flushRun()) return std::nullopt;
    return document;
}

std::string IniDocument::text() const
{
    std::string out;
    for (const Line& line : lines_) out += line.raw;
    return out;
}

std::optional<std::size_t> IniDocument::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section && equalNoCaseAscii(lines_[i].name, section)) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::findEntry(std::string_view section, std::string_view key) const
{
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Line::Kind::Section) {
            inSection = equalNoCaseAscii(line.name, section);
        } else if (inSection && line.kind == Line::Kind::Entry && equalNoCaseAscii(line.name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const
{
    const std::optional<std::size_t> entry = findEntry(section, key);
    if (!entry) return std::nullopt;
    return lines_[*entry].value;
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    Line entry;
    entry.kind = Line::Kind::Entry;
    entry.name = std::string(key);
    entry.value = std::string(value);
    entry.raw = entry.name + "=" + entry.value;

    if (const std::optional<std::size_t> existing = findEntry(section, key)) {
        entry.raw += lineEndOf(lines_[*existing].raw);
        lines_[*existing] = std::move(entry);
        return;
    }
    if (!lines_.empty() && !hasLineEnd(lines_.back().raw)) lines_.back().raw += lineEnd_;
    std::optional<std::size_t> sectionAt = findSection(section);
    if (!sectionAt) {
        if (!lines_.empty() && !trimLine(lastPhysicalLine(lines_.back().raw)).empty())
            lines_.push_back(Line{Line::Kind::Other, lineEnd_, {}, {}});
        Line header{Line::Kind::Section, std::string(1, '['), std::string(section), {}};
        header.raw += section;
        header.raw += ']';
        header.raw += lineEnd_;
        lines_.push_back(std::move(header));
        sectionAt = lines_.size() - 1;
    }
    // After the section's last entry, so that blank lines and comments that
    // lead into the next section stay in front of it.
    std::size_t after = *sectionAt;
    for (std::size_t i = *sectionAt + 1; i < lines_.size() && lines_[i].kind != Line::Kind::Section; ++i) {
        if (lines_[i].kind == Line::Kind::Entry) after = i;
    }
    entry.raw += lineEnd_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1, std::move(entry));
}

}  // namespace pelmora
