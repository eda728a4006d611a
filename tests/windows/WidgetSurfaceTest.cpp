// The widget window's controls drawn by the Win32 front end: the pixels
// every front end must draw alike (tests/fixtures/pixels/control-probes.txt,
// also checked against the Qt widget), the embedded pictures decoded with
// their transparency, and labels that fit their text or keep their box.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/windows/WideText.h"
#include "win32/LayoutFonts.h"
#include "win32/ResourcePictures.h"
#include "win32/StaticItems.h"
#include "win32/WidgetSurface.h"
#include "win32/Win32Label.h"

namespace pelmora {
namespace {

class GdiplusSession : public ::testing::Environment {
public:
    void SetUp() override
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    void TearDown() override
    {
        Gdiplus::GdiplusShutdown(token_);
        ::CoUninitialize();
    }

private:
    ULONG_PTR token_ = 0;
};
const auto* const kSession = ::testing::AddGlobalTestEnvironment(new GdiplusSession);

class NoRepaint : public SurfaceRepaint {
public:
    void repaintLater(const RECT& box) override { last = box; }
    RECT last{};
};

// The readings of the Qt pixel tests (tests/widgets/SettledPixelsTest.cpp).
void showReadings(WidgetControls& c)
{
    c.lblCPU_ID->setText("Test CPU @ 2400 MHz");
    c.lblCPU->setText("37%");
    c.CPU1->setValue(37.5);
    c.CPU->setPosition(37);
    c.Core1->setPosition(12);
    c.Core2->setPosition(88);
    c.Core3->setPosition(63);
    c.Core4->setPosition(5);
    c.Phys->setPosition(71);
    c.lblPhys->setText("29% free");
    c.Virt->setPosition(3);
    c.Drive1->setPosition(54);
    c.lblDrive1Free->setText("46% free");
    c.Drive2->setPosition(96);
    c.LAN1->setPosition(18);
    c.LAN2->setPosition(0);
    c.lblUpTime->setText("3 Days, 4 Hours, 5 Minutes");
    c.lblRes->setText("1920x1080 @ 60 Hz");
}

// PELMORA_WRITE_PIXELS=<folder> saves what was drawn (a PPM picture).
void save(const DibCanvas& canvas, const char* name)
{
    const char* folder = std::getenv("PELMORA_WRITE_PIXELS");
    if (!folder) return;
    std::ofstream out(std::string(folder) + "/" + name, std::ios::binary);
    out << "P6\n" << canvas.width() << " " << canvas.height() << "\n255\n";
    for (int i = 0; i < canvas.width() * canvas.height(); ++i) {
        const uint32_t pixel = canvas.bits()[i];
        const char rgb[] = {static_cast<char>(pixel >> 16), static_cast<char>(pixel >> 8),
                            static_cast<char>(pixel)};
        out.write(rgb, 3);
    }
}

uint32_t rgbAt(const DibCanvas& canvas, int x, int y)
{
    return canvas.bits()[y * canvas.width() + x] & 0xffffff;
}

TEST(WidgetSurface, SettledControlsDrawThePixelsEveryFrontEndShares)
{
    NoRepaint repaint;
    int64_t nowMs = 0;
    WidgetSurface surface(repaint, [&nowMs] { return nowMs; });
    showReadings(surface.controls());
    nowMs = 60000;  // every glide has arrived
    surface.clock().catchUp();
    DibCanvas canvas(587, 352);
    surface.paint(canvas.dc(), {0, 0, 587, 352});
    ::GdiFlush();
    save(canvas, "settled-widget-win32.ppm");

    std::ifstream probes(PELMORA_FIXTURES "/pixels/control-probes.txt");
    ASSERT_TRUE(probes) << "no probe file";
    std::string line;
    int checked = 0;
    while (std::getline(probes, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int x, y, red, green, blue;
        fields >> x >> y >> red >> green >> blue;
        std::string what;
        std::getline(fields, what);
        EXPECT_EQ(rgbAt(canvas, x, y), static_cast<uint32_t>(red << 16 | green << 8 | blue))
            << "at " << x << "," << y << ":" << what;
        ++checked;
    }
    EXPECT_GT(checked, 10);
    // The body picture is drawn beneath the controls, not the colour key.
    EXPECT_NE(rgbAt(canvas, 300, 150), 0x0080ffu);
    // An icon's reflection fades below it: drawn, but fainter than the icon.
    EXPECT_NE(rgbAt(canvas, 67, 150), rgbAt(canvas, 67, 100));
}

TEST(WidgetSurface, PicturesDecodeWithTheirTransparency)
{
    const Picture body = loadResourcePicture("body.jpg");
    ASSERT_EQ(body.width, 559);
    EXPECT_EQ(body.at(10, 10) >> 24, 255u);  // a photo is opaque
    const Picture backdrop = loadResourcePicture("MAINFORM");
    ASSERT_EQ(backdrop.width, 587);
    ASSERT_EQ(backdrop.height, 352);
    EXPECT_EQ(backdrop.at(0, 0) >> 24, 0u);      // the rounded corner lets clicks through
    EXPECT_GT(backdrop.at(293, 176) >> 24, 0u);  // the middle takes them
    EXPECT_TRUE(loadResourcePicture("no-such-picture.png").isNull());
    // The title buttons' magenta is keyed out, nothing else.
    const Picture keyed = keyedOut(loadResourcePicture("btn-close.png"), ButtonItem::kTransparentRgb);
    ASSERT_EQ(keyed.width, 22);
    EXPECT_EQ(keyed.at(0, 0), 0u);
    EXPECT_EQ(keyed.at(11, 11) >> 24, 255u);
}

TEST(WidgetSurface, LabelsFitTheirTextOrKeepTheirFixedBox)
{
    NoRepaint repaint;
    LayoutFonts fonts;
    const layout::ControlRow& fitting = layout::controlRow("Label1");  // right-aligned, fits its text
    const layout::LabelDesign& linkDesign = *fitting.as<layout::LabelDesign>();
    Win32Label link(fitting.name, rectOf(443, 324, 124, 14), linkDesign, fonts.fontFor(linkDesign.font()),
                    repaint);
    const RECT before = link.bounds();
    EXPECT_EQ(before.right, 567);  // the right edge stays
    link.setText("View");
    EXPECT_EQ(link.bounds().right, 567);
    EXPECT_LT(link.bounds().left - before.left, 200);
    EXPECT_GT(link.bounds().left, before.left);

    const layout::ControlRow& fixed = layout::controlRow("lblDrive1");
    const layout::LabelDesign& driveDesign = *fixed.as<layout::LabelDesign>();
    Win32Label drive(fixed.name, rectOf(117, 158, 140, 14), driveDesign, fonts.fontFor(driveDesign.font()),
                     repaint);
    drive.setText("Drive C: (SYSTEM) [232.88 GB]");
    EXPECT_EQ(drive.bounds().right - drive.bounds().left, 140);
    // The longest reading the fixed box must hold fits its face (docs/fonts.md).
    EXPECT_LE(drive.textWidth(), 140) << toUtf8(layoutFace("Myriad Pro"));
}

}  // namespace
}  // namespace pelmora

namespace pelmora {
namespace {

TEST(WidgetSurface, AScaledMonitorRepeatsPixelsAndKeepsTheColourKeyExact)
{
    DibCanvas layout(2, 1);
    layout.bits()[0] = 0x000080ff;  // the colour key
    layout.bits()[1] = 0xff123456;
    const DibCanvas scaled = scaledCanvas(std::move(layout), 1.5);
    ASSERT_EQ(scaled.width(), 3);
    ASSERT_EQ(scaled.height(), 2);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(scaled.bits()[y * 3 + 0], 0x000080ffu);
        EXPECT_EQ(scaled.bits()[y * 3 + 1], 0x000080ffu);  // 1 / 1.5 still lies in the first pixel
        EXPECT_EQ(scaled.bits()[y * 3 + 2], 0xff123456u);
    }
}

}  // namespace
}  // namespace pelmora
