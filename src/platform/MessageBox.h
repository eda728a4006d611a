#pragma once
#include <string>

namespace pelmora {

// A plain box with one OK button; returns when dismissed.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(const std::string& text) = 0;
};

}  // namespace pelmora
