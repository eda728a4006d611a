// pelmora: the widget. It takes no command line.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/Startup.h"
#include "app/ui/WidgetApplication.h"
#include "platform/linux/LinuxVersionInfo.h"
#include "platform/linux/X11InstanceLocator.h"

namespace {

bool haveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    return (display && *display) || (platform && *platform);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!haveDisplay()) {
        std::fputs("pelmora: no X display to show the widget on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    // The layout is in device pixels: no scaling for the screen's pixels per inch.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
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
