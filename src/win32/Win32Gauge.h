#pragma once
// The processor's dial gauge in the widget window, drawn with GDI+: dial,
// scale, threshold band, a needle that glides on the animation clock and a
// read-out of the value. Values outside 0..100 are ignored. A step repaints
// only when the needle's drawn angle changes, and then only where it swept.
#include <memory>

#include "core/AnimationSchedule.h"
#include "core/BarGlide.h"
#include "core/Controls.h"
#include "core/LayoutTable.h"
#include "win32/SurfaceItem.h"

namespace pelmora {

class Win32AnimationClock;

class Win32Gauge : public SurfaceItem, public Gauge, private Animated {
public:
    Win32Gauge(const char* name, const RECT& box, const layout::GaugeDesign& design,
               Win32AnimationClock& clock);
    ~Win32Gauge() override;

    void setValue(double value) override;
    double value() const override { return glide_.target(); }

    void paint(HDC dc, Gdiplus::Graphics& graphics) override;

private:
    bool advance() override;
    int stepsUntilVisibleChange(int limit, int pixels) const override;
    RECT needleBounds(int angleKey) const;
    void paintDial(Gdiplus::Graphics& graphics) const;
    void paintReadout(Gdiplus::Graphics& graphics) const;
    void paintNeedle(Gdiplus::Graphics& graphics) const;

    layout::GaugeDesign design_;
    Win32AnimationClock& clock_;
    BarGlide glide_;
    int paintedAngleKey_ = 0;
    std::unique_ptr<Gdiplus::Font> scaleFont_;
    std::unique_ptr<Gdiplus::Font> valueFont_;
};

}  // namespace pelmora
