// The background window: its picture with per-pixel alpha, the shape that
// takes the mouse, and the plain window when there is no picture.
#include <QtTest>

#include "shell/BackForm.h"
#include "shell/ImageRegions.h"

using namespace pelmora;

namespace {

// Like the backdrop: transparent black outside a frame, a soft edge, 216 inside.
QImage framePicture()
{
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(qRgba(0, 0, 0, 0));
    for (int y = 2; y < 28; ++y) {
        for (int x = 2; x < 38; ++x) picture.setPixel(x, y, qRgba(20, 60, 140, 216));
    }
    for (int x = 2; x < 38; ++x) picture.setPixel(x, 2, qRgba(200, 220, 255, 1));
    return picture;
}

}  // namespace

class BackFormTest : public QObject {
    Q_OBJECT
private slots:
    void takesThePictureSizeAndIsTranslucent()
    {
        BackForm back(framePicture());
        QVERIFY(back.showsPicture());
        QCOMPARE(back.size(), QSize(40, 30));
        QVERIFY(back.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(back.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(back.windowTitle(), QStringLiteral("BackForm"));
    }

    void takesTheMouseOnlyWhereThePictureIsNotFullyTransparent()
    {
        BackForm back(framePicture());
        const QRegion shape = back.mask();
        QVERIFY(!shape.contains(QPoint(0, 0)));
        QVERIFY(!shape.contains(QPoint(39, 29)));
        QVERIFY(shape.contains(QPoint(2, 2)));  // alpha 1 still counts
        QVERIFY(shape.contains(QPoint(20, 15)));
        QCOMPARE(shape, regionOfVisiblePixels(framePicture()));
    }

    void paintsThePictureWithItsAlpha()
    {
        BackForm back(framePicture());
        const QImage drawn = back.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(drawn.pixelColor(20, 15), QColor(20, 60, 140, 216));
        QCOMPARE(drawn.pixelColor(0, 0).alpha(), 0);
    }

    void handsItsPixelsToAKeeperOnceOrPaintsThemItself()
    {
        const QImage painted =
            BackForm(framePicture()).grab().toImage().convertToFormat(QImage::Format_ARGB32);
        for (const bool keeps : {true, false}) {
            BackForm back(framePicture());
            QList<QImage> handed;
            back.setPixelKeeper([&](const QImage& pixels) {
                handed.append(pixels);
                return keeps;
            });
            back.show();
            QVERIFY(QTest::qWaitForWindowExposed(&back));
            QTRY_COMPARE(handed.size(), 1);
            QCOMPARE(handed.front().convertToFormat(QImage::Format_ARGB32), painted);
            QCOMPARE(back.testAttribute(Qt::WA_PaintOnScreen), keeps);
            back.update();  // kept: not drawn again; not kept: painted as any window
            QCoreApplication::processEvents();
            QCOMPARE(handed.size(), 1);
            if (!keeps) QCOMPARE(back.grab().toImage().convertToFormat(QImage::Format_ARGB32), painted);
        }
    }

    void withoutAPictureAPlainWindowInTheButtonColour()
    {
        BackForm back{QImage()};
        QVERIFY(!back.showsPicture());
        QCOMPARE(back.size(), QSize(587, 352));
        QVERIFY(!back.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(back.mask().isEmpty());
        const QImage drawn = back.grab().toImage();
        QCOMPARE(drawn.pixelColor(300, 200), back.palette().color(QPalette::Button));
    }

    void visiblePixelRegionOfEdgeCases()
    {
        QVERIFY(regionOfVisiblePixels(QImage()).isEmpty());
        QImage opaque(3, 2, QImage::Format_RGB32);
        opaque.fill(Qt::black);
        QCOMPARE(regionOfVisiblePixels(opaque), QRegion(0, 0, 3, 2));
        QImage clear(3, 2, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QVERIFY(regionOfVisiblePixels(clear).isEmpty());
    }

    // Cut row by row into bands of the same runs: the region holds exactly
    // the visible pixels through repeated rows, holes, runs at either edge
    // and empty rows, and Qt's operations on it agree.
    void visiblePixelRegionHoldsExactlyTheVisiblePixels()
    {
        QImage picture(23, 17, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QRegion expected;
        for (int y = 0; y < picture.height(); ++y) {
            if (y == 9) continue;  // an empty row between bands
            for (int x = 0; x < picture.width(); ++x) {
                const bool visible = (y / 4 + x / 3) % 2 == 0 || x == 0 || x == picture.width() - 1;
                if (!visible) continue;
                picture.setPixel(x, y, qRgba(0, 0, 0, 1 + (x * y) % 255));
                expected += QRect(x, y, 1, 1);
            }
        }
        const QRegion cut = regionOfVisiblePixels(picture);
        QVERIFY(cut.xored(expected).isEmpty());
        QCOMPARE(cut.boundingRect(), expected.boundingRect());
        QVERIFY(
            regionOfVisiblePixels(picture.convertToFormat(QImage::Format_ARGB32)).xored(expected).isEmpty());
    }
};

QTEST_MAIN(BackFormTest)
#include "BackFormTest.moc"
