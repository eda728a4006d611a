// Builds the settings dialog's controls at their fixed pixel positions.
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <span>
#include <vector>

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

using settingsform::Box;

QRect rectOf(Box box)
{
    return {box.left, box.top, box.width, box.height};
}

QString textOf(const char* text)
{
    return QString::fromLatin1(text);
}

QLabel* addLabel(const QString& name, const settingsform::LabelPlace& place, QWidget* parent)
{
    auto* label = new QLabel(textOf(place.text), parent);
    label->setObjectName(name);
    label->setFont(look::controlFont(place.italic));
    label->move(place.left, place.top);
    label->adjustSize();
    if (place.rightAlignedWidth > 0) {
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        const int width = std::max(place.rightAlignedWidth, label->width());
        label->setGeometry(place.left + place.rightAlignedWidth - width, place.top, width, label->height());
    }
    return label;
}

QGroupBox* addSection(const QString& name, const char* caption, QWidget* parent, Box at)
{
    auto* box = new SectionBox(textOf(caption), parent);
    box->setObjectName(name);
    box->setGeometry(rectOf(at));
    return box;
}

ReflectionImage* addPicture(const QString& name, const settingsform::PicturePlace& place, QWidget* parent)
{
    auto* picture =
        new ReflectionImage(loadResourcePicture(textOf(place.picture), parent->devicePixelRatioF()),
                            settingsform::kReflectionSize, place.reflectionAxis, parent);
    picture->setObjectName(name);
    picture->move(place.left, place.top);  // the control takes the size of its picture
    return picture;
}

QPushButton* addButton(const QString& name, const char* text, QWidget* parent, Box at)
{
    auto* button = new QPushButton(textOf(text), parent);
    button->setObjectName(name);
    button->setGeometry(rectOf(at));
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);  // mouse only
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(look::pushButtonStyle());
    return button;
}

std::vector<QImage> pictures(std::span<const char* const> aliases, qreal devicePixelRatio)
{
    std::vector<QImage> loaded;
    for (const char* alias : aliases)
        loaded.push_back(alias ? loadResourcePicture(textOf(alias), devicePixelRatio) : QImage());
    return loaded;
}

}  // namespace

void TSettingsForm::createControls()
{
    using namespace settingsform;
    setWindowTitle(textOf(kCaption));
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
    BackPanel->setGeometry(rectOf(settingsform::kBackPanel));
    BackPanel->setBaseColor(look::kGradientBottom);
    BackPanel->setDirection(TGradientPanel::drTopToBottom);
    BackPanel->setColorStart(look::kGradientTop);
    BackPanel->setColorEnd(look::kGradientBottom);

    Panel1 = new RaisedPanel(BackPanel);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(rectOf(kPanel1));

    GroupBox2 = addSection(QStringLiteral("GroupBox2"), kGroupBox2Caption, Panel1, kGroupBox2);
    AdvReflectionImage2 = addPicture(QStringLiteral("AdvReflectionImage2"), kAdvReflectionImage2, GroupBox2);
    Label2 = addLabel(QStringLiteral("Label2"), kLabel2, GroupBox2);
    trackSpeed = new TrackBar(GroupBox2);
    trackSpeed->setObjectName(QStringLiteral("trackSpeed"));
    trackSpeed->setGeometry(rectOf(kTrackSpeed));
    trackSpeed->setRange(SettingsRecord::RefreshSpeed.minimum, SettingsRecord::RefreshSpeed.maximum);
    trackSpeed->setValue(SettingsRecord::RefreshSpeed.defaultValue);
    trackSpeed->setTickPosition(QSlider::TicksBelow);
    trackSpeed->setTickInterval(1);
    trackSpeed->setSingleStep(kTrackLineStep);
    trackSpeed->setPageStep(kTrackPageStep);
    Label3 = addLabel(QStringLiteral("Label3"), kLabel3, GroupBox2);
    Label4 = addLabel(QStringLiteral("Label4"), kLabel4, GroupBox2);

    GroupBox1 = addSection(QStringLiteral("GroupBox1"), kGroupBox1Caption, Panel1, kGroupBox1);
    AdvReflectionImage1 = addPicture(QStringLiteral("AdvReflectionImage1"), kAdvReflectionImage1, GroupBox1);
    Label1 = addLabel(QStringLiteral("Label1"), kLabel1, GroupBox1);
    DrivesTreeView = new DriveTreeView(GroupBox1);
    DrivesTreeView->setObjectName(QStringLiteral("DrivesTreeView"));
    DrivesTreeView->setGeometry(rectOf(kDrivesTreeView));
    DrivesTreeView->setFont(look::controlFont());
    // The tree's pictures, drawn for the screen's scale.
    const qreal ratio = GroupBox1->devicePixelRatioF();
    DrivesTreeView->setStatePictures(pictures(kStatePictures, ratio));
    DrivesTreeView->setNodePictures(pictures(kNodePictures, ratio));

    GroupBox3 = addSection(QStringLiteral("GroupBox3"), kGroupBox3Caption, Panel1, kGroupBox3);
    AdvReflectionImage3 = addPicture(QStringLiteral("AdvReflectionImage3"), kAdvReflectionImage3, GroupBox3);
    Label5 = addLabel(QStringLiteral("Label5"), kLabel5, GroupBox3);
    NetworkInterface = new CheckListBox(GroupBox3);
    NetworkInterface->setObjectName(QStringLiteral("NetworkInterface"));
    NetworkInterface->setGeometry(rectOf(kNetworkInterface));
    NetworkInterface->setFont(look::controlFont());
    NetworkInterface->setItemHeight(kInterfaceItemHeight);

    btnApply = addButton(QStringLiteral("btnApply"), kBtnApplyText, BackPanel, kBtnApply);
    btnCancel = addButton(QStringLiteral("btnCancel"), kBtnCancelText, BackPanel, kBtnCancel);
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
