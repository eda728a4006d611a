#pragma once
// The numbers through which the settings dialog asks for a message and
// learns the answer, the same for every front end: common-button flags, icon
// identifiers and modal results, and the rules that turn what a message
// window reports into a modal result.
namespace pelmora {

// Common-button flags, combined with |.
enum TaskMessageButton : int {
    kTaskButtonOk = 1,
    kTaskButtonYes = 2,
    kTaskButtonNo = 4,
    kTaskButtonCancel = 8,
    kTaskButtonRetry = 16,
    kTaskButtonClose = 32,  // an Abort button on older systems
};

enum TaskMessageIcon : int {
    kTaskIconWarning = 101,
    kTaskIconQuestion = 102,
    kTaskIconError = 103,
    kTaskIconInformation = 104,
};

// Modal results.
enum TaskMessageResult : int {
    kResultNone = 0,  // nothing could be shown
    kResultOk = 1,
    kResultCancel = 2,
    kResultAbort = 3,
    kResultRetry = 4,
    kResultYes = 6,
    kResultNo = 7,
};

// Newer systems show a titled message (title, main instruction, content);
// older ones a plain box with the content only.
inline constexpr unsigned kTitledMessageMajorVersion = 6;

// What a titled message reports for its Close button.
inline constexpr int kTitledButtonClose = 8;

// The button a titled message reports (the system's identifiers: 1 OK,
// 2 Cancel, 4 Retry, 6 Yes, 7 No, 8 Close) as a modal result: Close is 3,
// anything unknown 1.
constexpr int titledMessageResult(int pressedButton)
{
    switch (pressedButton) {
        case kResultCancel:
        case kResultRetry:
        case kResultYes:
        case kResultNo:
            return pressedButton;
        case kTitledButtonClose:
            return kResultAbort;
        default:
            return kResultOk;
    }
}

// The caption of the plain box follows its kind, as the older systems do;
// nullptr for an icon it does not know (the caller shows the program's name).
constexpr const char* plainMessageCaption(int iconId)
{
    switch (iconId) {
        case kTaskIconWarning:
            return "Warning";
        case kTaskIconQuestion:
            return "Confirm";
        case kTaskIconError:
            return "Error";
        case kTaskIconInformation:
            return "Information";
        default:
            return nullptr;
    }
}

}  // namespace pelmora
