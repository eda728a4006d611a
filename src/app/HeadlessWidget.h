#pragma once
// The widget's readings without a window: the real Linux services and the
// readings engine, writing to recording controls. The companion command and
// the benchmarks run it.
#include <filesystem>

#include "core/RecordingControls.h"
#include "platform/linux/LinuxServices.h"
#include "readings/ReadingsEngine.h"
#include "settings/RegFileSettingsStore.h"

namespace pelmora {

class HeadlessWidget {
public:
    explicit HeadlessWidget(const std::filesystem::path& settingsFile, MonitorTiming monitorTiming = {});
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

    LinuxServices linux_;
    RegFileSettingsStore store_;
    RecordingWidget controls_;
    NoTimer timer_;
    ReadingsEngine engine_;
};

}  // namespace pelmora
