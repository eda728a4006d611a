#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QtTest>
#include <memory>

#include "DialogRig.h"
#include "ModalAnswer.h"
#include "shell/dialog/CheckListBox.h"
#include "shell/dialog/DialogFrame.h"
#include "shell/dialog/DriveTreeView.h"
#include "shell/dialog/GradientPanel.h"
#include "shell/dialog/SettingsForm.h"

using namespace pelmora;

namespace {

QString checkedLetters(const TSettingsForm& form)
{
    QString letters;
    for (int i = 0; i < form.DrivesTreeView->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = form.DrivesTreeView->topLevelItem(i);
        if (DriveTreeView::stateIndex(item) == 2) letters += item->text(0).left(1);
    }
    return letters;
}

QTreeWidgetItem* node(const TSettingsForm& form, char letter)
{
    for (int i = 0; i < form.DrivesTreeView->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = form.DrivesTreeView->topLevelItem(i);
        if (item->text(0).startsWith(QChar(letter))) return item;
    }
    return nullptr;
}

void clickStatePicture(TSettingsForm& form, char letter)
{
    const QRect state = form.DrivesTreeView->statePictureRect(node(form, letter));
    QTest::mouseClick(form.DrivesTreeView->viewport(), Qt::LeftButton, {}, state.center());
}

void setCheckedDrives(TSettingsForm& form, const QString& letters)
{
    for (int i = 0; i < form.DrivesTreeView->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = form.DrivesTreeView->topLevelItem(i);
        DriveTreeView::setStateIndex(item, letters.contains(item->text(0).at(0)) ? 2 : 1);
    }
}

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void emptyStoreChecksTheCurrentDrives();
    void nodeTextsUseTheLocaleSeparators_data();
    void nodeTextsUseTheLocaleSeparators();
    void refusedChoicesShowTheirMessage_data();
    void refusedChoicesShowTheirMessage();
    void rejectedApplyKeepsTheDialogThenSavesTheCorrection();
    void oneDriveKeepsTheStoredSecondDrive();
    void interfacesAreWrittenLowerPositionFirst();
    void storedInterfacesOutsideTheListAreIgnored();
    void interfacesNotConnectedAreListedOnlyWhenChosen();
    void refreshSpeedIsClampedBySlider_data();
    void refreshSpeedIsClampedBySlider();
    void onlyTheStatePictureOrSpaceToggles();
    void wideEntryGetsTheHorizontalExtent();
    void unsavableSettingsWarnAndKeepTheChoices();
    void cancelAndFrameCloseWriteNothing_data();
    void cancelAndFrameCloseWriteNothing();
    void keysNeverApplyOrCancel();
    void helpKeyOpensTheHelpFile();
    void keyboardOrderSkipsTheButtons();
    void frameAndBodyAreDrawn();
    void titleBarDragsTheDialog();
};

void SettingsDialogTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void SettingsDialogTest::emptyStoreChecksTheCurrentDrives()
{
    DialogRig rig;
    TSettingsForm& form = rig.open();
    QCOMPARE(form.windowTitle(), QString("Configure Settings"));
    QCOMPARE(form.size(), QSize(656, 379));
    QCOMPARE(form.DrivesTreeView->topLevelItemCount(), 2);  // the removable E is not listed
    QCOMPARE(node(form, 'C')->text(0), QString("C:\\ [ 42.00 GB (38%) of free disk space ]"));
    QCOMPARE(checkedLetters(form), QString("CD"));
    QCOMPARE(form.trackSpeed->value(), 1);
    QCOMPARE(form.NetworkInterface->count(), 4);
    QCOMPARE(form.NetworkInterface->item(2)->text(), QString("wlan0 (10.0.0.1)"));
    QCOMPARE(form.NetworkInterface->checkedStates(), std::vector<bool>(4, false));

    // For comparing with the other front end by eye.
    const QByteArray folder = qgetenv("PELMORA_WRITE_PIXELS");
    if (!folder.isEmpty())
        form.grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/settings-dialog.png"));
}

void SettingsDialogTest::nodeTextsUseTheLocaleSeparators_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qulonglong>("freeBytes");
    QTest::addColumn<QString>("text");
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QTest::addRow("just below a megabyte") << english << 1048575ull << "C:\\ [ 1,024.00 KB (";
    QTest::addRow("one megabyte") << english << 1048576ull << "C:\\ [ 1.00 MB (";
    QTest::addRow("one gigabyte") << english << 1073741824ull << "C:\\ [ 1.00 GB (";
    QTest::addRow("german") << QLocale(QLocale::German, QLocale::Germany) << 1048575ull
                            << "C:\\ [ 1.024,00 KB (";
}

