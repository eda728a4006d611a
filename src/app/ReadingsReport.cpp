#include "app/ReadingsReport.h"

#include <charconv>
#include <cstdio>

namespace pelmora {

namespace {

std::string number(double value)
{
    // Independent of the user's locale: scripts read these numbers.
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    std::string result(text, end);
    // "37.00" reads better as "37"; keep real fractions.
    while (result.back() == '0') result.pop_back();
    if (result.back() == '.') result.pop_back();
    return result;
}

std::string value(const RecordingWidget::Entry& entry)
{
    if (entry.label) return entry.label->text();
    if (entry.bar) return number(entry.bar->position());
    return number(entry.gauge->value());
}

bool visible(const RecordingWidget::Entry& entry)
{
    if (entry.label) return entry.label->isVisible();
    if (entry.bar) return entry.bar->isVisible();
    return true;
}

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

std::string readingsText(const RecordingWidget& widget)
{
    std::string out;
    for (const auto& entry : widget.entries()) out += entry.name + "\t" + value(entry) + "\n";
    for (const auto& entry : widget.entries()) {
        out += entry.name + ".visible\t" + (visible(entry) ? "1" : "0") + "\n";
        if (entry.bar) {
            out += entry.name + ".left\t" + std::to_string(entry.bar->left()) + "\n";
            out += entry.name + ".width\t" + std::to_string(entry.bar->width()) + "\n";
        }
    }
    return out;
}

std::string readingsJson(const RecordingWidget& widget)
{
    std::string out = "{\n";
    const auto& entries = widget.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        out += "  " + jsonString(entry.name) + ": {\"kind\": ";
        out += entry.label ? "\"label\"" : entry.bar ? "\"bar\"" : "\"gauge\"";
        out += ", \"value\": " + (entry.label ? jsonString(entry.label->text()) : value(entry));
        out += std::string(", \"visible\": ") + (visible(entry) ? "true" : "false");
        if (entry.bar) {
            out += ", \"left\": " + std::to_string(entry.bar->left());
            out += ", \"width\": " + std::to_string(entry.bar->width());
        }
        out += i + 1 < entries.size() ? "},\n" : "}\n";
    }
    return out + "}\n";
}

}  // namespace pelmora
