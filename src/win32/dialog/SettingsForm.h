#pragma once
// The settings dialog on Windows: the user picks up to two fixed drives, up
// to two network interfaces and the refresh speed; Apply validates and writes
// all seven settings at once (settings/SettingsChoices decides, as for every
// front end). Created anew on every opening, so its lists show the drives
// and interfaces of that moment.
#include <windows.h>

#include "net/TrafficList.h"
#include "platform/Drives.h"
#include "platform/ShellOpen.h"
#include "platform/VersionInfo.h"
#include "settings/DerivedDrives.h"
#include "settings/SettingsStore.h"

namespace pelmora {

// Shows the dialog modally over `owner` (may be null; the owner is disabled
// meanwhile) and returns when it closes: true when Apply wrote the settings,
// false for Cancel, the close button, or a dialog that could not be created.
// `current` holds the widget's current first and second drive, the defaults
// for the stored ones. Needs COM initialised on the calling thread.
bool ShowSettingsForm(HWND owner, SettingsStore& store, const CurrentDrives& current, Drives& drives,
                      const TrafficList& traffic, const VersionInfo& version, ShellOpen& shell);

}  // namespace pelmora
