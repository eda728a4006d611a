#pragma once
// A settings dialog on fakes, for the widget tests.
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <memory>
#include <string>

#include "net/fakes/FakeTrafficList.h"
#include "platform/fakes/FakeDrives.h"
#include "platform/fakes/FakeShellOpen.h"
#include "platform/fakes/FakeVersionInfo.h"
#include "settings/RegFileSettingsStore.h"
#include "shell/dialog/SettingsForm.h"

namespace pelmora {

inline constexpr const char* kMissing = "<missing>";

// Everything a dialog needs, with fixed drives C and D, a removable E and
// four interfaces.
struct DialogRig {
    DialogRig()
    {
        drives.add('C', drive(45097156608, 120034123776));
        drives.add('D', drive(1048576, 4194304));
        FakeDrives::Drive removable = drive(1, 2);
        removable.type = kDriveRemovable;
        drives.add('E', removable);
        for (const char* name : {"eth0", "eth1", "wlan0", "wlan1"}) traffic.add(name, "10.0.0.1");
    }

    static FakeDrives::Drive drive(uint64_t freeBytes, uint64_t totalBytes)
    {
        FakeDrives::Drive d;
        d.freeBytes = freeBytes;
        d.totalBytes = totalBytes;
        return d;
    }

    void store(const std::map<std::string, std::string>& values)
    {
        QVERIFY(settings.open());
        for (const auto& [name, value] : values) settings.WriteString(name, value);
        settings.close();
    }

    std::string stored(const std::string& name)
    {
        settings.open();
        const std::string value = settings.ReadString(name, kMissing);
        settings.close();
        return value;
    }

    TSettingsForm& open()
    {
        const CurrentDrives current = deriveDrives("", "", 2, drives);
        form = std::make_unique<TSettingsForm>(nullptr, settings, current, drives, traffic, version, shell);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) qWarning("dialog not exposed");
        return *form;
    }

    QTemporaryDir dir;
    RegFileSettingsStore settings{dir.filePath("Talvessa.reg").toStdString()};
    FakeDrives drives;
    FakeTrafficList traffic;
    FakeVersionInfo version{{2, 6}};
    FakeShellOpen shell;
    std::unique_ptr<TSettingsForm> form;
};

}  // namespace pelmora
