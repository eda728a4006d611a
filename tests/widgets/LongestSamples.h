#pragma once
// The longest texts the readings write into the layout's fixed boxes, as
// QtTest rows of a label's name and its text.
#include <QtTest>

inline void addLongestSampleRows()
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
