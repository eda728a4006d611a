// pelmora.exe: the widget on Windows. It takes no command line beyond --help
// and --version.
// clang-format off
#include <windows.h>
#include <objidl.h>  // GDI+ needs it, and the lean windows.h leaves it out
#include <gdiplus.h>
// clang-format on

#include <iostream>

#include "app/CommandLine.h"
#include "app/ReadingsPlatform.h"
#include "app/Startup.h"
#include "platform/ConfigLocation.h"
#include "platform/windows/WideText.h"
#include "platform/windows/WindowsInstanceLocator.h"
#include "platform/windows/WindowsShellOpen.h"
#include "platform/windows/WindowsVersionInfo.h"
#include "win32/BackForm.h"
#include "win32/VantelMainForm.h"
#include "win32/Win32WindowPlacement.h"

namespace pelmora {

namespace {

void centreOnScreen(HWND window)
{
    RECT work{}, box{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(window, &box);
    const int left = work.left + (work.right - work.left - (box.right - box.left)) / 2;
    const int top = work.top + (work.bottom - work.top - (box.bottom - box.top)) / 2;
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int messageLoop()
{
    MSG message;
    BOOL got;
    while ((got = ::GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int runWidget()
{
    // WIC's decoders are COM objects; GDI+ draws the smooth shapes.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplus = 0;
    Gdiplus::GdiplusStartup(&gdiplus, &gdiplusInput, nullptr);
    int exitCode = 0;
    {
        const std::unique_ptr<ReadingsPlatform> platform = makeReadingsPlatform();
        WindowsShellOpen shellOpen;
        const std::filesystem::path placementFile = placementFilePath();
        VantelMainForm widget({platform->services(), platform->store(), shellOpen, placementFile});
        {
            // Created after the widget window; destroyed first.
            BackForm back;
            Win32WindowPlacement backPlacement(placementFile, kBackgroundWindowSection, true);
            backPlacement.setWindow(back.handle());
            centreOnScreen(back.handle());
            backPlacement.restore();
            moveOntoAMonitor(back.handle());
            widget.setBackForm(&back);
            // Saved after each drag too: the session can end without a close.
            back.onDragFinished([&] {
                widget.savePlacementWhileShown();
                backPlacement.saveWhileShown();
            });
            widget.FormShow();
            exitCode = messageLoop();
            backPlacement.saveOnDestroy();
        }
    }
    Gdiplus::GdiplusShutdown(gdiplus);
    if (SUCCEEDED(com)) ::CoUninitialize();
    return exitCode;
}

}  // namespace

}  // namespace pelmora

int main(int argc, char** argv)
{
    const pelmora::CommandLineText text = pelmora::widgetCommandLineText();
    if (const auto status =
            pelmora::answerCommandLine(pelmora::argumentsOf(argc, argv), {}, text, std::cout, std::cerr)) {
        return *status;
    }
    pelmora::WindowsInstanceLocator instances;
    pelmora::WindowsVersionInfo version;
    pelmora::StartupActions actions;
    actions.showMessage = [](const std::string& message) {
        ::MessageBoxW(nullptr, pelmora::toWide(message).c_str(),
                      pelmora::toWide(pelmora::kApplicationTitle).c_str(), MB_OK);
    };
    actions.runWidget = [] { return pelmora::runWidget(); };
    return pelmora::runStartup(instances, version, actions);
}
