#include "platform/ProcessorNames.h"

#include <cstring>

namespace pelmora {

namespace {

struct Model {
    unsigned family;
    int model;  // -1: any model of the family
    const char* name;
};

struct Vendor {
    const char* id;
    const char* shortName;
    const Model* models;
    size_t modelCount;
};

constexpr Model kIntel[] = {
    {4, -1, "Intel 486"},        {5, 4, "Intel Pentium MMX"},       {5, 8, "Intel Pentium MMX"},
    {5, -1, "Intel Pentium"},    {6, 1, "Intel Pentium Pro"},       {6, 3, "Intel Pentium II"},
    {6, 5, "Intel Pentium II"},  {6, 6, "Intel Celeron"},           {6, 7, "Intel Pentium III"},
    {6, 8, "Intel Pentium III"}, {6, 10, "Intel Pentium III Xeon"}, {6, 11, "Intel Pentium III"},
    {6, 9, "Intel Pentium M"},   {6, 13, "Intel Pentium M"},        {6, -1, "Intel P6 family"},
    {15, -1, "Intel Pentium 4"},
};

constexpr Model kAmd[] = {
    {4, -1, "AMD 486"},    {5, 0, "AMD K5"},          {5, 1, "AMD K5"},    {5, 2, "AMD K5"},
    {5, 3, "AMD K5"},      {5, 6, "AMD K6"},          {5, 7, "AMD K6"},    {5, 8, "AMD K6-2"},
    {5, 9, "AMD K6-III"},  {5, 13, "AMD K6-2+"},      {6, 3, "AMD Duron"}, {6, 7, "AMD Duron"},
    {6, -1, "AMD Athlon"}, {15, -1, "AMD Athlon 64"},
};

constexpr Model kCyrix[] = {
    {4, -1, "Cyrix 5x86"},
    {5, -1, "Cyrix 6x86"},
    {6, -1, "Cyrix 6x86MX"},
};

constexpr Model kCentaur[] = {
    {5, -1, "IDT WinChip"},
    {6, -1, "VIA C3"},
};

constexpr Model kTransmeta[] = {{5, -1, "Transmeta Crusoe"}, {15, -1, "Transmeta Efficeon"}};
constexpr Model kNexGen[] = {{5, -1, "NexGen Nx586"}};
constexpr Model kRise[] = {{5, -1, "Rise mP6"}};
constexpr Model kUmc[] = {{4, -1, "UMC U5"}};
constexpr Model kNsc[] = {{5, -1, "NSC Geode"}};
constexpr Model kSis[] = {{5, -1, "SiS 55x"}};

template <size_t N>
constexpr Vendor vendor(const char* id, const char* shortName, const Model (&models)[N])
{
    return {id, shortName, models, N};
}

constexpr Vendor kVendors[] = {
    vendor("GenuineIntel", "Intel", kIntel),
    vendor("AuthenticAMD", "AMD", kAmd),
    vendor("CyrixInstead", "Cyrix", kCyrix),
    vendor("CentaurHauls", "Centaur", kCentaur),
    vendor("GenuineTMx86", "Transmeta", kTransmeta),
    vendor("TransmetaCPU", "Transmeta", kTransmeta),
    vendor("NexGenDriven", "NexGen", kNexGen),
    vendor("RiseRiseRise", "Rise", kRise),
    vendor("UMC UMC UMC ", "UMC", kUmc),
    vendor("Geode by NSC", "NSC", kNsc),
    vendor("SiS SiS SiS ", "SiS", kSis),
};

}  // namespace

std::string legacyProcessorName(std::string_view vendorId, unsigned family, unsigned model)
{
    for (const Vendor& known : kVendors) {
        if (vendorId != known.id) continue;
        for (size_t i = 0; i < known.modelCount; ++i) {
            const Model& entry = known.models[i];
            if (entry.family == family && (entry.model < 0 || static_cast<unsigned>(entry.model) == model))
                return entry.name;
        }
        return std::string(known.shortName) + " family " + std::to_string(family) + " model " +
               std::to_string(model);
    }
    return "Unknown";
}

std::string brandName(const char (&brand)[48])
{
    return std::string(brand, strnlen(brand, sizeof brand));
}

std::string cpuinfoProcessorName(std::string_view cpuinfo)
{
    for (std::string_view key :
         {"model name", "Processor", "cpu model", "cpu", "uarch", "Model", "Hardware"}) {
        std::string_view text = cpuinfo;
        while (!text.empty()) {
            const size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

            // "key<tabs or blanks>: value"
            if (line.substr(0, key.size()) != key) continue;
            size_t at = key.size();
            while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
            if (at == line.size() || line[at] != ':') continue;
            ++at;
            while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
            std::string_view value = line.substr(at);
            while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
                value.remove_suffix(1);
            if (!value.empty()) return std::string(value.substr(0, kMaxProcessorNameLength));
        }
    }
    return "Unknown";
}

}  // namespace pelmora