void SettingsDialogTest::nodeTextsUseTheLocaleSeparators()
{
    QFETCH(QLocale, locale);
    QFETCH(qulonglong, freeBytes);
    QFETCH(QString, text);
    QLocale::setDefault(locale);
    DialogRig rig;
    rig.drives.add('C', DialogRig::drive(freeBytes, 4 * freeBytes));
    TSettingsForm& form = rig.open();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY2(node(form, 'C')->text(0).startsWith(text), qPrintable(node(form, 'C')->text(0)));
}

void SettingsDialogTest::refusedChoicesShowTheirMessage_data()
{
    QTest::addColumn<QString>("drives");
    QTest::addColumn<QList<int>>("interfaces");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("content");
    QTest::addRow("no drive, even with too many interfaces")
        << "" << QList<int>{0, 1, 2} << "Nothing Selected"
        << "Please select at least one drive from the list to monitor.";
    QTest::addRow("three drives") << "CDF" << QList<int>{} << "Invalid Selection"
                                  << "Please select up to 2 drives to monitor.";
    QTest::addRow("three interfaces") << "C" << QList<int>{0, 2, 3} << "Invalid Selection"
                                      << "Please select up to 2 network interfaces to monitor.";
}

void SettingsDialogTest::refusedChoicesShowTheirMessage()
{
    QFETCH(QString, drives);
    QFETCH(QList<int>, interfaces);
    QFETCH(QString, title);
    QFETCH(QString, content);
    DialogRig rig;
    rig.drives.add('F', DialogRig::drive(1, 2));
    TSettingsForm& form = rig.open();
    setCheckedDrives(form, drives);
    for (int row : interfaces) form.NetworkInterface->setChecked(row, true);

    ModalAnswer answer(QMessageBox::Ok);
    QTest::mouseClick(form.btnApply, Qt::LeftButton);
    QCOMPARE(answer.seen.size(), 1);
    QCOMPARE(answer.seen[0].title, title);
    QCOMPARE(answer.seen[0].text, title + "\n" + content);
    QCOMPARE(answer.seen[0].icon, QMessageBox::Warning);
    QCOMPARE(answer.seen[0].buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    QVERIFY(form.isVisible());
    QCOMPARE(checkedLetters(form), drives);
    QCOMPARE(rig.stored("Drive1"), std::string(kMissing));
    QCOMPARE(rig.stored("NrNetwork"), std::string(kMissing));
}

void SettingsDialogTest::rejectedApplyKeepsTheDialogThenSavesTheCorrection()
{
    DialogRig rig;
    rig.drives.add('F', DialogRig::drive(1, 2));
    TSettingsForm& form = rig.open();
    clickStatePicture(form, 'F');
    QCOMPARE(checkedLetters(form), QString("CDF"));
    {
        ModalAnswer answer(QMessageBox::Ok);
        QTest::mouseClick(form.btnApply, Qt::LeftButton);
        QCOMPARE(answer.seen.size(), 1);
    }
    clickStatePicture(form, 'F');
    QTest::mouseClick(form.btnApply, Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(!form.isVisible());
    QCOMPARE(rig.stored("Drive1"), std::string("C"));
    QCOMPARE(rig.stored("Drive2"), std::string("D"));
    QCOMPARE(rig.stored("NrDrives"), std::string("2"));
    QCOMPARE(rig.stored("NrNetwork"), std::string("0"));
    QCOMPARE(rig.stored("Network1"), std::string("-1"));
    QCOMPARE(rig.stored("Network2"), std::string("-1"));
    QCOMPARE(rig.stored("RefreshSpeed"), std::string("1"));
}

void SettingsDialogTest::oneDriveKeepsTheStoredSecondDrive()
{
    DialogRig rig;
    rig.store({{"Drive1", "C"}, {"Drive2", "E"}, {"NrDrives", "1"}});
    TSettingsForm& form = rig.open();
    QCOMPARE(checkedLetters(form), QString("C"));
    clickStatePicture(form, 'C');
    clickStatePicture(form, 'D');
    QTest::mouseClick(form.btnApply, Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(rig.stored("Drive1"), std::string("D"));
    QCOMPARE(rig.stored("Drive2"), std::string("E"));
    QCOMPARE(rig.stored("NrDrives"), std::string("1"));
}

void SettingsDialogTest::interfacesAreWrittenLowerPositionFirst()
{
    DialogRig rig;
    TSettingsForm& form = rig.open();
    form.NetworkInterface->setChecked(3, true);
    form.NetworkInterface->setChecked(1, true);
    QTest::mouseClick(form.btnApply, Qt::LeftButton);
    QCOMPARE(rig.stored("NrNetwork"), std::string("2"));
    QCOMPARE(rig.stored("Network1"), std::string("1"));
    QCOMPARE(rig.stored("Network2"), std::string("3"));
}

void SettingsDialogTest::storedInterfacesOutsideTheListAreIgnored()
{
    DialogRig rig;
    rig.store({{"Network1", "7"}, {"Network2", "2"}, {"NrNetwork", "2"}});
    TSettingsForm& form = rig.open();
    QCOMPARE(form.NetworkInterface->checkedStates(), (std::vector<bool>{false, false, true, false}));
}

void SettingsDialogTest::interfacesNotConnectedAreListedOnlyWhenChosen()
{
    DialogRig rig;
    rig.traffic.records[1].IsConnected = false;
    rig.traffic.records[2].IsConnected = false;
    rig.store({{"Network1", "2"}, {"NrNetwork", "1"}});
    TSettingsForm& form = rig.open();
    QCOMPARE(form.NetworkInterface->count(), 3);
    QCOMPARE(form.NetworkInterface->item(1)->text(), QString("10.0.0.1 (Not Connected)"));
    QCOMPARE(form.NetworkInterface->checkedStates(), (std::vector<bool>{false, true, false}));

    form.NetworkInterface->setChecked(2, true);  // wlan1, the monitor's position 3
    QTest::mouseClick(form.btnApply, Qt::LeftButton);
    QCOMPARE(rig.stored("NrNetwork"), std::string("2"));
    QCOMPARE(rig.stored("Network1"), std::string("2"));
    QCOMPARE(rig.stored("Network2"), std::string("3"));
}

void SettingsDialogTest::refreshSpeedIsClampedBySlider_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("shown");
    QTest::addRow("above the range") << "90" << 60;
    QTest::addRow("below the range") << "0" << 1;
    QTest::addRow("not a number") << "fast" << 1;
    QTest::addRow("inside") << "30" << 30;
}

void SettingsDialogTest::refreshSpeedIsClampedBySlider()
{
    QFETCH(QString, stored);
    QFETCH(int, shown);
    DialogRig rig;
    rig.store({{"RefreshSpeed", stored.toStdString()}});
    TSettingsForm& form = rig.open();
    QCOMPARE(form.trackSpeed->value(), shown);
    QCOMPARE(form.trackSpeed->pageStep(), 2);
    QTest::mouseClick(form.btnApply, Qt::LeftButton);
    QCOMPARE(rig.stored("RefreshSpeed"), std::to_string(shown));
}

void SettingsDialogTest::onlyTheStatePictureOrSpaceToggles()
{
    DialogRig rig;
    TSettingsForm& form = rig.open();
    DriveTreeView* tree = form.DrivesTreeView;
    QTreeWidgetItem* d = node(form, 'D');
    const QRect state = tree->statePictureRect(d);
    const QRect row = tree->visualItemRect(d);

    // The node picture and the text only select.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(state.right() + 60, row.center().y()));
    QCOMPARE(tree->currentItem(), d);
    QCOMPARE(checkedLetters(form), QString("CD"));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(state.right() + 12, row.center().y()));
    QCOMPARE(checkedLetters(form), QString("CD"));

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, state.center());
    QCOMPARE(checkedLetters(form), QString("C"));
    QTest::keyClick(tree, Qt::Key_Space);
    QCOMPARE(checkedLetters(form), QString("CD"));

    tree->clearSelection();
    QTest::keyClick(tree, Qt::Key_Space);  // nothing selected: nothing toggles
    QCOMPARE(checkedLetters(form), QString("CD"));
}

