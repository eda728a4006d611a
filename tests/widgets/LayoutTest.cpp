// The widget layout: controls at their places with their design texts, the
// stacking, the drawn pixels, the colour-key shape and the signals.
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QtTest>

#include "core/LayoutTable.h"
#include "shell/DialGauge.h"
#include "shell/GlideBar.h"
#include "shell/ImageRegions.h"
#include "shell/QtLabel.h"
#include "shell/Shapes.h"
#include "shell/WidgetLayout.h"

using namespace pelmora;

namespace {

void settle(WidgetLayout& widget)
{
    for (int step = 0; step < 1000 && widget.animationClock().isRunning(); ++step) {
        widget.animationClock().stepAll();
    }
}

int stackIndex(const WidgetLayout& widget, const char* name)
{
    return static_cast<int>(widget.children().indexOf(widget.control(name)));
}

}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void windowSizeAndSurface()
    {
        WidgetLayout widget;
        QCOMPARE(widget.size(), QSize(587, 352));
        const QImage drawn = widget.grab().toImage();
        QCOMPARE(drawn.pixelColor(3, 3), QColor(0, 128, 255));  // uncovered surface
    }

    void designTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        for (const auto& row : layout::controlRows()) {
            if (const auto* label = row.as<layout::LabelDesign>()) {
                QTest::addRow("%s", row.name) << row.name << label->text;
            }
        }
    }
    void designTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        WidgetLayout widget;
        auto* label = widget.control<QtLabel>(name.toLatin1().constData());
        QVERIFY(label);
        QCOMPARE(QString::fromStdString(label->text()), text);
    }

    void designPlaceholdersOfTheReadings()
    {
        WidgetLayout widget;
        WidgetControls& c = widget.controls();
        QCOMPARE(c.lblCPU_ID->text(), "Unknown CPU");
        QCOMPARE(c.lblDrive1Free->text(), "0% free");
        QCOMPARE(c.lblAdapter2->text(), "192.168.10.1");
        QCOMPARE(c.lblVol->text(), "Unknown");
        QCOMPARE(c.CPU1->value(), 50.0);
        QCOMPARE(c.Core3->left(), 213);
        QCOMPARE(c.LAN2->width(), 172);
        // Every control the readings write is there.
        for (const void* control :
             {(const void*)c.lblCPU_ID, (const void*)c.CPU, (const void*)c.Core4, (const void*)c.lblPhys,
              (const void*)c.Virt, (const void*)c.Drive2, (const void*)c.lblUpTime, (const void*)c.lblBatTime,
              (const void*)c.LAN1, (const void*)c.lblA2}) {
            QVERIFY(control);
        }
    }

    void fixedBoxesKeepTheirPlaceOthersFitTheirText()
    {
        WidgetLayout widget;
        QCOMPARE(widget.control("lblCPU_ID")->geometry(), QRect(32, 325, 297, 13));
        QCOMPARE(widget.control("Label17")->geometry(), QRect(24, 128, 89, 14));
        auto* left = widget.control<QtLabel>("Label9");
        QCOMPARE(left->pos(), QPoint(117, 250));
        QCOMPARE(left->width(), QFontMetrics(left->look().font).horizontalAdvance(left->qtext()));
        // A right-aligned label that fits its text keeps its right edge.
        auto* link = widget.control<QtLabel>("Label1");
        QCOMPARE(link->geometry().right(), 443 + 124 - 1);
        link->setText(QStringLiteral("View"));
        QCOMPARE(link->geometry().right(), 443 + 124 - 1);
    }

    void stacking()
    {
        WidgetLayout widget;
        const int body = stackIndex(widget, "Image2");
        for (const QObject* child : widget.children()) {
            QVERIFY(widget.children().indexOf(child) >= body);
        }
        QVERIFY(stackIndex(widget, "AdvReflectionImage1") < stackIndex(widget, "Label17"));
        QVERIFY(stackIndex(widget, "AdvReflectionImage7") < stackIndex(widget, "Label16"));
        QVERIFY(stackIndex(widget, "Label15") < stackIndex(widget, "imgSettings"));
        QVERIFY(stackIndex(widget, "Label1") < stackIndex(widget, "Image1"));
        QVERIFY(stackIndex(widget, "AdvReflectionImage5") < stackIndex(widget, "Image1"));
        const int topmostOther = std::max({stackIndex(widget, "Image1"), stackIndex(widget, "btnClose"),
                                           stackIndex(widget, "lblCPU_ID"), stackIndex(widget, "Shape7")});
        for (const char* name :
             {"CPU1", "CPU", "Core4", "Phys", "Virt", "LAN1", "LAN2", "Drive1", "Drive2"}) {
            QVERIFY2(stackIndex(widget, name) > topmostOther, name);
        }
    }

    void barFillColours_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QColor>("top");
        QTest::addColumn<QColor>("bottom");
        QTest::addColumn<QColor>("background");
        QTest::addRow("processor") << "CPU" << QColor(0, 255, 0) << QColor(51, 153, 102)
                                   << QColor(175, 210, 255);
        QTest::addRow("physical memory")
            << "Phys" << QColor(255, 255, 223) << QColor(223, 223, 0) << QColor(51, 153, 102);
        QTest::addRow("virtual memory")
            << "Virt" << QColor(255, 243, 236) << QColor(255, 102, 0) << QColor(223, 223, 223);
        QTest::addRow("network") << "LAN2" << QColor(203, 225, 252) << QColor(125, 165, 224)
                                 << QColor(175, 210, 255);
        QTest::addRow("drive") << "Drive1" << QColor(203, 225, 252) << QColor(0, 0, 128)
                               << QColor(223, 223, 223);
    }
    void barFillColours()
    {
        QFETCH(QString, bar);
        QFETCH(QColor, top);
        QFETCH(QColor, bottom);
        QFETCH(QColor, background);
        WidgetLayout widget;
        auto* control = widget.control<GlideBar>(bar.toLatin1().constData());
        control->setPosition(40);
        settle(widget);
        const QImage drawn = widget.grab().toImage();
        const QRect box = control->geometry();
        const int filledX = box.left() + 10;
        QCOMPARE(drawn.pixelColor(filledX, box.top() + 2), top);
        QCOMPARE(drawn.pixelColor(filledX, box.bottom() - 2), bottom);
        QCOMPARE(drawn.pixelColor(box.right() - 5, box.top() + 5), background);
    }

    void framesAreRoundedWhiteOutlines()
    {
        WidgetLayout widget;
        auto* frame = widget.control<RoundedFrame>("Shape2");
        QCOMPARE(frame->cornerDiameter(), 20);
        const QImage drawn = widget.grab().toImage();
        const QColor white(255, 255, 255);
        QCOMPARE(drawn.pixelColor(106, 69 + 41), white);        // left edge
        QCOMPARE(drawn.pixelColor(106 + 208, 69 + 41), white);  // right edge
        QCOMPARE(drawn.pixelColor(106 + 104, 69), white);       // top edge
        QVERIFY(drawn.pixelColor(106, 69) != white);            // the corner is rounded off
    }

    void ruleFill()
    {
        WidgetLayout widget;
        const QImage drawn = widget.grab().toImage();
        QCOMPARE(drawn.pixelColor(32, 317), QColor(0, 128, 192));
        QCOMPARE(drawn.pixelColor(568, 318), QColor(0, 128, 192));
    }

    void aFixedBoxClipsItsText()
    {
        WidgetLayout widget;
        widget.control("AdvReflectionImage5")->hide();  // the logo strip overlaps the box's end
        auto* label = widget.control<QtLabel>("lblCPU_ID");
        label->setText(std::string());
        const QImage empty = widget.grab().toImage();
        label->setText(std::string(80, 'W'));
        QCOMPARE(label->size(), QSize(297, 13));
        const QImage full = widget.grab().toImage();
        bool drewInside = false;
        for (int y = 325; y < 338; ++y) {
            for (int x = 32; x < 329; ++x) drewInside |= full.pixel(x, y) != empty.pixel(x, y);
            for (int x = 329; x < 443; ++x) QCOMPARE(full.pixel(x, y), empty.pixel(x, y));
        }
        QVERIFY(drewInside);
    }

    void colourKeyMaskLeavesTheSurfaceOut()
    {
        WidgetLayout widget;
        const QRegion mask = widget.colourKeyMask();
        QVERIFY(!mask.contains(QPoint(3, 3)));     // key-coloured surface
        QVERIFY(!mask.contains(QPoint(300, 20)));  // title strip, no control
        QVERIFY(mask.contains(QPoint(150, 90)));   // inside the CPU bar
        QVERIFY(mask.contains(QPoint(32, 317)));   // the rule
        QVERIFY(mask.contains(QPoint(44, 43)));    // the gauge's centre
    }

    void onlyTheExactKeyColourIsCut()
    {
        QImage surface(3, 1, QImage::Format_ARGB32);
        surface.setPixel(0, 0, qRgba(0, 128, 255, 255));
        surface.setPixel(1, 0, qRgba(0, 128, 254, 255));  // one step off: kept
        surface.setPixel(2, 0, qRgba(0, 128, 255, 40));   // alpha does not matter
        QCOMPARE(regionWithoutColour(surface, WidgetLayout::colourKey()), QRegion(1, 0, 1, 1));
    }

    void colourKeyedWindowFollowsTextChanges()
    {
        WidgetLayout widget;
        widget.setColourKeyed(true);
        QCOMPARE(widget.windowOpacity(), 217 / 255.0);
        QVERIFY(!widget.windowShape().contains(QPoint(3, 3)));
        const QRegion before = widget.windowShape();
        // The title lies on the bare surface (the readings' labels lie on the body picture).
        widget.control<QtLabel>("Label11")->setText(QStringLiteral("A much longer title"));
        QTRY_VERIFY(widget.windowShape() != before);
        QCOMPARE(widget.windowShape(), widget.colourKeyMask());
        widget.setColourKeyed(false);
        QVERIFY(widget.windowShape().isEmpty());
    }

    void onlyLabelsOffTheBodyCutTheShapeAgain()
    {
        WidgetLayout widget;
        widget.setColourKeyed(true);
        const int cuts = widget.shapeCuts();
        // Fixed boxes on the opaque body picture: no cut, now or later.
        widget.control<QtLabel>("lblUpTime")->setText(QStringLiteral("1 h, 2 min 3 sec"));
        widget.control<QtLabel>("lblCPU")->setVisible(false);
        QCoreApplication::processEvents();
        QCOMPARE(widget.shapeCuts(), cuts);
        // A label on the bare surface still cuts it.
        widget.control<QtLabel>("Label11")->setText(QStringLiteral("A much longer title"));
        QTRY_COMPARE(widget.shapeCuts(), cuts + 1);
    }

    void clicksReachTheirSignals_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("signal");
        QTest::addRow("settings") << "imgSettings" << QByteArray(SIGNAL(settingsClicked()));
        QTest::addRow("web link") << "Image1" << QByteArray(SIGNAL(linkClicked()));
        QTest::addRow("minimise") << "btnMinimize" << QByteArray(SIGNAL(minimizeClicked()));
        QTest::addRow("close") << "btnClose" << QByteArray(SIGNAL(closeClicked()));
    }
    void clicksReachTheirSignals()
    {
        QFETCH(QString, control);
        QFETCH(QByteArray, signal);
        WidgetLayout widget;
        QSignalSpy spy(&widget, signal.constData());
        QWidget* target = widget.control(control.toLatin1().constData());
        QTest::mouseClick(target, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(spy.count(), 0);
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(spy.count(), 1);
    }

    void contextMenuOnlyOnTheBodyPicture()
    {
        WidgetLayout widget;
        QSignalSpy spy(&widget, &WidgetLayout::bodyContextMenuRequested);
        QContextMenuEvent onLabel(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(500, 400));
        QApplication::sendEvent(widget.control("Label2"), &onLabel);
        QContextMenuEvent onBody(QContextMenuEvent::Mouse, QPoint(2, 2), QPoint(600, 500));
        QApplication::sendEvent(widget.control("Image2"), &onBody);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toPoint(), QPoint(600, 500));
    }

    void aRightClickThroughTheWindowOpensTheMenuOnlyOnTheBody()
    {
        WidgetLayout widget;
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QSignalSpy menu(&widget, &WidgetLayout::bodyContextMenuRequested);
        QSignalSpy drag(&widget, &WidgetLayout::surfaceMousePressed);
        QTest::mouseClick(widget.windowHandle(), Qt::RightButton, {}, QPoint(300, 20));  // bare surface
        QCOMPARE(menu.count(), 0);
        QCOMPARE(drag.count(), 1);
        QTest::mouseClick(widget.windowHandle(), Qt::RightButton, {},
                          QPoint(90, 320));  // an icon on the body
        QCOMPARE(menu.count(), 0);
        QTest::mouseClick(widget.windowHandle(), Qt::RightButton, {}, QPoint(317, 200));  // bare body picture
        QCOMPARE(menu.count(), 1);
        QCOMPARE(drag.count(), 1);
    }

    void pressesOnTheSurfaceAreForwardedPressesOnControlsAreNot()
    {
        WidgetLayout widget;
        QSignalSpy pressed(&widget, &WidgetLayout::surfaceMousePressed);
        QSignalSpy released(&widget, &WidgetLayout::surfaceMouseReleased);
        QTest::mousePress(widget.control("Label2"), Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mousePress(widget.control("Image2"), Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mousePress(widget.control("CPU"), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(pressed.count(), 0);
        QTest::mousePress(&widget, Qt::RightButton, {}, QPoint(300, 20));
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(pressed.at(0).at(1).toPoint(), QPoint(300, 20));
        QTest::mouseRelease(&widget, Qt::RightButton, {}, QPoint(300, 20));
        QCOMPARE(released.count(), 1);
    }
};

QTEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
