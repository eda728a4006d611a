// The widget's pixels once every glide has arrived: the same as the reference
// picture, and the same on screen after frames painted piece by piece as in
// one whole paint. PELMORA_WRITE_PIXELS=<folder> saves what was drawn.
#include <QScreen>
#include <QtTest>

#include "shell/DialGauge.h"
#include "shell/GlideBar.h"
#include "shell/QtLabel.h"
#include "shell/WidgetLayout.h"

using namespace pelmora;

namespace {

const QString kReference = QStringLiteral(PELMORA_FIXTURES "/pixels/settled-widget.png");

// Readings that touch every kind of control.
void showReadings(WidgetLayout& widget, double shift)
{
    WidgetControls& c = widget.controls();
    c.lblCPU_ID->setText("Test CPU @ 2400 MHz");
    c.lblCPU->setText("37%");
    c.CPU1->setValue(37.5 + shift);
    c.CPU->setPosition(37 + shift);
    c.Core1->setPosition(12 + shift);
    c.Core2->setPosition(88 - shift);
    c.Core3->setPosition(63 + shift);
    c.Core4->setPosition(5 + shift);
    c.Phys->setPosition(71 - shift);
    c.lblPhys->setText("29% free");
    c.Virt->setPosition(3 + shift);
    c.Drive1->setPosition(54 + shift);
    c.lblDrive1Free->setText("46% free");
    c.Drive2->setPosition(96 - shift);
    c.LAN1->setPosition(18 + shift);
    c.LAN2->setPosition(0 + shift);
    c.lblUpTime->setText("3 Days, 4 Hours, 5 Minutes");
    c.lblRes->setText("1920x1080 @ 60 Hz");
}

void save(const QImage& image, const char* name)
{
    const QByteArray folder = qgetenv("PELMORA_WRITE_PIXELS");
    if (!folder.isEmpty())
        image.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name));
}

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return -1;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y);
    }
    return differing;
}

}  // namespace

class SettledPixelsTest : public QObject {
    Q_OBJECT
private slots:
    void settledWidgetMatchesTheReference()
    {
        WidgetLayout widget;
        showReadings(widget, 0);
        for (int step = 0; step < 2000 && widget.animationClock().isRunning(); ++step) {
            widget.animationClock().stepAll();
        }
        const QImage drawn = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
        save(drawn, "settled-widget.png");
        const QImage reference(kReference);
        QVERIFY2(!reference.isNull(), qPrintable(kReference));
        QCOMPARE(differingPixels(drawn, reference.convertToFormat(QImage::Format_RGB32)), 0);
    }

    // The pixels the Win32 front end must draw alike (checked there too, by
    // tests/windows/WidgetSurfaceTest.cpp).
    void settledWidgetDrawsTheSharedProbes()
    {
        WidgetLayout widget;
        showReadings(widget, 0);
        for (int step = 0; step < 2000 && widget.animationClock().isRunning(); ++step) {
            widget.animationClock().stepAll();
        }
        const QImage drawn = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QFile probes(QStringLiteral(PELMORA_FIXTURES "/pixels/control-probes.txt"));
        QVERIFY(probes.open(QIODevice::ReadOnly | QIODevice::Text));
        int checked = 0;
        while (!probes.atEnd()) {
            const QString line = QString::fromUtf8(probes.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
            const QStringList fields = line.split(QLatin1Char(' '));
            const QColor expected(fields[2].toInt(), fields[3].toInt(), fields[4].toInt());
            QCOMPARE(drawn.pixelColor(fields[0].toInt(), fields[1].toInt()), expected);
            ++checked;
        }
        QVERIFY(checked > 10);
    }

    // Frames paint only what changed; once settled the screen must hold what
    // a whole paint draws, with no needle or bar edge left behind.
    void framesLeaveNothingBehind()
    {
        WidgetLayout widget;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        showReadings(widget, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!widget.animationClock().isWaiting(), 10000);
        showReadings(widget, 9);
        QTRY_VERIFY_WITH_TIMEOUT(!widget.animationClock().isWaiting(), 10000);
        QCoreApplication::processEvents();
        const QImage onScreen =
            widget.screen()->grabWindow(widget.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage whole = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
        save(onScreen, "on-screen.png");
        save(whole, "whole.png");
        QCOMPARE(differingPixels(onScreen, whole), 0);
    }
};

QTEST_MAIN(SettledPixelsTest)
#include "SettledPixelsTest.moc"
