#pragma once
// The widget's readings without a window: the readings engine over the given
// services and settings store, writing to recording controls. The companion
// command and the benchmarks run it.
#include "core/RecordingControls.h"
#include "platform/Services.h"
#include "readings/ReadingsEngine.h"
#include "settings/SettingsStore.h"

namespace pelmora {

class HeadlessWidget {
public:
    HeadlessWidget(Services& services, SettingsStore& store, MonitorTiming monitorTiming = {});
    HeadlessWidget(const HeadlessWidget&) = delete;
    HeadlessWidget& operator=(const HeadlessWidget&) = delete;

    RecordingWidget& controls() { return controls_; }
    ReadingsEngine& engine() { return engine_; }

private:
    // Ticks come from the caller, not from a timer.
    class NoTimer : public RefreshTimer {
    public:
        void setEnabled(bool) override {}
        void setInterval(uint32_t) override {}
    };

    RecordingWidget controls_;
    NoTimer timer_;
    ReadingsEngine engine_;
};

}  // namespace pelmora
