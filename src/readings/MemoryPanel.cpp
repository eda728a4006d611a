#include "readings/MemoryPanel.h"

#include <string>

namespace pelmora {

int64_t virtualShareInUse(uint64_t totalVirtual, uint64_t availVirtual)
{
    if (totalVirtual == 0 || availVirtual > totalVirtual) return 0;
    __extension__ typedef unsigned __int128 uint128;
    const auto freePercent = static_cast<int64_t>(uint128{availVirtual} * 100 / totalVirtual);
    return 100 - freePercent;
}

MemoryPanel::MemoryPanel(WidgetControls& controls, MemoryStatusSource& source)
    : controls_(controls), source_(source)
{
}

void MemoryPanel::update()
{
    const MemoryStatus status = source_.memoryStatus();
    controls_.Phys->setPosition(status.memoryLoad);
    controls_.lblPhys->setText(std::to_string(status.memoryLoad) + "%");
    controls_.Virt->setPosition(
        static_cast<double>(virtualShareInUse(status.totalVirtual, status.availVirtual)));
}

}  // namespace pelmora
