#include "settings/SettingsStore.h"

#include "core/IntegerText.h"

namespace pelmora {

std::string SettingsStore::ReadString(const std::string& name, const std::string& defaultValue) const
{
    return readText(name).value_or(defaultValue);
}

int32_t SettingsStore::ReadInteger(const std::string& name, int32_t defaultValue) const
{
    const std::optional<std::string> text = readText(name);
    if (!text) return defaultValue;
    return parseInt32(*text).value_or(defaultValue);
}

void SettingsStore::WriteString(const std::string& name, const std::string& value)
{
    writeText(name, value);
}

void SettingsStore::WriteInteger(const std::string& name, int32_t value)
{
    writeText(name, std::to_string(value));
}

void SettingsStore::writeValues(const std::vector<NamedText>& values)
{
    writeTexts(values);
}

void SettingsStore::writeTexts(const std::vector<NamedText>& values)
{
    for (const NamedText& value : values) writeText(value.name, value.text);
}

SettingsError SettingsStore::invalidDataType(const std::string& name)
{
    return SettingsError("Invalid data type for '" + name + "'");
}

SettingsError SettingsStore::failedToSet(const std::string& name)
{
    return SettingsError("Failed to set data for '" + name + "'");
}

}  // namespace pelmora
