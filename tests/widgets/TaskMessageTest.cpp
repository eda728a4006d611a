#include <QtTest>

#include "ModalAnswer.h"
#include "platform/fakes/FakeVersionInfo.h"
#include "shell/dialog/TaskMessage.h"

using namespace pelmora;

class TaskMessageTest : public QObject {
    Q_OBJECT

private slots:
    void titledMessageMapsThePressedButton_data();
    void titledMessageMapsThePressedButton();
    void titledMessageShowsTitleInstructionAndContent();
    void plainMessageShowsTheContentOnly();
    void plainMessageButtonsAndResults_data();
    void plainMessageButtonsAndResults();
    void plainMessageKindFollowsTheIcon_data();
    void plainMessageKindFollowsTheIcon();
};

using Buttons = QList<QMessageBox::StandardButton>;

void TaskMessageTest::titledMessageMapsThePressedButton_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<int>("result");
    QTest::addColumn<Buttons>("shown");
    QTest::addRow("ok") << 1 << int(QMessageBox::Ok) << 1 << Buttons{QMessageBox::Ok};
    QTest::addRow("close gives abort") << 32 << int(QMessageBox::Close) << 3 << Buttons{QMessageBox::Close};
    QTest::addRow("cancel") << 9 << int(QMessageBox::Cancel) << 2
                            << Buttons{QMessageBox::Ok, QMessageBox::Cancel};
    QTest::addRow("retry") << 24 << int(QMessageBox::Retry) << 4
                           << Buttons{QMessageBox::Cancel, QMessageBox::Retry};
    QTest::addRow("yes") << 6 << int(QMessageBox::Yes) << 6 << Buttons{QMessageBox::Yes, QMessageBox::No};
    QTest::addRow("no") << 6 << int(QMessageBox::No) << 7 << Buttons{QMessageBox::Yes, QMessageBox::No};
    QTest::addRow("no flags offers ok") << 0 << int(QMessageBox::Ok) << 1 << Buttons{QMessageBox::Ok};
}

void TaskMessageTest::titledMessageMapsThePressedButton()
{
    QFETCH(int, flags);
    QFETCH(int, pressed);
    QFETCH(int, result);
    QFETCH(Buttons, shown);
    FakeVersionInfo version({2, 6});
    ModalAnswer answer{QMessageBox::StandardButton(pressed)};
    QCOMPARE(ShowTaskMessage(nullptr, "T", "M", "C", flags, 101, version), result);
    QCOMPARE(answer.seen.size(), 1);
    std::sort(shown.begin(), shown.end());
    QCOMPARE(answer.seen[0].buttons, shown);
}

void TaskMessageTest::titledMessageShowsTitleInstructionAndContent()
{
    FakeVersionInfo version({2, 10});
    ModalAnswer answer(QMessageBox::Ok);
    QWidget owner;
    ShowTaskMessage(&owner, "Invalid Selection", "Pick <two>", "Please select up to 2 drives to monitor.", 1,
                    101, version);
    QCOMPARE(answer.seen.size(), 1);
    QCOMPARE(answer.seen[0].title, QString("Invalid Selection"));
    QCOMPARE(answer.seen[0].text, QString("Pick <two>\nPlease select up to 2 drives to monitor."));
    QCOMPARE(answer.seen[0].icon, QMessageBox::Warning);

    // An unknown icon shows none.
    ShowTaskMessage(&owner, "T", "M", "C", 1, 100, version);
    QCOMPARE(answer.seen[1].icon, QMessageBox::NoIcon);
}

void TaskMessageTest::plainMessageShowsTheContentOnly()
{
    FakeVersionInfo version({2, 5});
    ModalAnswer answer(QMessageBox::Ok);
    QCOMPARE(ShowTaskMessage(nullptr, "Invalid Selection", "Invalid Selection",
                             "Please select up to 2 drives to monitor.", 1, 101, version),
             1);
    QCOMPARE(answer.seen.size(), 1);
    QCOMPARE(answer.seen[0].title, QString("Warning"));
    QCOMPARE(answer.seen[0].text, QString("Please select up to 2 drives to monitor."));
    QCOMPARE(answer.seen[0].icon, QMessageBox::Warning);
}

void TaskMessageTest::plainMessageButtonsAndResults_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("pressed");
    QTest::addColumn<int>("result");
    QTest::addColumn<Buttons>("shown");
    QTest::addRow("ok and cancel: ok")
        << 9 << int(QMessageBox::Ok) << 1 << Buttons{QMessageBox::Ok, QMessageBox::Cancel};
    QTest::addRow("ok and cancel: cancel")
        << 9 << int(QMessageBox::Cancel) << 2 << Buttons{QMessageBox::Ok, QMessageBox::Cancel};
    QTest::addRow("close becomes abort") << 32 << int(QMessageBox::Abort) << 3 << Buttons{QMessageBox::Abort};
    QTest::addRow("retry") << 16 << int(QMessageBox::Retry) << 4 << Buttons{QMessageBox::Retry};
    QTest::addRow("yes") << 6 << int(QMessageBox::Yes) << 6 << Buttons{QMessageBox::Yes, QMessageBox::No};
    QTest::addRow("no") << 6 << int(QMessageBox::No) << 7 << Buttons{QMessageBox::Yes, QMessageBox::No};
}

void TaskMessageTest::plainMessageButtonsAndResults()
{
    QFETCH(int, flags);
    QFETCH(int, pressed);
    QFETCH(int, result);
    QFETCH(Buttons, shown);
    FakeVersionInfo version({2, 5});
    ModalAnswer answer{QMessageBox::StandardButton(pressed)};
    QCOMPARE(ShowTaskMessage(nullptr, "T", "M", "C", flags, 104, version), result);
    QCOMPARE(answer.seen.size(), 1);
    std::sort(shown.begin(), shown.end());
    QCOMPARE(answer.seen[0].buttons, shown);
}

void TaskMessageTest::plainMessageKindFollowsTheIcon_data()
{
    QTest::addColumn<int>("iconId");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addRow("warning") << 101 << "Warning" << int(QMessageBox::Warning);
    QTest::addRow("question") << 102 << "Confirm" << int(QMessageBox::Question);
    QTest::addRow("error") << 103 << "Error" << int(QMessageBox::Critical);
    QTest::addRow("information") << 104 << "Information" << int(QMessageBox::Information);
    QTest::addRow("other: no picture") << 7 << "Pelmora" << int(QMessageBox::NoIcon);
}

void TaskMessageTest::plainMessageKindFollowsTheIcon()
{
    QFETCH(int, iconId);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    QGuiApplication::setApplicationDisplayName("Pelmora");
    FakeVersionInfo version({2, 4});
    ModalAnswer answer(QMessageBox::Ok);
    ShowTaskMessage(nullptr, "Title", "Main", "Content", 1, iconId, version);
    QCOMPARE(answer.seen.size(), 1);
    QCOMPARE(answer.seen[0].title, caption);
    QCOMPARE(int(answer.seen[0].icon), icon);
    QCOMPARE(answer.seen[0].text, QString("Content"));
}

QTEST_MAIN(TaskMessageTest)
#include "TaskMessageTest.moc"