void SettingsDialogTest::wideEntryGetsTheHorizontalExtent()
{
    DialogRig rig;
    const std::string wide = "enp3s0 Intel Corporation Ethernet Connection (7) I219-V with a long name";
    rig.traffic.add(wide, "192.168.100.200");
    TSettingsForm& form = rig.open();
    CheckListBox* list = form.NetworkInterface;
    const int widest =
        list->fontMetrics().horizontalAdvance(QString::fromStdString(wide + " (192.168.100.200)"));
    QCOMPARE(list->horizontalExtent(), widest + 50);
    QTRY_COMPARE(list->horizontalScrollBar()->maximum(), widest + 50 - list->viewport()->width());

    DialogRig narrow;
    TSettingsForm& plain = narrow.open();
    QCOMPARE(plain.NetworkInterface->horizontalExtent(),
             plain.NetworkInterface->fontMetrics().horizontalAdvance("wlan0 (10.0.0.1)") + 50);
    QCOMPARE(plain.NetworkInterface->horizontalScrollBar()->maximum(), 0);
}

void SettingsDialogTest::unsavableSettingsWarnAndKeepTheChoices()
{
    DialogRig rig;
    QFile blocker(rig.dir.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // The key's file would have to live inside a plain file: it can be neither read nor created.
    RegFileSettingsStore unsavable(rig.dir.filePath("blocker/Talvessa.reg").toStdString());
    TSettingsForm form(nullptr, unsavable, {"C", "D"}, rig.drives, rig.traffic, rig.version, rig.shell);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(checkedLetters(form), QString("CD"));
    form.NetworkInterface->setChecked(1, true);

    ModalAnswer answer(QMessageBox::Ok);
    QTest::mouseClick(form.btnApply, Qt::LeftButton);
    QCOMPARE(answer.seen.size(), 1);
    QCOMPARE(answer.seen[0].title, QString("Settings Not Saved"));
    QCOMPARE(answer.seen[0].text, QString("Settings Not Saved\nThe settings could not be saved."));
    QCOMPARE(answer.seen[0].icon, QMessageBox::Warning);
    QVERIFY(form.isVisible());
    QCOMPARE(checkedLetters(form), QString("CD"));
    QVERIFY(form.NetworkInterface->isChecked(1));
}

void SettingsDialogTest::cancelAndFrameCloseWriteNothing_data()
{
    QTest::addColumn<QString>("way");
    QTest::addRow("cancel button") << "cancel";
    QTest::addRow("close button") << "close";
    QTest::addRow("system menu") << "menu";
}

void SettingsDialogTest::cancelAndFrameCloseWriteNothing()
{
    QFETCH(QString, way);
    DialogRig rig;
    TSettingsForm& form = rig.open();
    clickStatePicture(form, 'D');
    form.NetworkInterface->setChecked(0, true);
    form.trackSpeed->setValue(9);

    if (way == "cancel") {
        QTest::mouseClick(form.btnCancel, Qt::LeftButton);
    } else if (way == "close") {
        QTest::mouseClick(form.TitleBar->closeButton(), Qt::LeftButton);
    } else {
        QTest::mouseClick(form.TitleBar->systemMenuButton(), Qt::LeftButton);
        QTRY_VERIFY(form.TitleBar->systemMenu()->isVisible());
        QCOMPARE(form.TitleBar->systemMenu()->actions().size(), 1);
        form.TitleBar->systemMenu()->actions().first()->trigger();
    }
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
    for (const char* name :
         {"Drive1", "Drive2", "NrDrives", "NrNetwork", "Network1", "Network2", "RefreshSpeed"})
        QCOMPARE(rig.stored(name), std::string(kMissing));
}

void SettingsDialogTest::keysNeverApplyOrCancel()
{
    DialogRig rig;
    TSettingsForm& form = rig.open();
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(&form, key);
    QVERIFY(form.isVisible());
    QCOMPARE(rig.stored("Drive1"), std::string(kMissing));
}

void SettingsDialogTest::helpKeyOpensTheHelpFile()
{
    DialogRig rig;
    TSettingsForm& form = rig.open();
    QTest::keyClick(form.DrivesTreeView, Qt::Key_F1);
    QCOMPARE(rig.shell.opened, std::vector<std::string>{
                                   (QCoreApplication::applicationDirPath() + "/Corvane.chm").toStdString()});
}

void SettingsDialogTest::keyboardOrderSkipsTheButtons()
{
    DialogRig rig;
    TSettingsForm& form = rig.open();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.DrivesTreeView));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.trackSpeed));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.NetworkInterface));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.DrivesTreeView));
    QCOMPARE(form.btnApply->focusPolicy(), Qt::NoFocus);
    QVERIFY(!form.btnApply->autoDefault() && !form.btnCancel->autoDefault());
}

