#include "app/ui/VantelMainForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QWindow>

#include "app/Startup.h"
#include "app/ui/X11WindowTools.h"
#include "core/StartupTrace.h"
#include "settings/PlacementFile.h"
#include "shell/BackForm.h"
#include "shell/LocaleSeparators.h"
#include "shell/ResourcePicture.h"
#include "shell/WidgetLayout.h"
#include "shell/dialog/SettingsForm.h"

namespace pelmora {

VantelMainForm::VantelMainForm(const Dependencies& dependencies)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint),
      deps_(dependencies),
      layout_(new WidgetLayout(this)),
      placement_(*this, dependencies.placementFile, kMainWindowSection, false)
{
    markStartup("layout built");
    setWindowTitle(kApplicationTitle);
    setFixedSize(layout_->size());
    setAttribute(Qt::WA_QuitOnClose, false);  // closing ends the loop explicitly, see closeEvent
    winId();
    x11::setWindowClass(windowHandle(), "pelmora", kMainWindowClass);
    layout_->setDeviceShapeHandler(
        [this](const QRegion& devicePixels) { return x11::setShape(windowHandle(), devicePixels); });
    connectLayout();
    createPopupMenu();
    // The icon, and the session bus asked which tray protocol is spoken, wait
    // until the window is on screen: at its first exposure, or at the latest
    // after a moment for a window that is never exposed (covered whole).
    QTimer::singleShot(kTrayIconLatestMs, this, &VantelMainForm::createTrayIcon);
    foregroundRequests_ = std::make_unique<ForegroundRequests>(windowHandle(), [this] { comeBack(); });

    connect(&refreshTimer_.timer(), &QTimer::timeout, this, &VantelMainForm::RefreshTimerTimer);
    stayOnTopTimer_.setSingleShot(true);
    stayOnTopTimer_.setInterval(10);
    connect(&stayOnTopTimer_, &QTimer::timeout, this, &VantelMainForm::StayOnTopTimerTimer);
    stayOnTopTimer_.start();
    stackingCheck_.setInterval(50);
    connect(&stackingCheck_, &QTimer::timeout, this, &VantelMainForm::checkStacking);

    // Creation, in order: the monitor thread, the processor label, the first refresh.
    readings_ = std::make_unique<ReadingsEngine>(deps_.services, deps_.store, layout_->controls(),
                                                 refreshTimer_, qtLocaleNumberSeparators);
    readings_->showProcessorNameAndClock();
    markStartup("processor name and clock");
    RefreshTimerTimer();
    markStartup("first refresh");
    // Cut once the first refresh has set the texts: one full cut, not a
    // cut of the design's texts and a second of every label that changed.
    layout_->setColourKeyed(true);
    markStartup("shape cut");
}

VantelMainForm::~VantelMainForm()
{
    refreshTimer_.setEnabled(false);
    readings_.reset();  // stops the monitor thread and waits for it
    if (trayIcon_) trayIcon_->hide();
    placement_.saveOnDestroy();  // only when not saved on closing (the session ended)
}

void VantelMainForm::setBackForm(BackForm* backForm)
{
    backForm_ = backForm;
    backForm_->setWidgetWindow(this);
    backForm_->installEventFilter(this);
    windowHandle()->installEventFilter(this);
    backForm_->windowHandle()->installEventFilter(this);
    // Keeps the widget above its backdrop under the window manager.
    windowHandle()->setTransientParent(backForm_->windowHandle());
    watchMonitors();
}

void VantelMainForm::watchMonitors()
{
    auto watch = [this](QScreen* screen) {
        connect(screen, &QScreen::availableGeometryChanged, this, &VantelMainForm::keepOnAMonitor);
    };
    for (QScreen* screen : QGuiApplication::screens()) watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen* screen) {
        watch(screen);
        keepOnAMonitor();
    });
    // Qt moves the windows of a removed screen itself, but not necessarily wholly onto another.
    connect(qGuiApp, &QGuiApplication::screenRemoved, this,
            [this] { QTimer::singleShot(0, this, &VantelMainForm::keepOnAMonitor); });
}

