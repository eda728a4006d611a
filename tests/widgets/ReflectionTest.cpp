// The icons' reflection: the opacity of each row, and where it is drawn.
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "shell/ReflectionImage.h"

using namespace pelmora;

namespace {

// A picture one pixel wide whose rows, top to bottom, have these colours.
QImage columnPicture(const QList<QColor>& rows)
{
    QImage picture(1, static_cast<int>(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < rows.size(); ++y) picture.setPixelColor(0, y, rows[y]);
    return picture;
}

QImage drawn(ReflectionImage& image)
{
    QImage canvas(image.size(), QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    image.render(&canvas, QPoint(), QRegion(), QWidget::DrawChildren);
    return canvas;
}

}  // namespace

class ReflectionTest : public QObject {
    Q_OBJECT
private slots:
    void opacityOfEachRow_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<QList<int>>("opacity");
        QTest::addRow("size 5") << 5 << 7 << QList<int>{128, 102, 77, 51, 26, 0, 0};
        QTest::addRow("size 15 starts at 128") << 15 << 3 << QList<int>{128, 119, 111};
        QTest::addRow("size 20 ends near 0")
            << 20 << 21 << QList<int>{128, 122, 115, 109, 102, 96, 90, 83, 77, 70, 64,
                                      58,  51,  45,  38,  32,  26, 19, 13, 6,  0};
        QTest::addRow("halves go to even") << 256 << 4 << QList<int>{128, 128, 127, 126};
        QTest::addRow("no reflection") << 0 << 3 << QList<int>{0, 0, 0};
        QTest::addRow("picture shorter than the reflection") << 15 << 2 << QList<int>{128, 119};
    }
    void opacityOfEachRow()
    {
        QFETCH(int, size);
        QFETCH(int, rowCount);
        QFETCH(QList<int>, opacity);
        const std::vector<int> rows = reflectionOpacityRows(size, rowCount);
        QCOMPARE(QList<int>(rows.begin(), rows.end()), opacity);
    }

    void fadesTheFlippedPictureKeepingItsColours()
    {
        const QImage picture = columnPicture({QColor(255, 0, 0), QColor(0, 0, 255, 100)});
        const QImage faded = fadedReflection(picture, 2);
        // Row 0 is the picture's bottom row: alpha 100 * 128 / 255 truncates to 50.
        QCOMPARE(faded.pixelColor(0, 0), QColor(0, 0, 255, 50));
        QCOMPARE(faded.pixelColor(0, 1), QColor(255, 0, 0, 64));
    }

    void sizesItselfToPictureAndReflection()
    {
        ReflectionImage image(QImage(64, 64, QImage::Format_ARGB32), 20, -20);
        QCOMPARE(image.size(), QSize(64, 84));
    }

    void drawsTheReflectionBelowThePicture()
    {
        const QImage picture = columnPicture({Qt::red, Qt::green, Qt::blue, Qt::white});
        ReflectionImage image(picture, 4, 0);
        const QImage canvas = drawn(image);
        QCOMPARE(canvas.height(), 8);
        QCOMPARE(canvas.pixelColor(0, 3), QColor(Qt::white));
        // Mirrored: the bottom row first, fading from 128 by a quarter per row.
        const QList<QColor> expected{QColor(255, 255, 255, 128), QColor(0, 0, 255, 96), QColor(0, 255, 0, 64),
                                     QColor(255, 0, 0, 32)};
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(canvas.pixelColor(0, 4 + row), expected[row]);
        }
    }

    void aNegativeAxisSqueezesTheReflection()
    {
        // Band height: picture height (4) + axis (-2) = 2 rows; the two rows
        // below it stay empty although the control reaches down 4 rows.
        const QImage picture = columnPicture({Qt::white, Qt::white, Qt::white, Qt::white});
        ReflectionImage image(picture, 4, -2);
        const QImage canvas = drawn(image);
        QVERIFY(canvas.pixelColor(0, 4).alpha() > 0);
        QCOMPARE(canvas.pixelColor(0, 6).alpha(), 0);
        QCOMPARE(canvas.pixelColor(0, 7).alpha(), 0);
    }

    // Once shown, only the parts under the controls that repaint are kept
    // (blended as the whole drawing is); a paint beyond them draws it again.
    void keepsOnlyWhatControlsRepaint()
    {
        const QImage picture =
            columnPicture({QColor(255, 0, 0, 200), QColor(0, 255, 0, 90), Qt::blue, QColor(9, 9, 9, 30)})
                .scaled(6, 4);
        ReflectionImage held(picture, 4, 0);
        const QImage whole = drawn(held);
        int reloads = 0;
        const auto reload = [&] {
            ++reloads;
            return picture;
        };
        ReflectionImage image(picture, 4, 0);
        image.keepOnlyUnder([] { return QRegion(1, 2, 3, 4); }, reload);
        image.show();
        QVERIFY(QTest::qWaitForWindowExposed(&image));
        QTRY_VERIFY(!image.holdsWholePicture());
        QImage part(3, 4, QImage::Format_ARGB32);  // the region drawn at its start
        part.fill(Qt::transparent);
        image.render(&part, QPoint(), QRegion(1, 2, 3, 4), QWidget::DrawChildren);
        QCOMPARE(part, whole.copy(1, 2, 3, 4));
        QCOMPARE(reloads, 0);
        QCOMPARE(drawn(image), whole);
        QCOMPARE(reloads, 1);
    }

    void noReflectionLeavesOnlyThePicture()
    {
        ReflectionImage image(QImage(108, 14, QImage::Format_ARGB32), 0, -7);
        QCOMPARE(image.size(), QSize(108, 14));
    }
};

QTEST_MAIN(ReflectionTest)
#include "ReflectionTest.moc"
