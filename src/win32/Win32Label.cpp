#include "win32/Win32Label.h"

#include <cmath>

#include "platform/windows/WideText.h"

namespace pelmora {

Win32Label::Win32Label(const char* name, const RECT& box, const layout::LabelDesign& design,
                       const LayoutFont& font, SurfaceRepaint& repaint)
    : SurfaceItem(name, box),
      design_(design),
      repaint_(repaint),
      font_(font),
      text_(design.text),
      wideText_(toWide(text_))
{
    placeGlyphs();
    fitToText();
}

Win32Label::~Win32Label() = default;

void Win32Label::placeGlyphs()
{
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(screen, font_.natural());
    const int length = static_cast<int>(wideText_.size());
    std::vector<INT> ends(wideText_.size());
    SIZE size{};
    ::GetTextExtentExPointW(screen, wideText_.c_str(), length, 0, nullptr, ends.data(), &size);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(screen, &metrics);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);

    const double share = font_.widthShare();
    advances_.assign(wideText_.size(), 0);
    long placed = 0;
    for (size_t i = 0; i < ends.size(); ++i) {
        const long end = std::lround(ends[i] * share);
        advances_[i] = static_cast<INT>(end - placed);
        placed = end;
    }
    textWidth_ = static_cast<int>(placed);
    lineHeight_ = metrics.tmHeight;  // also for an empty text
}

void Win32Label::fitToText()
{
    if (design_.fixedBox) return;
    if (design_.alignment == TextAlignment::Right) {
        box_.left = box_.right - textWidth_;
    } else {
        box_.right = box_.left + textWidth_;
    }
    box_.bottom = box_.top + lineHeight_;
}

void Win32Label::setText(const std::string& text)
{
    if (text == text_) return;
    const RECT before = box_;
    text_ = text;
    wideText_ = toWide(text);
    placeGlyphs();
    fitToText();
    if (!visible_) return;
    repaint_.repaintLater(before);
    repaint_.repaintLater(box_);
}

void Win32Label::setVisible(bool visible)
{
    if (visible == visible_) return;
    visible_ = visible;
    repaint_.repaintLater(box_);
}

void Win32Label::paint(HDC dc, Gdiplus::Graphics&)
{
    if (wideText_.empty()) return;
    int left = box_.left;
    const int room = box_.right - box_.left;
    if (design_.alignment == TextAlignment::Right) left = box_.right - textWidth_;
    if (design_.alignment == TextAlignment::Centre) left = box_.left + (room - textWidth_) / 2;
    HGDIOBJ previous = ::SelectObject(dc, font_.drawn());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    // Whatever does not fit a fixed box is cut off at its edges.
    ::ExtTextOutW(dc, left, box_.top, ETO_CLIPPED, &box_, wideText_.c_str(),
                  static_cast<UINT>(wideText_.size()), advances_.data());
    ::SelectObject(dc, previous);
}

}  // namespace pelmora
