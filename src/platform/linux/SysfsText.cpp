#include "platform/linux/SysfsText.h"

#include <fstream>

namespace pelmora {

std::optional<std::string> readFirstLine(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) return std::nullopt;
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32) line.pop_back();
    return line;
}

}  // namespace pelmora
