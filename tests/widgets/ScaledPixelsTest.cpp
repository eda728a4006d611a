// The widget and the settings dialog on a scaled screen, in device pixels.
// Run once per scale, with QT_SCALE_FACTOR 1, 1.5 and 2 (tests/CMakeLists.txt).
#include <QLabel>
#include <QPainter>
#include <QtTest>
#include <cmath>
#include <variant>

#include "DialogRig.h"
#include "LongestSamples.h"
#include "core/LayoutTable.h"
#include "shell/BackForm.h"
#include "shell/FontSubstitutions.h"
#include "shell/ImageRegions.h"
#include "shell/QtLabel.h"
#include "shell/ResourcePicture.h"
#include "shell/Shapes.h"
#include "shell/WidgetLayout.h"

using namespace pelmora;

namespace {

qreal screenRatio()
{
    return qApp->devicePixelRatio();
}

// The widget alone drawn over `background` at the screen's resolution.
QImage drawnOver(QWidget& widget, const QColor& background, QImage::Format format)
{
    QImage drawn((QSizeF(widget.size()) * screenRatio()).toSize(), format);
    drawn.setDevicePixelRatio(screenRatio());
    drawn.fill(background);
    widget.render(&drawn, QPoint(), QRegion(), QWidget::DrawChildren);
    return drawn;
}

// The picture file at 1x or 2x as the screen shows it in `size` pixels.
QImage shownFrom(const QString& alias, int fileScale, QSize size)
{
    QImage picture = loadResourcePicture(fileScale == 2 ? doubleSizeAlias(alias) : alias);
    picture.setDevicePixelRatio(fileScale);
    picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    return drawnAt(picture, size, screenRatio());
}

// The mean difference per channel over the first `rows` rows of both.
double meanDifference(const QImage& a, const QImage& b, int rows)
{
    const int width = std::min(a.width(), b.width());
    double sum = 0;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum / (4.0 * width * rows);
}

// The rightmost column holding a pixel other than `ground`, or -1.
int lastInkColumn(const QImage& drawn, QRgb ground)
{
    for (int x = drawn.width() - 1; x >= 0; --x) {
        for (int y = 0; y < drawn.height(); ++y) {
            if (drawn.pixel(x, y) != ground) return x;
        }
    }
    return -1;
}

QImage overColourKey(QWidget& widget)
{
    return drawnOver(widget, WidgetLayout::colourKey(), QImage::Format_RGB32);
}

}  // namespace

class ScaledPixelsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        installFontSubstitutions();
        qInfo("device pixels per pixel: %g", screenRatio());
    }

    // Each picture of the widget and the dialog is drawn from its drawing at
    // 1x on an unscaled screen and from the one at 2x on a scaled one: never
    // blown up from a smaller picture.
    void picturesAreDrawnFromTheSharperDrawing_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("alias");
        for (const layout::ControlRow& row : layout::controlRows()) {
            const char* picture = nullptr;
            if (const auto* icon = row.as<layout::IconDesign>()) picture = icon->picture;
            if (const auto* body = row.as<layout::PictureDesign>()) picture = body->picture;
            if (picture) QTest::newRow(row.name) << "widget" << row.name << picture;
        }
        QTest::newRow("dialog bolt") << "dialog"
                                     << "AdvReflectionImage2"
                                     << "dlg-bolt.png";
        QTest::newRow("dialog disk") << "dialog"
                                     << "AdvReflectionImage1"
                                     << "dlg-disk.png";
        QTest::newRow("dialog globe") << "dialog"
                                      << "AdvReflectionImage3"
                                      << "dlg-globe.png";
    }

    void picturesAreDrawnFromTheSharperDrawing()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, alias);
        WidgetLayout layout;
        DialogRig rig;
        QWidget* parent = window == QLatin1String("widget") ? static_cast<QWidget*>(&layout) : &rig.open();
        auto* shown = parent->findChild<QWidget*>(control);
        QVERIFY(shown);
        const QSize size = loadResourcePicture(alias).size();
        const QImage drawn = drawnOver(*shown, Qt::transparent, QImage::Format_ARGB32_Premultiplied);
        const int rows = static_cast<int>(size.height() * screenRatio());  // the picture, not its reflection

        const double fromOwn = meanDifference(drawn, shownFrom(alias, screenRatio() > 1 ? 2 : 1, size), rows);
        QVERIFY2(fromOwn < 0.1, qPrintable(QStringLiteral("%1 off the sharper drawing").arg(fromOwn)));
        if (screenRatio() > 1) {
            const double fromSmaller = meanDifference(drawn, shownFrom(alias, 1, size), rows);
            QVERIFY2(fromSmaller > fromOwn + 0.2,
                     qPrintable(QStringLiteral("%1 off the blown-up 1x picture").arg(fromSmaller)));
        }
    }

    // The backdrop's shape is every device pixel its picture covers on the
    // screen: cut in device pixels on a scaled screen (where a shape in the
    // window's own pixels would take whole blocks of them), from the larger
    // picture at 2.
    void backdropShapeIsCutFromTheDrawnPicture()
    {
        BackForm back;
        QVERIFY(back.showsPicture());
        QCOMPARE(back.size(), QSize(BackForm::kFallbackWidth, BackForm::kFallbackHeight));
        QRegion handed;
        back.setDeviceShapeHandler([&](const QRegion& devicePixels) {
            handed = devicePixels;
            return true;
        });
        if (screenRatio() == 1) {
            QVERIFY(handed.isEmpty());
            QCOMPARE(back.mask(), regionOfVisiblePixels(loadResourcePicture(QStringLiteral("MAINFORM"))));
            return;
        }
        QVERIFY(back.mask().isEmpty());
        QCOMPARE(handed, back.visibleDevicePixels());
        QCOMPARE(handed.boundingRect().size(), (QSizeF(back.size()) * screenRatio()).toSize());
        QVERIFY(!handed.contains(QPoint(0, 0)));  // the rounded corner
        if (screenRatio() == 2)
            QCOMPARE(handed, regionOfVisiblePixels(loadResourcePicture(QStringLiteral("MAINFORM@2x"))));

        // Where the window's shape cannot be set in device pixels, the pixels
        // that cover every visible device pixel take the mouse.
        BackForm fallback;
        fallback.setDeviceShapeHandler([](const QRegion&) { return false; });
        QCOMPARE(fallback.mask(),
                 regionCovering(fallback.visibleDevicePixels(), screenRatio()) & fallback.rect());
        QCOMPARE(fallback.mask().boundingRect(), fallback.rect());
    }

    void coveringRegionTakesEveryPixelADevicePixelTouches()
    {
        const QRegion device(QRect(1, 1, 1, 1));
        QCOMPARE(regionCovering(device, 1.0), device);
        QCOMPARE(regionCovering(device, 1.5), QRegion(QRect(0, 0, 2, 2)));  // 0.67 to 1.33
        QCOMPARE(regionCovering(device, 2.0), QRegion(QRect(0, 0, 1, 1)));
        QCOMPARE(regionCovering(QRegion(QRect(2, 4, 4, 2)), 2.0), QRegion(QRect(1, 2, 2, 1)));
        QVERIFY(regionCovering(QRegion(), 1.5).isEmpty());
    }

    // The notification area finds a picture of its icon's size in device
    // pixels or larger, up to 48 pixels at the screen's scale.
    void trayIconHasPicturesUpToTheScaledSize()
    {
        const QList<QSize> sizes = trayIconPictures(screenRatio()).availableSizes();
        QList<int> sides;
        for (QSize size : sizes) sides.append(size.width());
        std::sort(sides.begin(), sides.end());
        QCOMPARE(sides,
                 screenRatio() > 1 ? QList<int>({16, 24, 32, 48, 64, 96}) : QList<int>({16, 24, 32, 48}));
    }

    // A one-pixel outline is a whole number of device pixels wide, with no
    // blend of its colour and what lies beside it: 1 at 1x, 2 at 1.5 and 2.
    void outlinesCoverWholeDevicePixels()
    {
        RoundedFrame frame;
        frame.resize(120, 60);
        const QImage drawn = overColourKey(frame);
        const int width = std::max(1, qRound(screenRatio()));
        const int x = drawn.width() / 2;
        const int y = drawn.height() / 2;
        for (int i = 0; i < 2 * width + 2; ++i) {
            const QColor expected = i < width ? RoundedFrame::outlineColour() : WidgetLayout::colourKey();
            QCOMPARE(drawn.pixelColor(x, i), expected);                       // top edge
            QCOMPARE(drawn.pixelColor(x, drawn.height() - 1 - i), expected);  // bottom edge
            QCOMPARE(drawn.pixelColor(i, y), expected);                       // left edge
            QCOMPARE(drawn.pixelColor(drawn.width() - 1 - i, y), expected);   // right edge
        }
    }

    // A frame keeps only its corners and one slice of each side: drawn from
    // them it is the outline drawn whole, at any size, the smallest included.
    void framesDrawnFromTheirPiecesMatchTheWholeOutline()
    {
        for (const QSize size :
             {QSize(120, 60), QSize(333, 47), QSize(41, 200), QSize(17, 13), QSize(6, 6)}) {
            RoundedFrame frame;
            frame.resize(size);
            const QImage drawn = overColourKey(frame);
            QImage outline(drawn.size(), QImage::Format_ARGB32_Premultiplied);
            outline.fill(Qt::transparent);
            QPainter painter(&outline);
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal width = std::max(1, qRound(screenRatio()));
            painter.setPen(QPen(RoundedFrame::outlineColour(), width));
            const double radius = frame.cornerDiameter() * screenRatio() / 2.0;
            const qreal inset = width / 2;
            painter.drawRoundedRect(QRectF(outline.rect()).adjusted(inset, inset, -inset, -inset), radius,
                                    radius);
            painter.end();
            QImage whole(drawn.size(), QImage::Format_RGB32);
            whole.fill(WidgetLayout::colourKey());
            whole.setDevicePixelRatio(drawn.devicePixelRatio());
            painter.begin(&whole);
            painter.scale(1 / screenRatio(), 1 / screenRatio());
            painter.drawImage(0, 0, outline);
            painter.end();
            QCOMPARE(drawn, whole);
        }
    }

    // The dialog's black border line stays black on whole device pixels.
    void dialogBorderCoversWholeDevicePixels()
    {
        DialogRig rig;
        const QImage drawn = rig.open().grab().toImage();
        const int width = std::max(1, qRound(screenRatio()));
        const int x = drawn.width() / 2;
        for (int i = 0; i < width; ++i) {
            QCOMPARE(drawn.pixelColor(x, i), QColor(Qt::black));
            QCOMPARE(drawn.pixelColor(x, drawn.height() - 1 - i), QColor(Qt::black));
        }
    }

    // The longest readings fit their boxes in the device pixels of the screen too.
    void longestTextsFitTheirBoxes_data() { addLongestSampleRows(); }

    void longestTextsFitTheirBoxes()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        WidgetLayout layout;
        auto* label = layout.control<QtLabel>(name.toLatin1().constData());
        QVERIFY(label);
        // Drawn in a box wide enough for anything, the text ends inside the real one.
        QtLabel unbounded(text, QRect(0, 0, 1000, label->height()), label->look());
        const int last = lastInkColumn(overColourKey(unbounded), WidgetLayout::colourKey().rgb());
        const int box = static_cast<int>(label->width() * screenRatio());
        QVERIFY2(last < box,
                 qPrintable(QStringLiteral("needs %1 device pixels, the box has %2").arg(last + 1).arg(box)));
    }

    // Each text of the dialog is drawn whole in its label, and the label
    // stays inside the box around it.
    void dialogTextsStayInsideTheirBoxes()
    {
        DialogRig rig;
        const QList<QLabel*> labels = rig.open().findChildren<QLabel*>();
        QVERIFY(!labels.isEmpty());
        for (QLabel* label : labels) {
            if (label->text().isEmpty() || !label->isVisible()) continue;
            QLabel unbounded(label->text());
            unbounded.setFont(label->font());
            unbounded.resize(1000, label->height());
            const int needed =
                lastInkColumn(drawnOver(unbounded, Qt::white, QImage::Format_RGB32), qRgb(255, 255, 255));
            const int box = static_cast<int>(label->width() * screenRatio());
            QVERIFY2(needed < box,
                     qPrintable(QStringLiteral("\"%1\" needs %2 device pixels, its label has %3")
                                    .arg(label->text())
                                    .arg(needed + 1)
                                    .arg(box)));
            const QWidget* around = label->parentWidget();
            QVERIFY2(label->geometry().right() < around->width() - 1,
                     qPrintable(QStringLiteral("\"%1\" ends at %2 in a box %3 wide")
                                    .arg(label->text())
                                    .arg(label->geometry().right())
                                    .arg(around->width())));
        }
    }
};

QTEST_MAIN(ScaledPixelsTest)
#include "ScaledPixelsTest.moc"
