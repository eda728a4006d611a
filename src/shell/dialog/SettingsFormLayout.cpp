// Builds the settings dialog's controls at their fixed pixel positions.
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>

#include "core/SettingsRecord.h"
#include "shell/ReflectionImage.h"
#include "shell/ResourcePicture.h"
#include "shell/dialog/CheckListBox.h"
#include "shell/dialog/DialogFrame.h"
#include "shell/dialog/DialogLook.h"
#include "shell/dialog/DriveTreeView.h"
#include "shell/dialog/GradientPanel.h"
#include "shell/dialog/SettingsForm.h"
#include "shell/dialog/TrackBar.h"

namespace pelmora {

namespace {

constexpr int kReflectionSize = 15;

QLabel* addLabel(const QString& name, const QString& text, QWidget* parent, QPoint at, bool italic = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(look::controlFont(italic));
    label->move(at);
    label->adjustSize();
    return label;
}

QGroupBox* addSection(const QString& name, const QString& caption, QWidget* parent, QRect at)
{
    auto* box = new SectionBox(caption, parent);
    box->setObjectName(name);
    box->setGeometry(at);
    return box;
}

ReflectionImage* addPicture(const QString& name, const QString& alias, int axis, QWidget* parent, QPoint at)
{
    auto* picture = new ReflectionImage(loadResourcePicture(alias, parent->devicePixelRatioF()),
                                        kReflectionSize, axis, parent);
    picture->setObjectName(name);
    picture->move(at);  // the control takes the size of its picture
    return picture;
}

QPushButton* addButton(const QString& name, const QString& text, QWidget* parent, QRect at)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(at);
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);  // mouse only
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(look::pushButtonStyle());
    return button;
}

}  // namespace

void TSettingsForm::createControls()
{
    setWindowTitle(QStringLiteral("Configure Settings"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(look::dialogFont());
    QPalette body = palette();
    body.setColor(QPalette::Window, look::kBodyColor);
    setPalette(body);
    setAutoFillBackground(true);

    TitleBar = new DialogTitleBar(windowTitle(), this);
    TitleBar->setObjectName(QStringLiteral("TitleBar"));
    TitleBar->setGeometry(0, 0, kClientWidth, DialogTitleBar::kHeight);

    BackPanel = new TGradientPanel(this);
    BackPanel->setObjectName(QStringLiteral("BackPanel"));
    BackPanel->setGeometry(0, DialogTitleBar::kHeight, kClientWidth, kClientHeight - DialogTitleBar::kHeight);
    BackPanel->setBaseColor(look::kGradientBottom);
    BackPanel->setDirection(TGradientPanel::drTopToBottom);
    BackPanel->setColorStart(look::kGradientTop);
    BackPanel->setColorEnd(look::kGradientBottom);

    Panel1 = new RaisedPanel(BackPanel);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 641, 297);

    GroupBox2 = addSection(QStringLiteral("GroupBox2"), QStringLiteral(" General "), Panel1, {8, 8, 625, 97});
    AdvReflectionImage2 = addPicture(QStringLiteral("AdvReflectionImage2"), QStringLiteral("dlg-bolt.png"),
                                     -15, GroupBox2, {8, 23});
    Label2 = addLabel(QStringLiteral("Label2"), QStringLiteral("Select refresh speed (1-60 seconds):"),
                      GroupBox2, {81, 24});
    trackSpeed = new TrackBar(GroupBox2);
    trackSpeed->setObjectName(QStringLiteral("trackSpeed"));
    trackSpeed->setGeometry(72, 40, 537, 36);
    trackSpeed->setRange(SettingsRecord::RefreshSpeed.minimum, SettingsRecord::RefreshSpeed.maximum);
    trackSpeed->setValue(SettingsRecord::RefreshSpeed.defaultValue);
    trackSpeed->setTickPosition(QSlider::TicksBelow);
    trackSpeed->setTickInterval(1);
    trackSpeed->setSingleStep(1);
    trackSpeed->setPageStep(2);
    Label3 = addLabel(QStringLiteral("Label3"), QStringLiteral("Fastest"), GroupBox2, {81, 74}, true);
    // Right-aligned under the maximum end: a wider font grows it to the left.
    Label4 = addLabel(QStringLiteral("Label4"), QStringLiteral("Slowest"), GroupBox2, {567, 74}, true);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignTop);
    const int slowestWidth = std::max(37, Label4->width());
    Label4->setGeometry(567 + 37 - slowestWidth, 74, slowestWidth, Label4->height());

    GroupBox1 =
        addSection(QStringLiteral("GroupBox1"), QStringLiteral(" Hard-Disk "), Panel1, {8, 112, 305, 155});
    AdvReflectionImage1 = addPicture(QStringLiteral("AdvReflectionImage1"), QStringLiteral("dlg-disk.png"),
                                     -15, GroupBox1, {9, 19});
    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Please choose up to two drives to monitor:"),
                      GroupBox1, {80, 24});
    DrivesTreeView = new DriveTreeView(GroupBox1);
    DrivesTreeView->setObjectName(QStringLiteral("DrivesTreeView"));
    DrivesTreeView->setGeometry(80, 38, 217, 106);
    DrivesTreeView->setFont(look::controlFont());
    // The tree's pictures, drawn for the screen's scale.
    const auto treePicture = [ratio = GroupBox1->devicePixelRatioF()](const char* alias) {
        return loadResourcePicture(QString::fromLatin1(alias), ratio);
    };
    DrivesTreeView->setStatePictures({QImage(), treePicture("state-unchecked.png"),
                                      treePicture("state-checked.png"), treePicture("state-radio-off.png"),
                                      treePicture("state-radio-on.png"), treePicture("state-document.png"),
                                      treePicture("state-folder.png")});
    DrivesTreeView->setNodePictures({treePicture("drive-disk.png"), treePicture("drive-computer.png"),
                                     treePicture("drive-removable.png")});

    GroupBox3 =
        addSection(QStringLiteral("GroupBox3"), QStringLiteral(" Network "), Panel1, {320, 112, 313, 155});
    AdvReflectionImage3 = addPicture(QStringLiteral("AdvReflectionImage3"), QStringLiteral("dlg-globe.png"),
                                     0, GroupBox3, {7, 26});
    Label5 = addLabel(QStringLiteral("Label5"),
                      QStringLiteral("Choose up to two network adapters to monitor:"), GroupBox3, {72, 24});
    NetworkInterface = new CheckListBox(GroupBox3);
    NetworkInterface->setObjectName(QStringLiteral("NetworkInterface"));
    NetworkInterface->setGeometry(72, 40, 233, 105);
    NetworkInterface->setFont(look::controlFont());
    NetworkInterface->setItemHeight(13);

    btnApply = addButton(QStringLiteral("btnApply"), QStringLiteral("Apply Settings"), BackPanel,
                         {227, 311, 99, 25});
    btnCancel =
        addButton(QStringLiteral("btnCancel"), QStringLiteral("Cancel"), BackPanel, {331, 311, 99, 25});
    connect(btnApply, &QPushButton::clicked, this, &TSettingsForm::btnApplyClick);
    connect(btnCancel, &QPushButton::clicked, this, &TSettingsForm::btnCancelClick);

    // Keyboard order: drive tree, trackbar, interface list.
    DrivesTreeView->setFocusPolicy(Qt::StrongFocus);
    trackSpeed->setFocusPolicy(Qt::StrongFocus);
    NetworkInterface->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(DrivesTreeView, trackSpeed);
    setTabOrder(trackSpeed, NetworkInterface);

    new FrameBorder(this);  // created last, so it stays above the other children
}

}  // namespace pelmora
