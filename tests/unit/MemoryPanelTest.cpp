#include <gtest/gtest.h>

#include <limits>

#include "core/RecordingControls.h"
#include "platform/fakes/FakeMemoryStatus.h"
#include "readings/MemoryPanel.h"

namespace pelmora {
namespace {

class MemoryPanelTest : public ::testing::Test {
protected:
    RecordingWidget widget;
    FakeMemoryStatus memory;
    MemoryPanel panel{widget.controls(), memory};
    WidgetControls& c() { return widget.controls(); }
};

TEST_F(MemoryPanelTest, MemoryLoadFillsTheBarAndTheCaption)
{
    for (uint32_t load : {0u, 63u, 100u}) {
        memory.status.memoryLoad = load;
        panel.update();
        EXPECT_DOUBLE_EQ(c().Phys->position(), load);
        EXPECT_EQ(c().lblPhys->text(), std::to_string(load) + "%");
    }
    EXPECT_EQ(memory.queries, 3);  // a fresh query on every tick
}

struct VirtualCase {
    const char* name;
    uint64_t total;
    uint64_t free;
    int64_t share;
};

TEST_F(MemoryPanelTest, VirtualShareInUseRoundsUp)
{
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    const VirtualCase cases[] = {
        {"all free", 1000, 1000, 0},
        {"one byte in use", 1000, 999, 1},
        {"free 37.2 %", 1000, 372, 63},
        {"free 37 %", 1000, 370, 63},
        {"nothing free", 1000, 0, 100},
        {"47-bit space, 1 GiB in use", 0x7ffffffff000, 0x7ffffffff000 - (1ull << 30), 1},
        {"largest numbers", kMax, kMax - 1, 1},
        {"no total", 0, 0, 0},
        {"no total but free", 0, 5, 0},
        {"free beyond the total", 1000, 2000, 0},
    };
    for (const VirtualCase& v : cases) {
        EXPECT_EQ(virtualShareInUse(v.total, v.free), v.share) << v.name;
        memory.status.totalVirtual = v.total;
        memory.status.availVirtual = v.free;
        panel.update();
        EXPECT_DOUBLE_EQ(c().Virt->position(), static_cast<double>(v.share)) << v.name;
    }
}

}  // namespace
}  // namespace pelmora
