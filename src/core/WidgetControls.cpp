#include "core/WidgetControls.h"

namespace pelmora {

namespace {

using C = WidgetControls;

constexpr ControlSlot kSlots[] = {
    {"lblCPU_ID", &C::lblCPU_ID},
    {"CPU1", &C::CPU1},
    {"lblCPU", &C::lblCPU},
    {"CPU", &C::CPU},
    {"Core1", &C::Core1},
    {"Core2", &C::Core2},
    {"Core3", &C::Core3},
    {"Core4", &C::Core4},
    {"lblPhys", &C::lblPhys},
    {"Phys", &C::Phys},
    {"Virt", &C::Virt},
    {"lblDrive1", &C::lblDrive1},
    {"lblDrive1Free", &C::lblDrive1Free},
    {"Drive1", &C::Drive1},
    {"lblDrive2", &C::lblDrive2},
    {"lblDrive2Free", &C::lblDrive2Free},
    {"Drive2", &C::Drive2},
    {"lblUpTime", &C::lblUpTime},
    {"lblCompName", &C::lblCompName},
    {"lblLocalUser", &C::lblLocalUser},
    {"lblDomainName", &C::lblDomainName},
    {"lblRes", &C::lblRes},
    {"lblVol", &C::lblVol},
    {"lblBatStatus", &C::lblBatStatus},
    {"lblBatTime", &C::lblBatTime},
    {"lblAdapter1", &C::lblAdapter1},
    {"lblA1", &C::lblA1},
    {"LAN1", &C::LAN1},
    {"lblAdapter2", &C::lblAdapter2},
    {"lblA2", &C::lblA2},
    {"LAN2", &C::LAN2},
};

}  // namespace

std::span<const ControlSlot> controlSlots()
{
    return kSlots;
}

}  // namespace pelmora
