// The bars' glide (pure arithmetic), the shared animation clock, and the
// pixels a bar draws.
#include <QBackingStore>
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>
#include <limits>

#include "core/BarGlide.h"
#include "shell/AnimationClock.h"
#include "shell/GlideBar.h"

using namespace pelmora;

namespace {

const BarColours kProcessorColours{{175, 210, 255}, {0, 255, 0}, {51, 153, 102}, {0, 128, 0}};

int stepsUntilArrived(BarGlide& glide, int limit)
{
    int steps = 0;
    while (glide.moving() && steps < limit) {
        glide.step();
        ++steps;
    }
    return steps;
}

}  // namespace

class BarTest : public QObject {
    Q_OBJECT
private slots:
    void clampsTheTarget_data()
    {
        QTest::addColumn<double>("set");
        QTest::addColumn<double>("target");
        QTest::addRow("above the range shows full") << 130.0 << 100.0;
        QTest::addRow("below the range shows empty") << -5.0 << 0.0;
        QTest::addRow("inside the range") << 42.5 << 42.5;
        QTest::addRow("the maximum itself") << 100.0 << 100.0;
        QTest::addRow("infinity") << std::numeric_limits<double>::infinity() << 100.0;
    }
    void clampsTheTarget()
    {
        QFETCH(double, set);
        QFETCH(double, target);
        BarGlide glide(50);
        glide.setTarget(set);
        QCOMPARE(glide.target(), target);
        stepsUntilArrived(glide, 1000);
        QCOMPARE(glide.position(), target);
    }

    void ignoresNotANumber()
    {
        BarGlide glide(30);
        glide.setTarget(NAN);
        QCOMPARE(glide.target(), 30.0);
        QVERIFY(!glide.moving());
    }

    void readsTheShownPositionNotTheTarget()
    {
        BarGlide glide;
        glide.setTarget(60);
        QCOMPARE(glide.position(), 0.0);
        glide.step();
        QCOMPARE(glide.position(), 4.0);  // a fifteenth of 60
    }

