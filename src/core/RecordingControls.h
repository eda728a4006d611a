#pragma once
// Controls that only remember what the readings wrote: the companion command
// prints them, the tests inspect them. A recording bar arrives at once.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/WidgetControls.h"

namespace pelmora {

class RecordingLabel : public Label {
public:
    explicit RecordingLabel(std::string text) : text_(std::move(text)) {}
    void setText(const std::string& text) override { text_ = text; }
    std::string text() const override { return text_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool isVisible() const override { return visible_; }

private:
    std::string text_;
    bool visible_ = true;
};

class RecordingBar : public Bar {
public:
    RecordingBar(int left, int width) : left_(left), width_(width) {}
    void setPosition(double position) override { position_ = std::clamp(position, 0.0, 100.0); }
    double position() const override { return position_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool isVisible() const override { return visible_; }
    int left() const override { return left_; }
    void setLeft(int left) override { left_ = left; }
    int width() const override { return width_; }
    void setWidth(int width) override { width_ = width; }

private:
    double position_ = 0;
    bool visible_ = true;
    int left_;
    int width_;
};

class RecordingGauge : public Gauge {
public:
    explicit RecordingGauge(double value) : value_(value) {}
    void setValue(double value) override
    {
        if (value >= 0 && value <= 100) value_ = value;
    }
    double value() const override { return value_; }

private:
    double value_;
};

// The whole widget as recording controls, with the design texts, geometry and
// gauge value of the layout table, so a reading that is never written shows
// what the widget shows.
class RecordingWidget {
public:
    RecordingWidget();
    RecordingWidget(const RecordingWidget&) = delete;
    RecordingWidget& operator=(const RecordingWidget&) = delete;

    WidgetControls& controls() { return controls_; }

    struct Entry {
        std::string name;
        const Label* label = nullptr;
        const Bar* bar = nullptr;
        const Gauge* gauge = nullptr;
    };
    // Every control in the order of WidgetControls' members.
    const std::vector<Entry>& entries() const { return entries_; }

private:
    std::vector<std::unique_ptr<Label>> labels_;
    std::vector<std::unique_ptr<Bar>> bars_;
    std::vector<std::unique_ptr<Gauge>> gauges_;
    std::vector<Entry> entries_;
    WidgetControls controls_;
};

}  // namespace pelmora
