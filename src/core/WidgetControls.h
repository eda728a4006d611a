#pragma once
// Every control of the widget that the refresh cycle writes, by its name in
// the layout. The widget window fills it with its Qt controls; the companion
// command and the tests fill it with recording controls.
#include <span>
#include <variant>

#include "core/Controls.h"

namespace pelmora {

struct WidgetControls {
    // Processor panel and footer.
    Label* lblCPU_ID = nullptr;
    Gauge* CPU1 = nullptr;
    Label* lblCPU = nullptr;
    Bar* CPU = nullptr;
    Bar* Core1 = nullptr;
    Bar* Core2 = nullptr;
    Bar* Core3 = nullptr;
    Bar* Core4 = nullptr;

    // Memory panel.
    Label* lblPhys = nullptr;
    Bar* Phys = nullptr;
    Bar* Virt = nullptr;

    // Drive panel.
    Label* lblDrive1 = nullptr;
    Label* lblDrive1Free = nullptr;
    Bar* Drive1 = nullptr;
    Label* lblDrive2 = nullptr;
    Label* lblDrive2Free = nullptr;
    Bar* Drive2 = nullptr;

    // System status panel.
    Label* lblUpTime = nullptr;
    Label* lblCompName = nullptr;
    Label* lblLocalUser = nullptr;
    Label* lblDomainName = nullptr;
    Label* lblRes = nullptr;
    Label* lblVol = nullptr;
    Label* lblBatStatus = nullptr;
    Label* lblBatTime = nullptr;

    // Network panel.
    Label* lblAdapter1 = nullptr;
    Label* lblA1 = nullptr;
    Bar* LAN1 = nullptr;
    Label* lblAdapter2 = nullptr;
    Label* lblA2 = nullptr;
    Bar* LAN2 = nullptr;
};

// One member of WidgetControls and the layout name of the control it holds.
struct ControlSlot {
    const char* name;
    std::variant<Label * WidgetControls::*, Bar * WidgetControls::*, Gauge * WidgetControls::*> member;
};

// Every member, in the order above: the order in which the companion command
// reports the controls.
std::span<const ControlSlot> controlSlots();

}  // namespace pelmora
