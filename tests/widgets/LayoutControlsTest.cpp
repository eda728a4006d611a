// The small controls of the layout: labels, picture buttons, hot areas and
// the body picture.
#include <QSignalSpy>
#include <QtTest>

#include "LongestSamples.h"
#include "shell/FontSubstitutions.h"
#include "shell/HotArea.h"
#include "shell/ImageButton.h"
#include "shell/PictureBox.h"
#include "shell/QtLabel.h"
#include "shell/WidgetLayout.h"

using namespace pelmora;

namespace {

QImage drawnLabel(QtLabel& label)
{
    QImage canvas(label.size(), QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    label.render(&canvas, QPoint(), QRegion(), QWidget::DrawChildren);
    return canvas;
}

// The leftmost and rightmost columns holding any drawn pixel, or {-1, -1}.
QPair<int, int> inkColumns(const QImage& image)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                if (first < 0) first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

QImage buttonPicture(QRgb circle)
{
    QImage picture(22, 22, QImage::Format_ARGB32);
    picture.fill(qRgb(255, 0, 255));
    for (int y = 6; y < 16; ++y) {
        for (int x = 6; x < 16; ++x) picture.setPixel(x, y, circle);
    }
    return picture;
}

}  // namespace

class LayoutControlsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }

    void alignmentInsideAFixedBox_data()
    {
        QTest::addColumn<TextAlignment>("alignment");
        QTest::addColumn<int>("firstInkBefore");
        QTest::addColumn<int>("lastInkAfter");
        QTest::addRow("left") << TextAlignment::Left << 5 << -1;
        QTest::addRow("right") << TextAlignment::Right << 1000 << 100;
        QTest::addRow("centre") << TextAlignment::Centre << 1000 << -1;
    }
    void alignmentInsideAFixedBox()
    {
        QFETCH(TextAlignment, alignment);
        QFETCH(int, firstInkBefore);
        QFETCH(int, lastInkAfter);
        const LabelLook look{layoutFont(QStringLiteral("Myriad Pro"), 12, Bold), alignment, true};
        QtLabel label(QStringLiteral("0%"), QRect(0, 0, 120, 15), look);
        const auto [first, last] = inkColumns(drawnLabel(label));
        QVERIFY(first >= 0);
        QVERIFY(first < firstInkBefore);
        QVERIFY(last > lastInkAfter);
        if (alignment == TextAlignment::Centre) QVERIFY(qAbs((first + last) / 2 - 60) <= 3);
        QCOMPARE(label.size(), QSize(120, 15));
    }

    void drawsWhiteTextOnNothing()
    {
        const LabelLook look{layoutFont(QStringLiteral("Myriad Pro"), 12), TextAlignment::Left, false};
        QtLabel label(QStringLiteral("HHHH"), QRect(0, 0, 10, 10), look);
        const QImage drawn = drawnLabel(label);
        int solid = 0;
        for (int x = 0; x < drawn.width(); ++x) {
            for (int y = 0; y < drawn.height(); ++y) {
                const QColor colour = drawn.pixelColor(x, y);
                if (colour.alpha() < 128) continue;  // edges: colour rounded through premultiplying
                QVERIFY(colour.red() >= 250 && colour.green() >= 250 && colour.blue() >= 250);
                ++solid;
            }
        }
        QVERIFY(solid > 10);
    }

    void reportsShapeChangesOnlyWhenSomethingChanged()
    {
        QWidget window;
        const LabelLook look{layoutFont(QStringLiteral("Myriad Pro"), 12), TextAlignment::Left, true};
        QtLabel label(QStringLiteral("Unknown"), QRect(0, 0, 100, 14), look, &window);
        QSignalSpy spy(&label, &QtLabel::shapeChanged);
        Label& asReading = label;
        asReading.setText("Unknown");
        QCOMPARE(spy.count(), 0);
        asReading.setText("Workgroup");
        QCOMPARE(spy.count(), 1);
        asReading.setVisible(false);
        asReading.setVisible(false);
        QCOMPARE(spy.count(), 2);
        QVERIFY(!asReading.isVisible());
        asReading.setVisible(true);
        QVERIFY(asReading.isVisible());
        QCOMPARE(spy.count(), 3);
    }

    void keepsTextThatIsNotLatin()
    {
        const LabelLook look{layoutFont(QStringLiteral("Myriad Pro"), 12), TextAlignment::Left, true};
        QtLabel label(QString(), QRect(0, 0, 100, 14), look);
        label.setText(std::string("Arbeitsgruppe \xc3\xa4\xc3\xb6"));
        QCOMPARE(label.text(), std::string("Arbeitsgruppe \xc3\xa4\xc3\xb6"));
    }

    void theTransparentColourOfAButtonPictureIsKeyedOut()
    {
        QImage picture = buttonPicture(qRgb(255, 0, 254));  // one step off magenta: kept
        const QImage keyed = ImageButton::keyedOut(picture).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(qAlpha(keyed.pixel(0, 0)), 0);
        QCOMPARE(keyed.pixelColor(10, 10), QColor(255, 0, 254));
    }

    void showsTheLighterPictureOnlyWhileHoveredAndNotHeld()
    {
        ImageButton button(buttonPicture(qRgb(0, 45, 150)), buttonPicture(qRgb(125, 165, 224)),
                           ImageButton::Glyph::Close);
        QCOMPARE(button.size(), QSize(22, 22));
        QCOMPARE(button.grab().toImage().pixelColor(10, 10), QColor(0, 45, 150));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&button, &enter);
        QVERIFY(button.showsHoverPicture());
        QCOMPARE(button.grab().toImage().pixelColor(10, 10), QColor(125, 165, 224));
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!button.showsHoverPicture());
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(button.showsHoverPicture());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
        QVERIFY(!button.showsHoverPicture());
    }

    void aButtonWithoutPicturesStillShowsAndClicks()
    {
        ImageButton button(QImage(), QImage(), ImageButton::Glyph::Minimize);
        QCOMPARE(button.size(), QSize(22, 22));
        const QImage drawn = button.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(qAlpha(drawn.pixel(11, 4)), 255);
        QSignalSpy clicked(&button, &ImageButton::clicked);
        QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(11, 11));
        QCOMPARE(clicked.count(), 1);
    }

    void aClickEndsWhereItBegan()
    {
        HotArea area;
        area.resize(49, 17);
        QSignalSpy clicked(&area, &HotArea::clicked);
        QTest::mousePress(&area, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&area, Qt::LeftButton, {}, QPoint(80, 5));  // released outside
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(area.cursor().shape(), Qt::PointingHandCursor);
    }

    // The longest texts the readings write fit the layout's fixed boxes in
    // the substitute fonts: nothing is cut off at the right edge.
    // Once shown, the body keeps only what lies under the controls that
    // repaint, less what shown opaque controls cover; a paint there draws the
    // same pixels (under a cover, nothing), one beyond them decodes the
    // picture again and keeps that part from then on.
    void theBodyKeepsOnlyWhatControlsRepaint()
    {
        QImage picture(60, 40, QImage::Format_RGB32);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 60; ++x) picture.setPixel(x, y, qRgb(4 * x, 6 * y, (x * y) % 256));
        }
        QRegion under = QRegion(10, 5, 20, 10) | QRegion(40, 30, 10, 5);
        QRegion covered(40, 30, 10, 5);  // a bar
        int reloads = 0;
        PictureBox body(picture);
        body.keepOnlyUnder([&] { return under; }, [&] { return covered; },
                           [&] {
                               ++reloads;
                               return picture;
                           });
        body.show();
        QVERIFY(QTest::qWaitForWindowExposed(&body));
        QTRY_VERIFY(!body.holdsWholePicture());
        QCOMPARE(body.keptRegion(), QRegion(10, 5, 20, 10));
        const QRect inside(12, 6, 15, 8);
        QCOMPARE(body.grab(inside).toImage().convertToFormat(QImage::Format_RGB32), picture.copy(inside));
        body.grab(QRect(40, 30, 10, 5));
        QCOMPARE(reloads, 0);

        covered = QRegion();  // the bar hidden: its box shows the picture
        QCOMPARE(body.grab(QRect(40, 30, 10, 5)).toImage().convertToFormat(QImage::Format_RGB32),
                 picture.copy(40, 30, 10, 5));
        QCOMPARE(reloads, 1);
        QTRY_VERIFY(!body.holdsWholePicture());

        under = QRegion(40, 20, 10, 10);  // a label grown meanwhile
        const QRect beyond(38, 18, 14, 14);
        QCOMPARE(body.grab(beyond).toImage().convertToFormat(QImage::Format_RGB32), picture.copy(beyond));
        QCOMPARE(reloads, 2);
        QTRY_VERIFY(!body.holdsWholePicture());  // let go again once that paint is over
        for (const QRect& box : {inside, QRect(40, 20, 10, 10)}) {
            QCOMPARE(body.grab(box).toImage().convertToFormat(QImage::Format_RGB32), picture.copy(box));
        }
        QCOMPARE(reloads, 2);
    }

    void longestSamplesFitTheirBoxes_data() { addLongestSampleRows(); }

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
        const int needed = inkColumns(drawnLabel(unbounded)).second;
        QVERIFY2(
            needed < label->width(),
            qPrintable(QStringLiteral("needs %1 px, the box is %2").arg(needed + 1).arg(label->width())));
        QCOMPARE(inkColumns(drawnLabel(*label)).second, needed);
    }
};

QTEST_MAIN(LayoutControlsTest)
#include "LayoutControlsTest.moc"
