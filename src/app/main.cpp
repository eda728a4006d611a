// pelmora: the widget. It takes no command line.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

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
