#pragma once
// Everything of the settings dialog that is not a common control, painted
// into one off-screen picture: the frame (title bar, its two buttons, the
// black border), the gradient body, the raised panel, the three sections
// with their captions, labels and pictures, and the two push buttons. The
// dialog shows it and hands it to the trackbar as its background.
#include <windows.h>

#include <array>

#include "core/LayoutTable.h"
#include "win32/Picture.h"

namespace pelmora {

// The parts of the surface that answer the mouse.
enum class FormButton { None, SystemMenu, Close, Apply, Cancel };

struct FormButtonState {
    FormButton hovered = FormButton::None;
    FormButton pressed = FormButton::None;
};

class FormSurface {
public:
    // Decodes the section pictures and makes the fonts. COM and GDI+ must be
    // running on the thread.
    FormSurface();
    ~FormSurface();
    FormSurface(const FormSurface&) = delete;
    FormSurface& operator=(const FormSurface&) = delete;

    // Paints the whole surface with the buttons in `state`.
    void paint(FormButtonState state);
    const DibCanvas& canvas() const { return canvas_; }

    // Where each control sits in the dialog's client area.
    static RECT clientRect(layout::Box box, POINT parentOrigin);
    static POINT backPanelOrigin();
    static POINT sectionOrigin(layout::Box section);
    static RECT buttonRect(FormButton button);
    // The button under a client point, None when there is none.
    static FormButton buttonAt(POINT client);

    HFONT controlFont() const { return controlFont_; }

private:
    void paintFrame(FormButtonState state);
    void paintBody();
    void paintSections();
    void paintTexts();
    void paintPushButtons(FormButtonState state);

    DibCanvas canvas_;
    std::array<Picture, 3> sectionPictures_;  // bolt, disk, globe
    HFONT dialogFont_ = nullptr;
    HFONT captionFont_ = nullptr;
    HFONT titleFont_ = nullptr;
    HFONT controlFont_ = nullptr;
    HFONT italicFont_ = nullptr;
};

}  // namespace pelmora
