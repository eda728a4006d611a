#pragma once
// The memory panel: physical memory load on a bar and a label, and the share
// of the widget process's own virtual address space in use on a bar.
#include "core/WidgetControls.h"
#include "platform/MemoryStatus.h"

namespace pelmora {

// 100 - (free × 100 div total), so a share that is not whole rounds up.
// A total of 0 (nothing known of the address space) gives 0; free beyond the
// total gives 0 as well.
int64_t virtualShareInUse(uint64_t totalVirtual, uint64_t availVirtual);

class MemoryPanel {
public:
    MemoryPanel(WidgetControls& controls, MemoryStatusSource& source);

    // The tick step: one fresh memory status query.
    void update();

private:
    WidgetControls& controls_;
    MemoryStatusSource& source_;
};

}  // namespace pelmora
