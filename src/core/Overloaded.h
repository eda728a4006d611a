#pragma once
// One visitor of a std::variant made of several lambdas, one per alternative.

namespace pelmora {

template <typename... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};

}  // namespace pelmora
