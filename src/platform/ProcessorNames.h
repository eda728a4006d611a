#pragma once
// Processor names where the processor does not spell out its own.
#include <string>
#include <string_view>

namespace pelmora {

inline constexpr size_t kMaxProcessorNameLength = 48;

// A name by identification vendor text ("GenuineIntel", "AuthenticAMD"...),
// family and model (extended fields already added), for processors without
// the brand-name leaves. "Unknown" for an unrecognised vendor; a known
// vendor with a family not in the table gets "<vendor> family F model M".
std::string legacyProcessorName(std::string_view vendor, unsigned family, unsigned model);

// The 48 bytes of the brand-name leaves up to the first zero, untrimmed.
std::string brandName(const char (&brand)[48]);

// The name in /proc/cpuinfo on processors without the identification
// instruction: the first of "model name", "Processor", "cpu model", "cpu",
// "uarch", "Model", "Hardware" that has a value, cut to 48 characters;
// "Unknown" when none has.
std::string cpuinfoProcessorName(std::string_view cpuinfo);

}  // namespace pelmora
