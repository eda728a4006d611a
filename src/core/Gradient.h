#pragma once
// The colour steps of a two-colour gradient painted one line per step.
namespace pelmora {

// start + step * (end - start) / steps, rounded half to even, exactly in
// integers. steps must be above 0.
constexpr int gradientComponent(int start, int end, int step, int steps)
{
    const long long numerator =
        static_cast<long long>(start) * steps + static_cast<long long>(step) * (end - start);
    long long quotient = numerator / steps;
    long long remainder = numerator % steps;
    if (remainder < 0) {  // floor division, so the rest lies in [0, steps)
        quotient -= 1;
        remainder += steps;
    }
    const long long twiceRest = remainder * 2;
    if (twiceRest > steps || (twiceRest == steps && quotient % 2 != 0)) ++quotient;
    return static_cast<int>(quotient);
}

}  // namespace pelmora
