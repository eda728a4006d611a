// The notification-area icon's hint as the shell takes it, and which of the
// icon's events bring the widget back. Docking in a real tray is
// tests/windows/tray/test_tray.sh.
// clang-format off
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "win32/TrayIcon.h"

namespace pelmora {
namespace {

TEST(TrayIcon, HintIsCutToTheShellsLimitWithoutSplittingACharacter)
{
    EXPECT_EQ(notifyTipText("Pelmora"), L"Pelmora");
    EXPECT_EQ(notifyTipText(std::string(200, 'a')), std::wstring(127, L'a'));
    // U+1F600 takes units 127 and 128: it is left out whole.
    EXPECT_EQ(notifyTipText(std::string(126, 'a') + "\xF0\x9F\x98\x80"), std::wstring(126, L'a'));
    EXPECT_EQ(notifyTipText(std::string(125, 'a') + "\xF0\x9F\x98\x80").size(), 127u);
    EXPECT_EQ(notifyTipText("bad \xFF byte"), L"bad \xFFFD byte");
    EXPECT_EQ(notifyTipText(std::string("cut\0here", 8)), L"cut");
    EXPECT_EQ(notifyTipText(""), L"");
}

TEST(TrayIcon, OnlyADoubleClickOrEnterRestoresInEitherMessageLayout)
{
    int restores = 0;
    // Nothing is shown, so no window is needed.
    TrayIcon icon(nullptr, kTrayCallbackMessage, "Pelmora", [&restores] { ++restores; });
    const auto event = [&icon](UINT what, bool version4) {
        return icon.handleMessage(kTrayCallbackMessage, 0, version4 ? MAKELPARAM(what, 1) : what);
    };
    for (bool version4 : {false, true}) {
        SCOPED_TRACE(version4 ? "version 4" : "version 0");
        restores = 0;
        for (UINT single :
             {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT, WM_RBUTTONUP, WM_CONTEXTMENU, WM_MOUSEMOVE})
            EXPECT_TRUE(event(single, version4));
        EXPECT_EQ(restores, 0);
        EXPECT_TRUE(event(WM_LBUTTONDBLCLK, version4));
        EXPECT_TRUE(event(NIN_KEYSELECT, version4));
        EXPECT_EQ(restores, 2);
    }
    EXPECT_FALSE(icon.handleMessage(WM_USER, 0, WM_LBUTTONDBLCLK));
    // A restarted shell does not bring back an icon that is not meant to be shown.
    EXPECT_TRUE(icon.handleMessage(::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0));
    EXPECT_FALSE(icon.isShown());
}

}  // namespace
}  // namespace pelmora
