#pragma once
// The screen mode of the primary output, asked of the X server through XRandR.
#include <string>

#include "platform/SystemStatus.h"

struct _XDisplay;

namespace pelmora {

// Refresh rate in Hz of a mode from its pixel clock and totals, rounded to
// the nearest whole number (halves to even); 0 when the totals are unknown.
uint32_t modeRefreshHz(unsigned long dotClock, unsigned hTotal, unsigned vTotal, bool interlaced,
                       bool doubleScan);

// The connection opens on the first query and stays open. Without $DISPLAY,
// or when the server cannot be reached, a query fails; a lost server closes
// the connection instead of ending the program, and the next query connects
// again. X protocol errors during a query make it fail. The mode is asked of
// the server once, and again only after the server reports a change of the
// screen, its outputs or their modes.
class LinuxDisplay : public Display {
public:
    // An empty name means $DISPLAY.
    explicit LinuxDisplay(std::string displayName = {});
    ~LinuxDisplay() override;
    LinuxDisplay(const LinuxDisplay&) = delete;
    LinuxDisplay& operator=(const LinuxDisplay&) = delete;

    // Width and height of the primary output's current mode (or, when no
    // output is marked primary, of the first lit one; without XRandR, of the
    // screen), its refresh rate (0 when unknown) and the bits per pixel of
    // the root window's depth as the server stores it (depth 24 keeps 32).
    bool currentMode(DisplayMode& mode) override;

private:
    bool connect();
    void disconnect();
    bool queryOutputs(DisplayMode& mode);
    bool screenChanged();

    std::string name_;
    _XDisplay* display_ = nullptr;
    bool randr_ = false;
    uint32_t bitsPerPixel_ = 0;
    bool lost_ = false;
    bool known_ = false;  // knownMode_ stands until the server reports a change
    DisplayMode knownMode_{};
};

}  // namespace pelmora
