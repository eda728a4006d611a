#include "core/RecordingControls.h"

namespace pelmora {

Label* RecordingWidget::label(const char* name, const char* text)
{
    labels_.push_back(std::make_unique<RecordingLabel>(text));
    entries_.push_back({name, labels_.back().get(), nullptr, nullptr});
    return labels_.back().get();
}

Bar* RecordingWidget::bar(const char* name, int left, int width)
{
    bars_.push_back(std::make_unique<RecordingBar>(left, width));
    entries_.push_back({name, nullptr, bars_.back().get(), nullptr});
    return bars_.back().get();
}

RecordingWidget::RecordingWidget()
{
    WidgetControls& c = controls_;
    c.lblCPU_ID = label("lblCPU_ID", "Unknown CPU");
    entries_.push_back({"CPU1", nullptr, nullptr, &gauge_});
    c.CPU1 = &gauge_;
    c.lblCPU = label("lblCPU", "0%");
    c.CPU = bar("CPU", 117, 188);
    c.Core1 = bar("Core1", 117, 43);
    c.Core2 = bar("Core2", 165, 43);
    c.Core3 = bar("Core3", 213, 43);
    c.Core4 = bar("Core4", 261, 43);

    c.lblPhys = label("lblPhys", "0%");
    c.Phys = bar("Phys", 389, 172);
    c.Virt = bar("Virt", 389, 172);

    c.lblDrive1 = label("lblDrive1", "Drive C: (SYSTEM)");
    c.lblDrive1Free = label("lblDrive1Free", "0% free");
    c.Drive1 = bar("Drive1", 117, 188);
    c.lblDrive2 = label("lblDrive2", "Drive D: (WORK)");
    c.lblDrive2Free = label("lblDrive2Free", "0% free");
    c.Drive2 = bar("Drive2", 117, 188);

    c.lblUpTime = label("lblUpTime", "Unknown");
    c.lblCompName = label("lblCompName", "Unknown");
    c.lblLocalUser = label("lblLocalUser", "Unknown");
    c.lblDomainName = label("lblDomainName", "Unknown");
    c.lblRes = label("lblRes", "Unknown");
    c.lblVol = label("lblVol", "Unknown");
    c.lblBatStatus = label("lblBatStatus", "Unknown");
    c.lblBatTime = label("lblBatTime", "Unknown");

    c.lblAdapter1 = label("lblAdapter1", "192.168.0.1");
    c.lblA1 = label("lblA1", "0%");
    c.LAN1 = bar("LAN1", 389, 172);
    c.lblAdapter2 = label("lblAdapter2", "192.168.10.1");
    c.lblA2 = label("lblA2", "0%");
    c.LAN2 = bar("LAN2", 389, 172);
}

}  // namespace pelmora
