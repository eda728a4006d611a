#pragma once
// The settings dialog: the user picks up to two fixed drives, up to two
// network interfaces and the refresh speed; Apply validates and writes all
// seven settings at once. Created anew on every opening, so its lists show
// the drives and interfaces of that moment.
#include <QDialog>
#include <string>
#include <vector>

#include "core/SettingsFormTable.h"
#include "net/TrafficList.h"
#include "platform/Drives.h"
#include "platform/ShellOpen.h"
#include "platform/VersionInfo.h"
#include "settings/DerivedDrives.h"
#include "settings/SettingsChoices.h"
#include "settings/SettingsStore.h"

class QLabel;
class QPushButton;
class QSlider;
class QGroupBox;

namespace pelmora {

class CheckListBox;
class DialogTitleBar;
class DriveTreeView;
class TGradientPanel;
class ReflectionImage;

class TSettingsForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = settingsform::kClientWidth;
    static constexpr int kClientHeight = settingsform::kClientHeight;
    static constexpr double kOpacity = settingsform::kOpacity / 255.0;

    // `current` holds the widget's current first and second drive, the
    // defaults for the stored ones.
    TSettingsForm(QWidget* owner, SettingsStore& store, const CurrentDrives& current, Drives& drives,
                  const TrafficList& traffic, const VersionInfo& version, ShellOpen& shell);

    // The dialog's own state: the chosen drives' texts.
    const std::string& firstDrive() const { return FirstDrive; }
    const std::string& secondDrive() const { return SecondDrive; }

    // Controls, by their layout names.
    DialogTitleBar* TitleBar = nullptr;
    TGradientPanel* BackPanel = nullptr;
    QWidget* Panel1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;  // " Hard-Disk "
    QGroupBox* GroupBox2 = nullptr;  // " General "
    QGroupBox* GroupBox3 = nullptr;  // " Network "
    ReflectionImage* AdvReflectionImage1 = nullptr;
    ReflectionImage* AdvReflectionImage2 = nullptr;
    ReflectionImage* AdvReflectionImage3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QSlider* trackSpeed = nullptr;
    DriveTreeView* DrivesTreeView = nullptr;
    CheckListBox* NetworkInterface = nullptr;
    QPushButton* btnApply = nullptr;
    QPushButton* btnCancel = nullptr;

    void btnApplyClick();
    void btnCancelClick();
    void TitleBarHelpBtnClick();  // F1: the frame's help button is hidden

    // Sets the list's horizontal scroll extent to its widest entry + 50 pixels.
    static void FitHorizontalExtent(CheckListBox* list);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void createControls();
    void FillDriveTree();
    void FillNetworkList();
    void showWarning(const TaskMessageText& message);

    SettingsStore& store_;
    CurrentDrives current_;
    Drives& drives_;
    const TrafficList& traffic_;
    const VersionInfo& version_;
    ShellOpen& shell_;
    std::string FirstDrive;
    std::string SecondDrive;
    std::vector<int32_t> interfacePositions_;  // the monitor position of each interface row
};

}  // namespace pelmora
