#include "shell/dialog/SettingsForm.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QScreen>
#include <QShortcut>
#include <QSlider>

#include "shell/LocaleSeparators.h"
#include "shell/dialog/CheckListBox.h"
#include "shell/dialog/DialogFrame.h"
#include "shell/dialog/DriveTreeView.h"
#include "shell/dialog/TaskMessage.h"

namespace pelmora {

TSettingsForm::TSettingsForm(QWidget* owner, SettingsStore& store, const CurrentDrives& current,
                             Drives& drives, const TrafficList& traffic, const VersionInfo& version,
                             ShellOpen& shell)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      store_(store),
      current_(current),
      drives_(drives),
      traffic_(traffic),
      version_(version),
      shell_(shell)
{
    FormCreate();
}

void TSettingsForm::FormCreate()
{
    // Qt paints every widget double-buffered already; the window manager or
    // compositor draws any shadow.
    createControls();
    FillDriveTree();
    FillNetworkList();

    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screen->geometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    setWindowOpacity(kOpacity);
    DrivesTreeView->setFocus();

    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, &TSettingsForm::TitleBarHelpBtnClick);
    connect(TitleBar, &DialogTitleBar::closeRequested, this, &QDialog::reject);
}

void TSettingsForm::FillDriveTree()
{
    const DialogDriveSettings settings = readDriveSettings(store_, current_);
    FirstDrive = settings.firstDrive;
    SecondDrive = settings.secondDrive;
    trackSpeed->setValue(settings.refreshSpeed);  // the slider clamps it into 1..60

    for (const DriveNode& node : listFixedDrives(drives_, settings, qtLocaleNumberSeparators()))
        DrivesTreeView->addNode(QString::fromStdString(node.text), settingsform::kDiskNodePicture,
                                node.stateIndex);
}

void TSettingsForm::FillNetworkList()
{
    const DialogNetworkSettings settings = readNetworkSettings(store_);
    const std::vector<NetworkEntry> entries = networkEntries(traffic_, settings);
    for (const NetworkEntry& entry : entries) {
        NetworkInterface->addEntry(QString::fromStdString(entry.text));
        interfacePositions_.push_back(entry.position);
    }
    FitHorizontalExtent(NetworkInterface);

    for (int32_t row : storedInterfaceRows(settings, entries)) NetworkInterface->setChecked(row, true);
}

void TSettingsForm::FitHorizontalExtent(CheckListBox* list)
{
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int row = 0; row < list->count(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(list->item(row)->text()));
    list->setHorizontalExtent(widest + kExtentBeyondWidestEntry);
}

void TSettingsForm::btnApplyClick()
{
    std::vector<DriveNode> nodes;
    for (int i = 0; i < DrivesTreeView->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = DrivesTreeView->topLevelItem(i);
        const std::string text = item->text(0).toStdString();
        nodes.push_back({text.empty() ? '\0' : text[0], text, DriveTreeView::stateIndex(item)});
    }
    const std::optional<TaskMessageText> refusal =
        applySettings(store_, nodes, NetworkInterface->checkedStates(), trackSpeed->value(), FirstDrive,
                      SecondDrive, interfacePositions_);
    if (refusal) {
        showWarning(*refusal);
        return;
    }
    accept();
}

void TSettingsForm::btnCancelClick()
{
    reject();
}

void TSettingsForm::TitleBarHelpBtnClick()
{
    const QString path =
        QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kHelpFileName));
    shell_.open(path.toStdString());  // a missing file or opener is not reported
}

void TSettingsForm::showWarning(const TaskMessageText& message)
{
    const QString title = QString::fromStdString(message.title);
    ShowTaskMessage(this, title, title, QString::fromStdString(message.content), kTaskButtonOk,
                    kTaskIconWarning, version_);
}

void TSettingsForm::keyPressEvent(QKeyEvent* event)
{
    // Neither button is bound to a key: Escape does not cancel, Enter does not apply.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace pelmora
