#include "win32/TaskMessage.h"

#include <commctrl.h>

#include "platform/windows/WideText.h"

namespace pelmora {

namespace {

// Each text the task dialog gets is cut to this many UTF-16 units.
constexpr size_t kMaxTextUnits = 1024;

std::wstring messageText(const std::string& text)
{
    std::wstring wide = toWide(text);
    if (wide.size() > kMaxTextUnits) wide.resize(kMaxTextUnits);
    return wide;
}

using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// Releases the common-controls library the task dialog was taken from.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const wchar_t* name) : module_(::LoadLibraryW(name)) {}
    ~LoadedLibrary()
    {
        if (module_) ::FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

void setTaskIcon(TASKDIALOGCONFIG& config, int iconId)
{
    switch (iconId) {
        case kTaskIconWarning:
            config.pszMainIcon = TD_WARNING_ICON;
            break;
        case kTaskIconError:
            config.pszMainIcon = TD_ERROR_ICON;
            break;
        case kTaskIconInformation:
            config.pszMainIcon = TD_INFORMATION_ICON;
            break;
        case kTaskIconQuestion:
            // The task dialog has no question picture of its own.
            config.dwFlags |= TDF_USE_HICON_MAIN;
            config.hMainIcon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_QUESTION));
            break;
        default:
            break;  // no picture, as an unknown kind shows none elsewhere
    }
}

int showTitled(HWND owner, const std::string& title, const std::string& mainInstruction,
               const std::string& content, int buttonFlags, int iconId)
{
    const LoadedLibrary commonControls(L"comctl32.dll");
    if (!commonControls.get()) return kResultNone;
    const auto taskDialog = reinterpret_cast<TaskDialogIndirectFunction>(
        reinterpret_cast<void*>(::GetProcAddress(commonControls.get(), "TaskDialogIndirect")));
    if (!taskDialog) return kResultNone;

    const std::wstring wideTitle = messageText(title);
    const std::wstring wideInstruction = messageText(mainInstruction);
    const std::wstring wideContent = messageText(content);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwCommonButtons = static_cast<TASKDIALOG_COMMON_BUTTON_FLAGS>(buttonFlags);
    config.pszWindowTitle = wideTitle.c_str();
    config.pszMainInstruction = wideInstruction.c_str();
    config.pszContent = wideContent.c_str();
    setTaskIcon(config, iconId);
    int pressed = 0;
    if (FAILED(taskDialog(&config, &pressed, nullptr, nullptr))) return kResultNone;
    return titledMessageResult(pressed);
}

// A message box offers fixed sets of buttons: the set holding the most of
// the requested ones. Close is Abort here.
UINT plainButtons(int buttonFlags)
{
    const auto has = [buttonFlags](int flag) { return (buttonFlags & flag) != 0; };
    if (has(kTaskButtonYes) && has(kTaskButtonNo)) return has(kTaskButtonCancel) ? MB_YESNOCANCEL : MB_YESNO;
    if (has(kTaskButtonClose)) return MB_ABORTRETRYIGNORE;
    if (has(kTaskButtonRetry)) return MB_RETRYCANCEL;
    if (has(kTaskButtonOk) && has(kTaskButtonCancel)) return MB_OKCANCEL;
    return MB_OK;
}

UINT plainIcon(int iconId)
{
    switch (iconId) {
        case kTaskIconWarning:
            return MB_ICONWARNING;
        case kTaskIconQuestion:
            return MB_ICONQUESTION;
        case kTaskIconError:
            return MB_ICONERROR;
        case kTaskIconInformation:
            return MB_ICONINFORMATION;
        default:
            return 0;
    }
}

int showPlain(HWND owner, const std::string& content, int buttonFlags, int iconId)
{
    const char* caption = plainMessageCaption(iconId);
    const std::wstring wideCaption = toWide(caption ? caption : "Pelmora");
    const std::wstring wideContent = toWide(content);
    const int pressed = ::MessageBoxW(owner, wideContent.c_str(), wideCaption.c_str(),
                                      plainButtons(buttonFlags) | plainIcon(iconId));
    // Ignore stands for nothing the caller asked for: it counts as Cancel.
    return pressed == IDIGNORE ? kResultCancel : pressed;
}

}  // namespace

int ShowTaskMessage(HWND owner, const std::string& title, const std::string& mainInstruction,
                    const std::string& content, int buttonFlags, int iconId, const VersionInfo& version)
{
    if (version.version().majorVersion >= kTitledMessageMajorVersion)
        return showTitled(owner, title, mainInstruction, content, buttonFlags, iconId);
    return showPlain(owner, content, buttonFlags, iconId);
}

}  // namespace pelmora
