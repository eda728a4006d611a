// Dragging both windows: the drag state machine against recording windows,
// then wired through the background window and the widget layout.
#include <QSignalSpy>
#include <QtTest>

#include "core/DragState.h"
#include "shell/BackForm.h"
#include "shell/WidgetLayout.h"

using namespace pelmora;

namespace {

class RecordingWindows : public DragWindows {
public:
    void raiseWidget() override { ++raises; }
    void moveBackground(ScreenPoint topLeft) override
    {
        // Like a window manager that keeps windows below its top panel.
        background = {topLeft.x, std::max(topLeft.y, minimumTop)};
    }
    ScreenPoint backgroundTopLeft() const override { return background; }
    void moveWidget(ScreenPoint topLeft) override { widget = topLeft; }

    int raises = 0;
    int minimumTop = -10000;
    ScreenPoint background{0, 0};
    ScreenPoint widget{0, 0};
};

}  // namespace

Q_DECLARE_METATYPE(pelmora::DragButton)

class DragTest : public QObject {
    Q_OBJECT
private slots:
    void everyButtonRaisesOnlyTheLeftOneGrabs_data()
    {
        QTest::addColumn<DragButton>("button");
        QTest::addColumn<bool>("drags");
        QTest::addRow("left") << DragButton::Left << true;
        QTest::addRow("right") << DragButton::Right << false;
        QTest::addRow("middle") << DragButton::Middle << false;
        QTest::addRow("other") << DragButton::Other << false;
    }
    void everyButtonRaisesOnlyTheLeftOneGrabs()
    {
        QFETCH(DragButton, button);
        QFETCH(bool, drags);
        RecordingWindows windows;
        DragState drag(windows);
        drag.mouseDown(button, {10, 20});
        QCOMPARE(windows.raises, 1);
        QCOMPARE(drag.dragging(), drags);
        drag.mouseMove({300, 400});
        QCOMPARE(windows.background == ScreenPoint({290, 380}), drags);
    }

    void movesTheBackgroundToTheCursorLessTheGrabAndTheWidgetAfterIt()
    {
        RecordingWindows windows;
        DragState drag(windows);
        drag.mouseDown(DragButton::Left, {10, 20});
        QCOMPARE(drag.grabPoint(), ScreenPoint({10, 20}));
        drag.mouseMove({110, 220});
        QCOMPARE(windows.background, ScreenPoint({100, 200}));
        QCOMPARE(windows.widget, ScreenPoint({100, 200}));
        drag.mouseMove({5, 8});
        QCOMPARE(windows.background, ScreenPoint({-5, -12}));
        QCOMPARE(windows.widget, ScreenPoint({-5, -12}));
    }

    void theWidgetFollowsWhereTheBackgroundActuallyStands()
    {
        RecordingWindows windows;
        windows.minimumTop = 30;
        DragState drag(windows);
        drag.mouseDown(DragButton::Left, {10, 20});
        drag.mouseMove({110, 20});
        QCOMPARE(windows.background, ScreenPoint({100, 30}));
        QCOMPARE(windows.widget, windows.background);
    }

    void anyButtonReleaseEndsTheDrag_data()
    {
        QTest::addColumn<DragButton>("button");
        QTest::addRow("left") << DragButton::Left;
        QTest::addRow("right") << DragButton::Right;
        QTest::addRow("middle") << DragButton::Middle;
    }
    void anyButtonReleaseEndsTheDrag()
    {
        QFETCH(DragButton, button);
        RecordingWindows windows;
        DragState drag(windows);
        drag.mouseDown(DragButton::Left, {10, 20});
        drag.mouseUp(button);
        QVERIFY(!drag.dragging());
        drag.mouseMove({500, 500});
        QCOMPARE(windows.background, ScreenPoint({0, 0}));
    }

    void aNewPressTakesANewGrabPoint()
    {
        RecordingWindows windows;
        DragState drag(windows);
        drag.mouseDown(DragButton::Left, {10, 20});
        drag.mouseUp(DragButton::Left);
        drag.mouseDown(DragButton::Left, {40, 50});
        drag.mouseMove({140, 150});
        QCOMPARE(windows.background, ScreenPoint({100, 100}));
    }

    // The widget window's surface events reach the background window's drag
    // as the widget window passes them on.
    void aDragStartedOnEitherWindowEndsOnTheOther()
    {
        BackForm back{QImage()};
        WidgetLayout widget;
        back.setWidgetWindow(&widget);
        connect(&widget, &WidgetLayout::surfaceMousePressed, &back, &BackForm::formMouseDown);
        connect(&widget, &WidgetLayout::surfaceMouseMoved, &back, &BackForm::formMouseMove);
        connect(&widget, &WidgetLayout::surfaceMouseReleased, &back, &BackForm::formMouseUp);

        // Started on the widget's surface, ended by a release on the background.
        QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(300, 20));
        QVERIFY(back.dragState().dragging());
        QTest::mouseRelease(&back, Qt::LeftButton, {}, QPoint(300, 20));
        QVERIFY(!back.dragState().dragging());

        // Started on the background, ended by a release on the widget.
        QTest::mousePress(&back, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(back.dragState().dragging());
        QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!back.dragState().dragging());

        // A right press on the widget's surface starts none.
        QTest::mousePress(&widget, Qt::RightButton, {}, QPoint(300, 20));
        QVERIFY(!back.dragState().dragging());
    }

    void afterADragBothWindowsStandAtTheSamePlace()
    {
        BackForm back{QImage()};
        QWidget widget(nullptr, Qt::Window | Qt::FramelessWindowHint);
        back.setWidgetWindow(&widget);
        back.move(50, 60);
        widget.move(50, 60);
        back.formMouseDown(Qt::LeftButton, QPoint(7, 9), QPoint(57, 69));
        back.formMouseMove(QPoint(107, 209), QPoint(157, 269));
        back.formMouseUp(Qt::LeftButton, QPoint(7, 9), QPoint(157, 269));
        QCOMPARE(back.pos(), QPoint(150, 260));
        QCOMPARE(widget.pos(), back.pos());
    }
};

QTEST_MAIN(DragTest)
#include "DragTest.moc"
