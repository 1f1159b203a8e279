// Least-squares fit of one sine of known frequency to a stretch of samples:
// its amplitude, and what is left once it is taken out. A tone with a phase
// jump, a wrong frequency or another signal mixed in leaves a large residual.
// The test's thread.
#pragma once

#include <cmath>
#include <vector>

namespace druvo_test {

struct ToneFit {
    double amplitude = 0.0;
    double residualRms = 0.0;
};

// Fits a·sin(ωn) + b·cos(ωn) to samples[first, last), n counted from frame 0.
inline ToneFit fitTone(const std::vector<float>& samples, double hz, double sampleRate, long first,
                       long last) {
    const double omega = 6.283185307179586476925286766559 * hz / sampleRate;
    double ss = 0, sc = 0, cc = 0, xs = 0, xc = 0;
    for (long n = first; n < last; ++n) {
        const double s = std::sin(omega * n), c = std::cos(omega * n), x = samples[n];
        ss += s * s, sc += s * c, cc += c * c, xs += x * s, xc += x * c;
    }
    const double det = ss * cc - sc * sc;
    if (last <= first || det == 0.0) return {};
    const double a = (xs * cc - xc * sc) / det;
    const double b = (xc * ss - xs * sc) / det;
    double residual = 0;
    for (long n = first; n < last; ++n) {
        const double e = samples[n] - a * std::sin(omega * n) - b * std::cos(omega * n);
        residual += e * e;
    }
    return {std::hypot(a, b), std::sqrt(residual / static_cast<double>(last - first))};
}

}  // namespace druvo_test
