// pelmora: the widget. It takes no command line beyond --help and --version.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/CommandLine.h"
#include "app/DisplayChoice.h"
#include "app/Startup.h"
#include "app/ui/WidgetApplication.h"
#include "core/StartupTrace.h"
#include "platform/linux/LinuxVersionInfo.h"
#include "platform/linux/X11InstanceLocator.h"

int main(int argc, char** argv)
{
    pelmora::markStartup("main");
    if (argc > 1) {
        // Streams only here: the first stream builds the C++ library's locale
        // (every facet, narrow and wide), pages the running widget never needs.
        std::ostringstream out;
        std::ostringstream err;
        const auto status = pelmora::answerCommandLine(pelmora::argumentsOf(argc, argv), {},
                                                       pelmora::widgetCommandLineText(), out, err);
        std::fputs(out.str().c_str(), stdout);
        std::fputs(err.str().c_str(), stderr);
        if (status) return *status;
    }
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    switch (pelmora::chooseDisplay(std::getenv("DISPLAY"), wayland, std::getenv("QT_QPA_PLATFORM"))) {
        case pelmora::DisplayChoice::NoDisplay:
            std::fputs(pelmora::noDisplayMessage(wayland).c_str(), stderr);
            return 1;
        case pelmora::DisplayChoice::X11:
            qputenv("QT_QPA_PLATFORM", "xcb");
            break;
        case pelmora::DisplayChoice::AsSet:
            break;
    }
    // A frame repaints a few small boxes. Sent as plain images over the
    // socket they need no shared-memory segment, and no round trip to the
    // server before each paint to learn that the last one was taken.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
#ifdef __GLIBC__
    // A program that stays for days: decoded pictures and other large blocks
    // go back to the system when freed (a fixed threshold, not one that grows
    // with the largest block freed so far), and free memory at the top of the
    // heap is returned beyond 128 KiB.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    mallopt(M_ARENA_MAX, 2);
#endif

    // The widget follows the screen's scale (Xft.dpi, QT_SCALE_FACTOR), fractional ones included.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    pelmora::X11InstanceLocator instances;
    pelmora::LinuxVersionInfo version;
    pelmora::StartupActions actions;
    actions.showMessage = [&](const std::string& text) {
        QApplication app(argc, argv);
        QMessageBox box(QMessageBox::NoIcon, pelmora::kApplicationTitle, QString::fromStdString(text),
                        QMessageBox::Ok);
        box.exec();
    };
    actions.runWidget = [&] { return pelmora::runWidget(argc, argv); };
    return pelmora::runStartup(instances, version, actions);
}
