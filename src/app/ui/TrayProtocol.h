#pragma once
// Which kind of notification area the tray icon lives in, and which of its
// activations bring the widget back. An XEmbed tray reports single and double
// clicks; a tray of the D-Bus item protocol (the panels of Xfce, KDE Plasma,
// GNOME's tray extension) only ever reports activations, a double-click
// arriving as two of them.
#include <QSystemTrayIcon>

namespace pelmora {

enum class TrayProtocol { XEmbed, StatusNotifierItem };

// The protocol Qt's tray icon takes when it is created now: the D-Bus one
// when a host is registered with the session's status-notifier watcher.
TrayProtocol currentTrayProtocol();

bool trayActivationRestores(TrayProtocol protocol, QSystemTrayIcon::ActivationReason reason);

}  // namespace pelmora
