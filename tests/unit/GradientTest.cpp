#include <gtest/gtest.h>

#include "core/Gradient.h"

namespace pelmora {
namespace {

TEST(Gradient, ComponentsRoundHalfToEven)
{
    struct Case {
        int start, end, step, steps, expected;
    };
    const Case cases[] = {
        {0, 1, 1, 2, 0},           // half down to even
        {0, 3, 1, 2, 2},           // half up to even
        {3, 0, 1, 2, 2},           // falling half
        {1, 0, 1, 2, 0},           // falling to even below
        {200, 100, 1, 4, 175},     // plain
        {97, 222, 0, 342, 97},     // first line of the dialog's body
        {97, 222, 342, 342, 222},  // last line
    };
    for (const Case& c : cases)
        EXPECT_EQ(gradientComponent(c.start, c.end, c.step, c.steps), c.expected)
            << c.start << ".." << c.end << " step " << c.step << " of " << c.steps;
}

}  // namespace
}  // namespace pelmora