void VantelMainForm::keepOnAMonitor()
{
    if (!backForm_) return;
    moveOntoAMonitor(*backForm_);
    standOnBackForm();
}

void VantelMainForm::standOnBackForm()
{
    // Placed by its own area (setGeometry), not its frame (move): a reparenting
    // window manager may report a title bar for a frameless window while it maps
    // it again, and a frame-inclusive move would leave the widget that far below.
    setGeometry(QRect(backForm_->geometry().topLeft(), size()));
}

void VantelMainForm::connectLayout()
{
    connect(layout_, &WidgetLayout::settingsClicked, this, &VantelMainForm::imgSettingsClick);
    connect(layout_, &WidgetLayout::linkClicked, this, &VantelMainForm::Image1Click);
    connect(layout_, &WidgetLayout::minimizeClicked, this, &VantelMainForm::btnMinimizeClick);
    connect(layout_, &WidgetLayout::closeClicked, this, &VantelMainForm::btnCloseClick);
    connect(layout_, &WidgetLayout::bodyContextMenuRequested, this,
            [this](QPoint globalPos) { popupMenu_.popup(globalPos); });
    // Presses on the window's own surface drag both windows.
    connect(layout_, &WidgetLayout::surfaceMousePressed, this, [this](Qt::MouseButton b, QPoint c, QPoint g) {
        if (backForm_) backForm_->formMouseDown(b, c, g);
    });
    connect(layout_, &WidgetLayout::surfaceMouseMoved, this, [this](QPoint c, QPoint g) {
        if (backForm_) backForm_->formMouseMove(c, g);
    });
    connect(layout_, &WidgetLayout::surfaceMouseReleased, this,
            [this](Qt::MouseButton b, QPoint c, QPoint g) {
                if (backForm_) backForm_->formMouseUp(b, c, g);
            });
}

void VantelMainForm::createPopupMenu()
{
    stayOnTopAction_ = popupMenu_.addAction(tr("&Stay on top"));
    stayOnTopAction_->setCheckable(true);
    stayOnTopAction_->setChecked(true);  // checked from the start; the flag follows 10 ms later
    connect(stayOnTopAction_, &QAction::triggered, this, &VantelMainForm::Stayontop1Click);
    popupMenu_.addSeparator();
    connect(popupMenu_.addAction(tr("Close")), &QAction::triggered, this, &VantelMainForm::Close1Click);
}

void VantelMainForm::createTrayIcon()
{
    if (trayIcon_) return;
    // Made here, not with the window: making one already asks the session
    // bus whether a tray host of the D-Bus protocol is registered.
    trayIcon_ = std::make_unique<QSystemTrayIcon>();
    trayIcon_->setIcon(trayIconPictures(devicePixelRatioF()));
    trayIcon_->setToolTip(kApplicationTitle);
    trayProtocol_ = currentTrayProtocol();
    connect(trayIcon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (trayActivationRestores(trayProtocol_, reason)) TrayIconDblClick();
            });
    trayIcon_->show();
    trayHostWatch_.setInterval(1000);
    connect(&trayHostWatch_, &QTimer::timeout, this, &VantelMainForm::watchTrayHost);
}

void VantelMainForm::watchTrayHost()
{
    if (isVisible()) {
        trayHostWatch_.stop();
        return;
    }
    // The icon would come back with a new tray host, the windows would not:
    // with nothing to double-click, the widget comes back on screen.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        trayHostWatch_.stop();
        TrayIconDblClick();
    }
}

void VantelMainForm::RefreshTimerTimer()
{
    readings_->RefreshTimerTimer();
}

void VantelMainForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) placement_.restore();
    FormShow();
}

void VantelMainForm::FormShow()
{
    if (!backForm_) return;
    backForm_->show();
    backForm_->raise();
    raise();
    standOnBackForm();
}

