#include "platform/linux/LinuxDisplay.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cmath>
#include <memory>

#include "platform/linux/XErrorGuard.h"

namespace pelmora {

namespace {

// For the length of a query (this thread only, the one that runs the ticks)
// errors on this class's connection turn into a failed query. A lost server
// comes back here through this exit handler instead of ending the program.
void keepRunning(::Display*, void*)
{
}

uint32_t bitsPerPixelOfDepth(::Display* display, int depth)
{
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    uint32_t bits = static_cast<uint32_t>(depth);
    for (int i = 0; formats && i < count; ++i) {
        if (formats[i].depth == depth) bits = static_cast<uint32_t>(formats[i].bits_per_pixel);
    }
    if (formats) XFree(formats);
    return bits;
}

template <typename T, void (*Free)(T*)>
struct Freer {
    void operator()(T* p) const { Free(p); }
};
using Resources = std::unique_ptr<XRRScreenResources, Freer<XRRScreenResources, XRRFreeScreenResources>>;
using Output = std::unique_ptr<XRROutputInfo, Freer<XRROutputInfo, XRRFreeOutputInfo>>;
using Crtc = std::unique_ptr<XRRCrtcInfo, Freer<XRRCrtcInfo, XRRFreeCrtcInfo>>;

}  // namespace

uint32_t modeRefreshHz(unsigned long dotClock, unsigned hTotal, unsigned vTotal, bool interlaced,
                       bool doubleScan)
{
    if (hTotal == 0 || vTotal == 0) return 0;
    double lines = vTotal;
    if (interlaced) lines /= 2;
    if (doubleScan) lines *= 2;
    return static_cast<uint32_t>(std::nearbyint(static_cast<double>(dotClock) / (hTotal * lines)));
}

LinuxDisplay::LinuxDisplay(std::string displayName) : name_(std::move(displayName))
{
}

LinuxDisplay::~LinuxDisplay()
{
    if (!display_) return;
    XErrorGuard guard(display_, &lost_);
    disconnect();
}

bool LinuxDisplay::connect()
{
    display_ = XOpenDisplay(name_.empty() ? nullptr : name_.c_str());
    if (!display_) return false;
    lost_ = false;
    XErrorGuard::guardConnection(display_);
    XSetIOErrorExitHandler(display_, keepRunning, nullptr);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    randr_ = XRRQueryExtension(display_, &eventBase, &errorBase) &&
             XRRQueryVersion(display_, &major, &minor) && (major > 1 || (major == 1 && minor >= 3));
    bitsPerPixel_ = bitsPerPixelOfDepth(display_, DefaultDepth(display_, DefaultScreen(display_)));
    if (!lost_) return true;
    disconnect();
    return false;
}

void LinuxDisplay::disconnect()
{
    if (display_) XCloseDisplay(display_);
    display_ = nullptr;
}

bool LinuxDisplay::queryOutputs(DisplayMode& mode)
{
    const Window root = DefaultRootWindow(display_);
    Resources resources(XRRGetScreenResourcesCurrent(display_, root));
    if (!resources || lost_) return false;
    const RROutput primary = XRRGetOutputPrimary(display_, root);
    Output chosen;
    for (int i = -1; i < resources->noutput && !chosen && !lost_; ++i) {
        const RROutput id = i < 0 ? primary : resources->outputs[i];
        if (id == None) continue;
        Output output(XRRGetOutputInfo(display_, resources.get(), id));
        if (output && output->crtc != None && output->connection == RR_Connected) chosen = std::move(output);
    }
    if (!chosen || lost_) return false;
    Crtc crtc(XRRGetCrtcInfo(display_, resources.get(), chosen->crtc));
    if (!crtc || lost_ || crtc->mode == None) return false;
    mode.width = crtc->width;
    mode.height = crtc->height;
    mode.frequency = 0;
    for (int i = 0; i < resources->nmode; ++i) {
        const XRRModeInfo& info = resources->modes[i];
        if (info.id != crtc->mode) continue;
        mode.frequency = modeRefreshHz(info.dotClock, info.hTotal, info.vTotal, info.modeFlags & RR_Interlace,
                                       info.modeFlags & RR_DoubleScan);
    }
    return true;
}

bool LinuxDisplay::currentMode(DisplayMode& mode)
{
    XErrorGuard guard(display_, &lost_);
    if (!display_ && !connect()) return false;
    DisplayMode current;
    bool found = !lost_ && randr_ && queryOutputs(current);
    if (!found && !lost_) {
        // No XRandR or no lit output: the screen as a whole.
        const int screen = DefaultScreen(display_);
        current.width = static_cast<uint32_t>(DisplayWidth(display_, screen));
        current.height = static_cast<uint32_t>(DisplayHeight(display_, screen));
        current.frequency = 0;
        found = true;
    }
    if (lost_) {
        disconnect();
        return false;
    }
    current.bitsPerPixel = bitsPerPixel_;
    mode = current;
    return found;
}

}  // namespace pelmora
