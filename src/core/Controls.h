#pragma once
// The small control interfaces the readings write to. The Qt controls of the
// widget implement them; tests and the companion command use recording ones.
#include <string>

namespace pelmora {

class Label {
public:
    virtual ~Label() = default;
    virtual void setText(const std::string& text) = 0;
    virtual std::string text() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
};

// A bar takes positions 0..100, clamps, and glides to a new position;
// position() yields the shown position, not the last one set.
class Bar {
public:
    virtual ~Bar() = default;
    virtual void setPosition(double position) = 0;
    virtual double position() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual int left() const = 0;
    virtual void setLeft(int left) = 0;
    virtual int width() const = 0;
    virtual void setWidth(int width) = 0;
};

// The dial gauge ignores values outside 0..100.
class Gauge {
public:
    virtual ~Gauge() = default;
    virtual void setValue(double value) = 0;
    virtual double value() const = 0;
};

}  // namespace pelmora
