#pragma once
// The one routine through which the settings dialog explains a refused
// choice, on Windows: a task dialog (window title, main instruction and
// content) on systems of major version 6 and later, a plain message box with
// the content only before them. Flags, icons and results:
// core/TaskMessageCodes.h.
#include <windows.h>

#include <string>

#include "core/TaskMessageCodes.h"
#include "platform/VersionInfo.h"

namespace pelmora {

// Modal over `owner` (may be null). Titled: Cancel 2, Retry 4, Yes 6, No 7,
// Close 3, anything else 1; 0 when the task dialog cannot be loaded, and
// nothing is shown then. Plain: the box's own result (OK 1, Cancel 2,
// Abort 3, Retry 4, Yes 6, No 7).
int ShowTaskMessage(HWND owner, const std::string& title, const std::string& mainInstruction,
                    const std::string& content, int buttonFlags, int iconId, const VersionInfo& version);

}  // namespace pelmora
