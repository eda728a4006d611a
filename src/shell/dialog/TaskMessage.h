#pragma once
// The one routine through which the settings dialog explains a refused
// choice. Newer systems show a titled message (window title, a prominent main
// instruction and the content); older ones a plain message box with the
// content only.
#include <QString>

#include "core/TaskMessageCodes.h"
#include "platform/VersionInfo.h"

class QWidget;

namespace pelmora {

// Shows the message modally over `owner` and returns the pressed button as a
// modal result: on newer systems Cancel 2, Retry 4, Yes 6, No 7, Close 3 and
// anything else 1; on older ones OK 1, Cancel 2, Abort 3, Retry 4, Yes 6, No 7.
// Without a running QApplication nothing can be shown: 0.
int ShowTaskMessage(QWidget* owner, const QString& title, const QString& mainInstruction,
                    const QString& content, int buttonFlags, int iconId, const VersionInfo& version);

}  // namespace pelmora
