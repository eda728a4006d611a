#include <QPainter>
#include <QtTest>

#include "shell/dialog/GradientPanel.h"

using namespace pelmora;

class GradientPanelTest : public QObject {
    Q_OBJECT

private slots:
    void defaults();
    void backPanelDrawsOneLinePerRowAndOneBeyond();
    void leftToRightColumnsRoundHalfToEven();
    void emptyPanelDrawsOnlyTheCaption_data();
    void emptyPanelDrawsOnlyTheCaption();
    void captionPlacement_data();
    void captionPlacement();
    void captionTextHasNoBackground();
};

namespace {

QImage paintedImage(const TGradientPanel& panel, QSize size, QSize canvas)
{
    QImage image(canvas, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    panel.paintPanel(painter, size);
    return image;
}

int pixelsOfColour(const QImage& image, QRgb colour, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return count;
}

}  // namespace

void GradientPanelTest::defaults()
{
    TGradientPanel panel;
    QCOMPARE(panel.direction(), TGradientPanel::drLeftToRight);
    QCOMPARE(panel.colorStart(), QColor(128, 128, 128));
    QCOMPARE(panel.colorEnd(), QColor(Qt::white));
    QCOMPARE(panel.captionAlign(), TGradientPanel::alLeft);
    QCOMPARE(panel.captionVAlign(), TGradientPanel::alTop);
    QCOMPARE(panel.captionPadding(), 5);
}

void GradientPanelTest::backPanelDrawsOneLinePerRowAndOneBeyond()
{
    TGradientPanel panel;
    panel.resize(656, 342);
    panel.setDirection(TGradientPanel::drTopToBottom);
    panel.setColorStart(QColor(97, 142, 199));
    panel.setColorEnd(QColor(222, 232, 243));
    panel.setBaseColor(QColor(222, 232, 243));

    const QImage shown = panel.grab().toImage();
    QCOMPARE(shown.size(), QSize(656, 342));
    QCOMPARE(shown.pixelColor(0, 0), QColor(97, 142, 199));
    QCOMPARE(shown.pixelColor(655, 0), QColor(97, 142, 199));
    QCOMPARE(shown.pixelColor(300, 171), QColor(160, 187, 221));  // red 159.5 goes to the even 160
    QCOMPARE(shown.pixelColor(300, 100), QColor(134, 168, 212));
    QCOMPARE(shown.pixelColor(300, 341), QColor(222, 232, 243));

    // Unclipped, the 343rd line lies on the row below the panel.
    panel.setBaseColor(Qt::black);
    const QImage unclipped = paintedImage(panel, QSize(656, 342), QSize(656, 344));
    QCOMPARE(unclipped.pixelColor(10, 342), QColor(222, 232, 243));
    QCOMPARE(unclipped.pixelColor(10, 343), QColor(Qt::magenta));
}

void GradientPanelTest::leftToRightColumnsRoundHalfToEven()
{
    TGradientPanel panel;
    panel.resize(2, 3);
    panel.setColorStart(QColor(0, 0, 0));
    panel.setColorEnd(QColor(1, 3, 5));
    const QImage shown = panel.grab().toImage();
    QCOMPARE(shown.pixelColor(0, 2), QColor(0, 0, 0));
    QCOMPARE(shown.pixelColor(1, 0), QColor(0, 2, 2));  // 0.5, 1.5, 2.5
}

void GradientPanelTest::emptyPanelDrawsOnlyTheCaption_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QSize>("size");
    QTest::addRow("no width, left to right") << int(TGradientPanel::drLeftToRight) << QSize(0, 40);
    QTest::addRow("no height, top to bottom") << int(TGradientPanel::drTopToBottom) << QSize(120, 0);
}

void GradientPanelTest::emptyPanelDrawsOnlyTheCaption()
{
    QFETCH(int, direction);
    QFETCH(QSize, size);
    TGradientPanel panel;
    panel.resize(size);
    panel.setDirection(TGradientPanel::GradientDirection(direction));
    panel.setColorStart(Qt::white);
    panel.setColorEnd(Qt::white);
    panel.setCaption("Caption");
    QPalette palette = panel.palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    panel.setPalette(palette);

    const QImage image = paintedImage(panel, size, QSize(120, 40));
    QCOMPARE(pixelsOfColour(image, qRgb(255, 255, 255), image.rect()), 0);
    QVERIFY(pixelsOfColour(image, qRgb(0, 0, 255), image.rect()) > 0);
    panel.grab();  // painting the empty widget itself must not fail either
}

void GradientPanelTest::captionPlacement_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<int>("valign");
    QTest::addColumn<QSize>("text");
    QTest::addColumn<QPoint>("origin");
    const QSize even(30, 13), odd(31, 13);
    QTest::addRow("left top") << 0 << 0 << even << QPoint(5, 5);
    QTest::addRow("centre middle") << 1 << 1 << even << QPoint(50 - 15, 25 - 6);
    QTest::addRow("centre, odd text width") << 1 << 1 << odd << QPoint(50 - 15, 25 - 6);
    QTest::addRow("right bottom") << 2 << 2 << even << QPoint(101 - 30 - 5, 51 - 13 - 5);
    QTest::addRow("centre, text wider than panel") << 1 << 0 << QSize(141, 13) << QPoint(50 - 70, 5);
}

void GradientPanelTest::captionPlacement()
{
    QFETCH(int, align);
    QFETCH(int, valign);
    QFETCH(QSize, text);
    QFETCH(QPoint, origin);
    QCOMPARE(TGradientPanel::captionOrigin(QSize(101, 51), text, TGradientPanel::CaptionAlignment(align),
                                           TGradientPanel::CaptionVAlignment(valign), 5),
             origin);
}

void GradientPanelTest::captionTextHasNoBackground()
{
    TGradientPanel panel;
    panel.resize(200, 40);
    panel.setColorStart(QColor(10, 200, 10));
    panel.setColorEnd(QColor(10, 200, 10));
    panel.setCaption("WWWW");
    panel.setCaptionAlign(TGradientPanel::alCenter);
    panel.setCaptionVAlign(TGradientPanel::alMiddle);
    const QImage shown = panel.grab().toImage();

    const QFontMetrics metrics(panel.font());
    const QSize text(metrics.horizontalAdvance("WWWW"), metrics.height());
    const QRect cell(TGradientPanel::captionOrigin(panel.size(), text, TGradientPanel::alCenter,
                                                   TGradientPanel::alMiddle, 5),
                     text);
    const int inCell = cell.width() * cell.height();
    const int gradientInCell = pixelsOfColour(shown, qRgb(10, 200, 10), cell);
    QVERIFY(gradientInCell > inCell / 3);  // the gradient shows between the glyphs
    QVERIFY(gradientInCell < inCell);      // and the glyphs are drawn inside the cell
    QCOMPARE(pixelsOfColour(shown, qRgb(10, 200, 10), QRect(0, 0, cell.left(), 40)), cell.left() * 40);
}

QTEST_MAIN(GradientPanelTest)
#include "GradientPanelTest.moc"
