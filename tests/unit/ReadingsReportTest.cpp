#include <gtest/gtest.h>

#include "app/ReadingsReport.h"

namespace pelmora {
namespace {

TEST(ReadingsReport, TextHasOneLinePerControlThenVisibilityAndBarGeometry)
{
    RecordingWidget widget;
    widget.controls().lblCPU->setText("37%");
    widget.controls().CPU->setPosition(36.5);
    widget.controls().Core3->setVisible(false);
    const std::string text = readingsText(widget);

    EXPECT_NE(text.find("lblCPU\t37%\n"), std::string::npos);
    EXPECT_NE(text.find("CPU\t36.5\n"), std::string::npos) << "fractions kept, trailing zeros dropped";
    EXPECT_NE(text.find("CPU1\t50\n"), std::string::npos) << "the gauge's design value";
    EXPECT_NE(text.find("Core3.visible\t0\n"), std::string::npos);
    EXPECT_NE(text.find("Core2.left\t165\nCore2.width\t43\n"), std::string::npos);
    EXPECT_EQ(text.rfind("lblCPU_ID\t", 0), 0u) << "layout order, the footer's processor label first";
}

TEST(ReadingsReport, JsonEscapesWhatALabelMayHold)
{
    RecordingWidget widget;
    widget.controls().lblDrive1->setText("Drive C: (\"A\\B\")\t[1.00 GB]");
    widget.controls().lblAdapter2->setVisible(false);
    const std::string json = readingsJson(widget);

    EXPECT_NE(json.find(R"("lblDrive1": {"kind": "label", "value": "Drive C: (\"A\\B\")\u0009[1.00 GB]")"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"("lblAdapter2": {"kind": "label", "value": "192.168.10.1", "visible": false})"),
              std::string::npos);
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.substr(json.size() - 4), "}\n}\n") << "no comma after the last control";
}

}  // namespace
}  // namespace pelmora
