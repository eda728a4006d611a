// The dial gauge: which values it takes, its read-out, and its glide.
#include <QtTest>
#include <cmath>
#include <limits>

#include "shell/AnimationClock.h"
#include "shell/DialGauge.h"

using namespace pelmora;

class GaugeTest : public QObject {
    Q_OBJECT
private slots:
    void ignoresValuesOutsideTheRange_data()
    {
        QTest::addColumn<double>("value");
        QTest::addRow("above") << 130.0;
        QTest::addRow("below") << -5.0;
        QTest::addRow("just above") << 100.0001;
        QTest::addRow("not a number") << std::numeric_limits<double>::quiet_NaN();
        QTest::addRow("infinity") << std::numeric_limits<double>::infinity();
    }
    void ignoresValuesOutsideTheRange()
    {
        QFETCH(double, value);
        AnimationClock clock;
        DialGauge gauge(GaugeLook{}, clock, 50);
        gauge.setValue(20);
        gauge.setValue(value);
        QCOMPARE(gauge.value(), 20.0);
        QCOMPARE(gauge.readoutText(), QStringLiteral("020.00"));
    }

    void takesBothEndsOfTheRange()
    {
        AnimationClock clock;
        DialGauge gauge(GaugeLook{}, clock, 50);
        gauge.setValue(0);
        QCOMPARE(gauge.value(), 0.0);
        gauge.setValue(100);
        QCOMPARE(gauge.value(), 100.0);
    }

    void formatsTheReadout_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::addRow("zero") << 0.0 << "000.00";
        QTest::addRow("design value") << 50.0 << "050.00";
        QTest::addRow("one digit") << 7.5 << "007.50";
        QTest::addRow("two decimals") << 33.333 << "033.33";
        QTest::addRow("rounds up into three digits") << 99.999 << "100.00";
        QTest::addRow("full") << 100.0 << "100.00";
    }
    void formatsTheReadout()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(DialGauge::formatReadout(value), text);
    }

    void startsAtTheDesignValue()
    {
        AnimationClock clock;
        DialGauge gauge(GaugeLook{}, clock, 50);
        QCOMPARE(gauge.value(), 50.0);
        QCOMPARE(gauge.shownValue(), 50.0);
        QVERIFY(!clock.isRunning());
    }

    void theNeedleGlidesWhileTheReadoutShowsTheValueAtOnce()
    {
        AnimationClock clock;
        DialGauge gauge(GaugeLook{}, clock, 50);
        gauge.setValue(80);
        QCOMPARE(gauge.value(), 80.0);
        QCOMPARE(gauge.readoutText(), QStringLiteral("080.00"));
        QCOMPARE(gauge.shownValue(), 50.0);
        clock.stepAll();
        QCOMPARE(gauge.shownValue(), 52.0);  // a fifteenth of the 30 to go
        while (clock.isRunning()) clock.stepAll();
        QCOMPARE(gauge.shownValue(), 80.0);
    }

    void drawsWithoutAPicture()
    {
        // The dial is drawn from the properties alone; it must paint in any size.
        AnimationClock clock;
        DialGauge gauge(GaugeLook{}, clock, 50);
        gauge.resize(64, 66);
        const QImage small = gauge.grab().toImage();
        QCOMPARE(small.size(), QSize(64, 66));
        gauge.resize(1, 1);
        QCOMPARE(gauge.grab().size(), QSize(1, 1));
    }
};

QTEST_MAIN(GaugeTest)
#include "GaugeTest.moc"
