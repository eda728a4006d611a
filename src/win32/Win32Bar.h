#pragma once
// A bar of the widget window (core/BarDrawing): its position glides on the
// window's animation clock, and a step repaints only the columns its fill's
// edge crossed.
#include "core/AnimationSchedule.h"
#include "core/BarGlide.h"
#include "core/Controls.h"
#include "core/LayoutTable.h"
#include "win32/SurfaceItem.h"

namespace pelmora {

class Win32AnimationClock;

class Win32Bar : public SurfaceItem, public Bar, private Animated {
public:
    Win32Bar(const char* name, const RECT& box, const layout::BarColours& colours,
             Win32AnimationClock& clock);

    void setPosition(double position) override;
    double position() const override;
    void setVisible(bool visible) override;
    bool isVisible() const override { return visible_; }
    int left() const override { return box_.left; }
    void setLeft(int left) override;
    int width() const override { return box_.right - box_.left; }
    void setWidth(int width) override;

    bool shown() const override { return visible_; }
    void paint(HDC dc, Gdiplus::Graphics& graphics) override;
    int filledWidth() const;

private:
    bool advance() override;
    int stepsUntilVisibleChange(int limit, int pixels) const override;
    void reshape(const RECT& box);

    layout::BarColours colours_;
    Win32AnimationClock& clock_;
    BarGlide glide_;
    int paintedFill_ = 0;
    bool visible_ = true;
};

}  // namespace pelmora
