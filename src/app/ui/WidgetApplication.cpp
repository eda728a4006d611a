#include "app/ui/WidgetApplication.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <memory>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/Startup.h"
#include "app/ui/QtShellOpen.h"
#include "app/ui/QtWindowPlacement.h"
#include "app/ui/TerminationSignals.h"
#include "app/ui/VantelMainForm.h"
#include "app/ui/X11WindowTools.h"
#include "core/StartupTrace.h"
#include "platform/ConfigLocation.h"
#include "platform/linux/LinuxServices.h"
#include "settings/PlacementFile.h"
#include "settings/RegFileSettingsStore.h"
#include "shell/BackForm.h"
#include "shell/FontSubstitutions.h"
#include "shell/ResourcePicture.h"
#include "shell/WidgetLayout.h"

namespace pelmora {

namespace {

constexpr int kReturnStartupMemoryMs = 3000;

void centreOnScreen(QWidget& window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
}

}  // namespace

int runWidget(int& argc, char** argv)
{
    markStartup("instance and platform checked");
    QApplication app(argc, argv);
    markStartup("Qt application");
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setQuitOnLastWindowClosed(false);
    // Decoded on the second processor while the faces are loaded and the
    // widget is built; the backdrop's picture, the largest, is needed last.
    auto picturesAhead = std::make_unique<PicturesDecodedAhead>(
        WidgetLayout::pictureAliases() << BackForm::pictureAlias(), app.devicePixelRatio());
    installFontSubstitutions();

    LinuxServices linux;
    RegFileSettingsStore store(settingsFilePath());
    QtShellOpen shellOpen;

    VantelMainForm widget({linux.services(), store, shellOpen, placementFilePath()});
    centreOnScreen(widget);
    markStartup("widget created");
    {
        // Created after the widget window, visible from creation; destroyed first.
        BackForm back;
        picturesAhead.reset();  // each picture has been handed over
        back.winId();
        x11::setWindowClass(back.windowHandle(), "pelmora", kBackWindowClass);
        back.setDeviceShapeHandler([&back](const QRegion& devicePixels) {
            return x11::setShape(back.windowHandle(), devicePixels);
        });
        // Painted once: the X server keeps its pixels, not a backing store here.
        back.setPixelKeeper([&back](const QImage& devicePixels) {
            return x11::setBackgroundPixels(back.windowHandle(), devicePixels);
        });
        back.setWindowTitle(kApplicationTitle);  // its entry in task lists when iconified
        QtWindowPlacement backPlacement(back, placementFilePath(), kBackgroundWindowSection, true);
        centreOnScreen(back);
        backPlacement.restore();
        moveOntoAMonitor(back);
        back.show();
        widget.setBackForm(&back);
        widget.show();
        markStartup("both windows shown");
        // What start-up decoded, measured and laid out is freed by now; hand
        // the pages back instead of keeping them for a peak that never returns,
        // and let go of the decoded pictures' bytes in the program.
        QTimer::singleShot(kReturnStartupMemoryMs, [] {
#ifdef __GLIBC__
            malloc_trim(0);
#endif
            releaseDecodedPictureBytes();
        });

        // The placement is saved on closing; it is saved also where the
        // session can end without a close: after each drag (an X server
        // that goes away ends the program at once), when the session manager
        // asks for the program's data, and on SIGTERM and SIGHUP, which close
        // the widget as its menu does.
        const auto saveWhileShown = [&] {
            widget.savePlacementWhileShown();
            backPlacement.saveWhileShown();
        };
        QObject::connect(&back, &BackForm::dragFinished, &app, saveWhileShown);
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, saveWhileShown);
        TerminationSignals terminationSignals;
        QObject::connect(&terminationSignals, &TerminationSignals::received, &widget, &QWidget::close);

        const int exitCode = app.exec();
        backPlacement.saveOnDestroy();
        if (exitCode != 0) return exitCode;
    }
    return 0;
}

}  // namespace pelmora
