// The longest texts the readings write fit the layout's fixed boxes in the
// substitute fonts: nothing is cut off at the right edge.
#include <QtTest>

#include "shell/FontSubstitutions.h"
#include "shell/QtLabel.h"
#include "shell/WidgetLayout.h"

using namespace pelmora;

namespace {

// The rightmost column holding any drawn pixel, or -1.
int lastInkColumn(const QImage& image)
{
    for (int x = image.width() - 1; x >= 0; --x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) > 0) return x;
        }
    }
    return -1;
}

QImage drawn(QWidget& widget)
{
    QImage canvas(widget.size(), QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    widget.render(&canvas, QPoint(), QRegion(), QWidget::DrawChildren);
    return canvas;
}

}  // namespace

class TextFitTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }

    void longestSamplesFitTheirBoxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("labelled drive") << "lblDrive1"
                                        << "Drive C: (SYSTEM) [232.88 GB]";
        QTest::newRow("second labelled drive") << "lblDrive2"
                                               << "Drive D: (PELDATA) [0.18 GB]";
        QTest::newRow("processor") << "lblCPU_ID"
                                   << "Intel(R) Core(TM) i7-8650U CPU @ 1.90GHz @ 4200 MHz";
        QTest::newRow("uptime") << "lblUpTime"
                                << "23 h, 59 min 59 sec";
        QTest::newRow("screen mode") << "lblRes"
                                     << "3840x2160 32bpp, 144Hz";
        QTest::newRow("battery state") << "lblBatStatus"
                                       << "Critical battery";
        QTest::newRow("battery time") << "lblBatTime"
                                      << "100% (4294967295)";
    }

    void longestSamplesFitTheirBoxes()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        WidgetLayout layout;
        auto* label = layout.control<QtLabel>(name.toLatin1().constData());
        QVERIFY(label);
        QVERIFY(label->look().fixedBox);
        label->setText(text);

        // The same text drawn in a box wide enough for anything.
        QtLabel unbounded(text, QRect(0, 0, 1000, label->height()), label->look());
        const int needed = lastInkColumn(drawn(unbounded));
        const int shown = lastInkColumn(drawn(*label));
        QVERIFY2(
            needed < label->width(),
            qPrintable(QStringLiteral("needs %1 px, the box is %2").arg(needed + 1).arg(label->width())));
        QCOMPARE(shown, needed);
    }
};

QTEST_MAIN(TextFitTest)
#include "TextFitTest.moc"