bool VantelMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // The backdrop back from the desktop's window list brings the widget along.
    if (watched == backForm_ && event->type() == QEvent::WindowStateChange && !backForm_->isMinimized() &&
        isMinimized()) {
        showNormal();
        FormShow();
    }
    // The window manager forgets the windows' states whenever they are hidden
    // and ignores requests for a window it has not mapped yet: state them
    // again each time a window appears on screen.
    if (event->type() == QEvent::Expose) {
        auto* window = static_cast<QWindow*>(watched);
        const bool exposed = window->isExposed();
        const bool appeared = exposed && !window->property("pelmoraExposed").toBool();
        window->setProperty("pelmoraExposed", exposed);
        if (appeared) {
            markStartup(watched == windowHandle() ? "widget window exposed" : "backdrop window exposed");
            applyWindowStates();
            // After the exposure's paint.
            if (watched == windowHandle()) QTimer::singleShot(0, this, &VantelMainForm::createTrayIcon);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void VantelMainForm::applyWindowStates()
{
    QWindow* widget = windowHandle();
    QWindow* back = backForm_ ? backForm_->windowHandle() : nullptr;
    x11::skipTaskbarAndPager(widget);
    x11::skipTaskbarAndPager(back);
    if (!stayOnTopTimer_.isActive()) {
        const x11::Layer layer = stayOnTop_ ? x11::Layer::OnTop : x11::Layer::AtBottom;
        x11::setLayer(back, layer);
        x11::setLayer(widget, layer);
        x11::stackAbove(widget, back);
        watchStacking();
    }
}

void VantelMainForm::watchStacking()
{
    // Window managers apply a layer change in their own time, and some put
    // the pair's order back afterwards: a second of checks covers them.
    stackingChecksLeft_ = 20;
    stackingCheck_.start();
}

void VantelMainForm::checkStacking()
{
    if (--stackingChecksLeft_ <= 0) stackingCheck_.stop();
    if (!backForm_ || !isVisible() || !backForm_->isVisible()) return;
    if (!x11::isDirectlyAbove(windowHandle(), backForm_->windowHandle())) {
        x11::stackAbove(windowHandle(), backForm_->windowHandle());
    }
}

void VantelMainForm::StayOnTopTimerTimer()
{
    stayOnTopTimer_.stop();
    stayOnTop_ = true;
    applyWindowStates();
}

void VantelMainForm::Stayontop1Click()
{
    stayOnTop_ = !stayOnTop_;
    stayOnTopAction_->setChecked(stayOnTop_);
    applyWindowStates();
}

void VantelMainForm::Close1Click()
{
    close();
}

void VantelMainForm::btnCloseClick()
{
    close();
}

void VantelMainForm::btnMinimizeClick()
{
    if (QSystemTrayIcon::isSystemTrayAvailable() && trayIcon_ && trayIcon_->isVisible()) {
        hide();
        if (backForm_) backForm_->hide();
        trayHostWatch_.start();
        return;
    }
    // No notification area to come back from: iconify, with the backdrop in
    // the desktop's window list to bring the pair back (task lists leave out
    // the widget window, a transient of the backdrop).
    if (backForm_) {
        x11::showInTaskbar(backForm_->windowHandle());
        backForm_->showMinimized();
    }
    showMinimized();
}

void VantelMainForm::comeBack()
{
    if (isMinimized() || (backForm_ && backForm_->isMinimized())) {
        if (backForm_) backForm_->showNormal();
        showNormal();
        FormShow();
        return;
    }
    TrayIconDblClick();
}

void VantelMainForm::TrayIconDblClick()
{
    if (isVisible()) return;
    show();
}

void VantelMainForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Back from the desktop's window list: the backdrop comes along.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && backForm_ &&
        backForm_->isMinimized()) {
        backForm_->showNormal();
        FormShow();
    }
}

void VantelMainForm::imgSettingsClick()
{
    refreshTimer_.setEnabled(false);
    {
        TSettingsForm dialog(this, deps_.store, readings_->currentDrives(), deps_.services.drives,
                             readings_->currentTraffic(), deps_.services.version, deps_.shellOpen);
        dialog.exec();
    }
    refreshTimer_.setEnabled(true);
    RefreshTimerTimer();
}

void VantelMainForm::Image1Click()
{
    deps_.shellOpen.open(kMakerWebAddress);
}

void VantelMainForm::closeEvent(QCloseEvent* event)
{
    placement_.saveOnClose();
    event->accept();
    QCoreApplication::quit();
}

}  // namespace pelmora