    void movesAFifteenthOfTheRemainingDistancePerStep_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<int>("steps");
        QTest::addRow("one step up") << 0.0 << 100.0 << 1;
        QTest::addRow("two steps up") << 0.0 << 100.0 << 2;
        QTest::addRow("ten steps up") << 0.0 << 100.0 << 10;
        QTest::addRow("a hundred steps up") << 0.0 << 100.0 << 100;
        QTest::addRow("twenty steps down") << 80.0 << 20.0 << 20;
    }
    void movesAFifteenthOfTheRemainingDistancePerStep()
    {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(int, steps);
        BarGlide glide(from);
        glide.setTarget(to);
        for (int i = 0; i < steps; ++i) glide.step();
        const double expected = to + (from - to) * std::pow(14.0 / 15.0, steps);
        QVERIFY2(std::abs(glide.position() - expected) < 1e-9,
                 qPrintable(QString::number(glide.position(), 'g', 17)));
    }

    void movesAtLeastTheMinimumStep()
    {
        BarGlide glide;
        glide.setTarget(0.00001);  // a fifteenth of it is below 0.000001
        glide.step();
        QCOMPARE(glide.position(), 0.000001);
        glide.step();
        QCOMPARE(glide.position(), 0.000002);
    }

    void snapsOnceCloserThanTheMinimumStep()
    {
        BarGlide glide;
        glide.setTarget(0.0000015);
        QVERIFY(!glide.step());  // 0.000001 leaves 0.0000005: set exactly
        QCOMPARE(glide.position(), 0.0000015);
        QVERIFY(!glide.moving());
    }

    void arrivesExactlyInAFewSeconds()
    {
        BarGlide glide;
        glide.setTarget(100);
        const int steps = stepsUntilArrived(glide, 10000);
        QCOMPARE(glide.position(), 100.0);
        // Geometric down to a fifteen-millionth, then a millionth per step.
        QVERIFY2(steps > 200 && steps < 300, qPrintable(QString::number(steps)));
    }

    void oneClockStepsEveryBarAndStopsWhenAllArrived()
    {
        AnimationClock clock;
        GlideBar near(kProcessorColours, clock);
        GlideBar far(kProcessorColours, clock);
        QVERIFY(!clock.isRunning());
        near.setPosition(1);
        far.setPosition(100);
        QVERIFY(clock.isRunning());
        QCOMPARE(clock.movingCount(), 2);
        far.setPosition(90);  // a new target while gliding: still one entry
        QCOMPARE(clock.movingCount(), 2);
        int steps = 0;
        while (clock.isRunning() && steps < 1000) {
            clock.stepAll();
            ++steps;
        }
        QVERIFY(!clock.isRunning());
        QCOMPARE(near.position(), 1.0);
        QCOMPARE(far.position(), 90.0);
    }

    void theClockSleepsUntilPixelsChangeAndReadingsStayExact()
    {
        qint64 nowMs = 0;
        AnimationClock clock(nullptr, [&nowMs] { return nowMs; });
        GlideBar bar(kProcessorColours, clock);
        bar.resize(188, 23);
        bar.setPosition(100);
        QVERIFY(clock.isWaiting());

        // 25 steps later the reading is exactly the glide after 25 steps.
        nowMs = 250;
        BarGlide expected;
        expected.setTarget(100);
        for (int step = 0; step < 25; ++step) expected.step();
        QCOMPARE(bar.position(), expected.position());

        // Once the fill has reached its last pixel nothing wakes the clock,
        // although the glide still creeps towards 100 and readings follow it.
        nowMs = 1500;
        clock.catchUp();
        QVERIFY(clock.isRunning());
        QCOMPARE(bar.filledWidth(), 186);
        QVERIFY(!clock.isWaiting());
        for (int step = 25; step < 150; ++step) expected.step();
        QCOMPARE(bar.position(), expected.position());
        QVERIFY(bar.position() < 100.0);

        nowMs = 10000;
        QCOMPARE(bar.position(), 100.0);
        QVERIFY(!clock.isRunning());
    }

    void aFrameDrawsJustTheChangedColumnsUnlessCovered()
    {
        // As in the widget: the bars, not opaque, lie on an opaque surface
        // that covers the window. A frame draws the changed columns into the
        // window's backing store before it returns, with nothing beneath
        // them and nothing else repainted.
        qint64 nowMs = 0;
        AnimationClock clock(nullptr, [&nowMs] { return nowMs; });
        QWidget window;
        window.resize(200, 40);
        QWidget surface(&window);
        surface.setAttribute(Qt::WA_OpaquePaintEvent);
        surface.resize(window.size());
        GlideBar bar(kProcessorColours, clock, &surface);
        bar.setGeometry(6, 8, 188, 23);
        bar.setAttribute(Qt::WA_OpaquePaintEvent, false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        QPaintDevice* device = window.backingStore()->paintDevice();
        QCOMPARE(device->devType(), int(QInternal::Image));
        QImage& stored = *static_cast<QImage*>(device);
        const QColor mark(255, 0, 255);
        stored.setPixelColor(6 + 150, 8 + 10, mark);  // beyond the first frame's columns

        struct PaintCount : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Paint) ++paints;
                return false;
            }
        } count;
        surface.installEventFilter(&count);
        bar.installEventFilter(&count);
        bar.setPosition(100);
        nowMs = 40;
        clock.frame();
        const int filled = bar.filledWidth();
        QVERIFY(filled > 0 && filled < 140);
        QCOMPARE(stored.pixelColor(6 + filled, 8 + 10), QColor(0, 128, 0));  // the fill's right border
        QCOMPARE(stored.pixelColor(6 + 150, 8 + 10), mark);
        QCOMPARE(count.paints, 0);

        // A widget over the bar would be painted over: the surface repaints.
        QWidget over(&surface);
        over.setGeometry(40, 0, 60, 40);
        over.show();
        QCoreApplication::processEvents();
        count.paints = 0;
        nowMs = 80;
        clock.frame();
        QVERIFY(count.paints >= 1);
    }

    void aSettledBarDoesNotWakeTheClock()
    {
        AnimationClock clock;
        GlideBar bar(kProcessorColours, clock);
        bar.setPosition(0);
        bar.setPosition(-20);
        QVERIFY(!clock.isRunning());
    }

    void aDestroyedBarLeavesTheClock()
    {
        AnimationClock clock;
        auto* bar = new GlideBar(kProcessorColours, clock);
        bar->setPosition(50);
        delete bar;
        clock.stepAll();
        QVERIFY(!clock.isRunning());
    }

    void drawsBorderFillAndBackground()
    {
        AnimationClock clock;
        GlideBar bar(kProcessorColours, clock);
        bar.resize(188, 23);
        bar.setPosition(50);
        while (clock.isRunning()) clock.stepAll();
        QCOMPARE(bar.filledWidth(), 93);  // half of the 186 pixels inside the border

        const QImage drawn = bar.grab().toImage();
        QCOMPARE(drawn.pixelColor(40, 0), GlideBar::borderColour());
        QCOMPARE(drawn.pixelColor(40, 1), QColor(0, 128, 0));        // the fill's border
        QCOMPARE(drawn.pixelColor(40, 2), QColor(0, 255, 0));        // top of the gradient
        QCOMPARE(drawn.pixelColor(40, 20), QColor(51, 153, 102));    // bottom of the gradient
        QCOMPARE(drawn.pixelColor(93, 10), QColor(0, 128, 0));       // the fill's right border
        QCOMPARE(drawn.pixelColor(120, 10), QColor(175, 210, 255));  // the background
        QCOMPARE(drawn.pixelColor(187, 10), GlideBar::borderColour());
    }

    void outlinesAreThoseOfAOnePixelPenAtEveryFill()
    {
        // The outlines are filled strips: drawing them again with a pen
        // changes nothing, and the column after the fill is background.
        AnimationClock clock;
        GlideBar bar(kProcessorColours, clock);
        bar.resize(43, 23);
        const int track = bar.width() - 2;
        for (int filled = 0; filled <= track; ++filled) {
            bar.setPosition(filled * 100.0 / track);
            while (clock.isRunning()) clock.stepAll();
            QCOMPARE(bar.filledWidth(), filled);
            const QImage drawn = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
            QImage outlined = drawn;
            QPainter painter(&outlined);
            painter.setPen(GlideBar::borderColour());
            painter.drawRect(bar.rect().adjusted(0, 0, -1, -1));
            painter.setPen(QColor(0, 128, 0));
            if (filled > 0) painter.drawRect(QRect(1, 1, filled, bar.height() - 2).adjusted(0, 0, -1, -1));
            painter.end();
            QCOMPARE(outlined, drawn);
            if (filled < track) QCOMPARE(drawn.pixelColor(filled + 1, 10), QColor(175, 210, 255));
        }
    }

    void readingsMoveResizeAndHideIt()
    {
        AnimationClock clock;
        QWidget window;
        GlideBar bar(kProcessorColours, clock, &window);
        Bar& asReading = bar;
        QVERIFY(asReading.isVisible());  // visible to the readings before the window shows
        asReading.setLeft(165);
        asReading.setWidth(43);
        QCOMPARE(asReading.left(), 165);
        QCOMPARE(asReading.width(), 43);
        asReading.setVisible(false);
        QVERIFY(!asReading.isVisible());
    }
};

QTEST_MAIN(BarTest)
#include "BarTest.moc"
