// The layout is drawn in twips (1/1440 inch); windows take pixels.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>

namespace quilmora {

inline constexpr int kDpiDiProgetto = 96;
inline constexpr int kTwipPerPollice = 1440;

// A twip edge on the pixel grid, rounded to the nearest pixel: 15 twips a pixel at 96 dpi.
constexpr int Pixel(int twip, int dpi = kDpiDiProgetto) {
    const long long t = static_cast<long long>(twip) * dpi + kTwipPerPollice / 2;
    return static_cast<int>(t >= 0 ? t / kTwipPerPollice : (t - kTwipPerPollice + 1) / kTwipPerPollice);
}

// A screen position read from text, which may be fractional or far off any screen.
inline int PixelPosizione(double twip, int dpi = kDpiDiProgetto) {
    const double p = std::round(twip * dpi / kTwipPerPollice);
    return static_cast<int>(std::clamp(p, double{INT_MIN / 2}, double{INT_MAX / 2}));
}

// The other way, for positions to be stored.
constexpr double TwipPosizione(int pixel, int dpi = kDpiDiProgetto) {
    return static_cast<double>(pixel) * kTwipPerPollice / dpi;
}

}  // namespace quilmora