void SettingsDialogTest::frameAndBodyAreDrawn()
{
    DialogRig rig;
    TSettingsForm& form = rig.open();
    QCOMPARE(form.windowOpacity(), 217.0 / 255.0);
    QCOMPARE(form.pos(),
             form.screen()->geometry().center() - QPoint(656 / 2, 379 / 2));  // centred, kept on show
    QCOMPARE(form.BackPanel->geometry(), QRect(0, 37, 656, 342));
    const QImage shot = form.grab().toImage();
    QCOMPARE(shot.pixelColor(300, 37), QColor(97, 142, 199));  // the gradient's first row, above Panel1
    for (QPoint border : {QPoint(0, 200), QPoint(655, 200), QPoint(300, 0), QPoint(300, 378), QPoint(0, 20)})
        QCOMPARE(shot.pixelColor(border), QColor(Qt::black));
    QVERIFY(shot.pixelColor(300, 20) != QColor(Qt::black));  // the title bar itself
}

void SettingsDialogTest::titleBarDragsTheDialog()
{
    DialogRig rig;
    TSettingsForm& form = rig.open();
    const QPoint start = form.pos();
    QTest::mousePress(form.TitleBar, Qt::LeftButton, {}, QPoint(200, 15));
    QTest::mouseMove(form.TitleBar, QPoint(250, 35));
    QTest::mouseRelease(form.TitleBar, Qt::LeftButton, {}, QPoint(250, 35));
    QTRY_COMPARE(form.pos(), start + QPoint(50, 20));
}

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
