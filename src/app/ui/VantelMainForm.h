#pragma once
// The widget window: a borderless tool window whose own surface is colour-
// keyed away, standing on the background window. It drives the refresh
// cycle, owns the network monitor, the notification-area icon and the popup
// menu, and opens the settings dialog and the maker's web site.
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/ui/ForegroundRequests.h"
#include "app/ui/QtRefreshTimer.h"
#include "app/ui/QtWindowPlacement.h"
#include "app/ui/TrayProtocol.h"
#include "readings/ReadingsEngine.h"
#include "readings/WidgetDependencies.h"

namespace pelmora {

class BackForm;
class WidgetLayout;

inline constexpr const char* kMakerWebAddress = "https://www.talvessa.com/drivers/";

class VantelMainForm : public QWidget {
    Q_OBJECT
public:
    using Dependencies = WidgetDependencies;

    // Runs the creation steps: tool window, monitor thread, processor label,
    // first refresh.
    explicit VantelMainForm(const Dependencies& dependencies);
    // Stops the monitor thread and waits for it to end.
    ~VantelMainForm() override;

    void setBackForm(BackForm* backForm);
    // Saves where the widget stands now, as it will be saved on closing.
    void savePlacementWhileShown() { placement_.saveWhileShown(); }

public slots:
    void RefreshTimerTimer();
    void StayOnTopTimerTimer();
    void Stayontop1Click();
    void Close1Click();
    void btnMinimizeClick();
    void btnCloseClick();
    void imgSettingsClick();
    void Image1Click();
    void TrayIconDblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormShow();
    void applyWindowStates();
    void connectLayout();
    void createPopupMenu();
    void createTrayIcon();
    // Checks for a while after a stacking change that the widget stands
    // directly above its backdrop, restacking it whenever it does not.
    void watchStacking();
    void checkStacking();
    void watchMonitors();
    void keepOnAMonitor();
    void standOnBackForm();
    // Back from the notification area or from iconified, for a second start.
    void comeBack();
    void watchTrayHost();

    Dependencies deps_;
    WidgetLayout* layout_;
    QtRefreshTimer refreshTimer_;
    std::unique_ptr<ReadingsEngine> readings_;
    QTimer stayOnTopTimer_;
    QTimer stackingCheck_;
    int stackingChecksLeft_ = 0;
    bool stayOnTop_ = false;
    QMenu popupMenu_;
    QAction* stayOnTopAction_ = nullptr;
    static constexpr int kTrayIconLatestMs = 1000;
    std::unique_ptr<QSystemTrayIcon> trayIcon_;
    TrayProtocol trayProtocol_ = TrayProtocol::XEmbed;
    std::unique_ptr<ForegroundRequests> foregroundRequests_;
    // Runs while the widget is hidden in the notification area, so that a
    // tray host that goes away does not take the widget with it.
    QTimer trayHostWatch_;
    QPointer<BackForm> backForm_;
    QtWindowPlacement placement_;
};

}  // namespace pelmora
