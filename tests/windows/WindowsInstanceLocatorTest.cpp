// The running-instance lookup finds a top-level window by its class, shown
// or hidden.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/Startup.h"
#include "platform/windows/WindowsInstanceLocator.h"

namespace pelmora {
namespace {

class TestWindowClass {
public:
    explicit TestWindowClass(const char* name) : name_(name)
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = name_;
        atom_ = ::RegisterClassA(&windowClass);
    }
    ~TestWindowClass()
    {
        if (atom_) ::UnregisterClassA(name_, ::GetModuleHandleA(nullptr));
    }
    TestWindowClass(const TestWindowClass&) = delete;
    TestWindowClass& operator=(const TestWindowClass&) = delete;
    bool registered() const { return atom_ != 0; }

private:
    const char* name_;
    ATOM atom_ = 0;
};

TEST(WindowsInstanceLocator, FindsAHiddenTopLevelWindowOfTheClassWhateverItsTitle)
{
    WindowsInstanceLocator locator;
    ASSERT_EQ(locator.findWindow(kMainWindowClass), 0u);

    TestWindowClass windowClass(kMainWindowClass);
    ASSERT_TRUE(windowClass.registered());
    const HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, kMainWindowClass, "any title", WS_POPUP, 0, 0, 10,
                                          10, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(locator.findWindow(kMainWindowClass), reinterpret_cast<WindowHandle>(window));
    EXPECT_EQ(locator.findWindow(kBackWindowClass), 0u);
    locator.setForegroundWindow(reinterpret_cast<WindowHandle>(window));
    locator.setForegroundWindow(0);  // nothing found: no request

    ::DestroyWindow(window);
    EXPECT_EQ(locator.findWindow(kMainWindowClass), 0u);
}

}  // namespace
}  // namespace pelmora
