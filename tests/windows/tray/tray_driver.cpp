// Shows the notification-area icon over a hidden window and logs, one line
// each, what reaches that window, for test_tray.sh:
//
//   pelmora_tray_driver.exe LOG        "shown 1" (or 0), "event 0x..." for each
//                                      callback, "taskbar-created", "restore N".
//                                      The first restore drops the icon from the
//                                      shell behind the icon's back, as a shell
//                                      restart does ("dropped"); the second ends
//                                      the program ("exit"), exit code 0.
//   pelmora_tray_driver.exe --taskbar-created
//                                      broadcasts "TaskbarCreated" as a
//                                      restarted shell does.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>
#include <memory>
#include <string>

#include "app/Startup.h"
#include "win32/TrayIcon.h"

namespace {

std::string logPath;
std::unique_ptr<pelmora::TrayIcon> tray;
int restores = 0;

void logLine(const std::string& line)
{
    if (FILE* file = std::fopen(logPath.c_str(), "ab")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

void restore(HWND window)
{
    logLine("restore " + std::to_string(++restores));
    if (restores == 1) {
        // The icon's identity as TrayIcon gives it: the owner window and id 1.
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = window;
        data.uID = 1;
        logLine(::Shell_NotifyIconW(NIM_DELETE, &data) ? "dropped" : "drop failed");
    } else {
        logLine("exit");
        // Not from inside the icon's own handler: the window's end destroys the icon.
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    if (message == pelmora::kTrayCallbackMessage) {
        char text[32];
        std::snprintf(text, sizeof text, "event 0x%04x", static_cast<unsigned>(LOWORD(lParam)));
        logLine(text);
    } else if (message == taskbarCreated) {
        logLine("taskbar-created");
    }
    if (tray && tray->handleMessage(message, wParam, lParam)) return 0;
    if (message == WM_DESTROY) {
        tray.reset();
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: pelmora_tray_driver LOG | --taskbar-created\n");
        return 2;
    }
    if (std::string(argv[1]) == "--taskbar-created") {
        DWORD_PTR result = 0;
        return ::SendMessageTimeoutW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0,
                                     SMTO_ABORTIFHUNG, 5000, &result)
                   ? 0
                   : 1;
    }
    logPath = argv[1];

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PelmoraTrayDriver";
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Pelmora tray driver", WS_OVERLAPPED, 0, 0,
                                    100, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) return 1;
    tray = std::make_unique<pelmora::TrayIcon>(window, pelmora::kTrayCallbackMessage,
                                               pelmora::kApplicationTitle, [window] { restore(window); });
    logLine(tray->show() ? "shown 1" : "shown 0");

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
