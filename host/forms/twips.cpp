#include "twips.h"

#include <climits>
#include <cmath>

namespace forms {

double TwipsPerPixel(int pixelsPerInch) {
    if (pixelsPerInch <= 0) {
        pixelsPerInch = 96;
    }
    return static_cast<double>(kTwipsPerInch) / pixelsPerInch;
}

int TwipsToPixels(double twips, double twipsPerPixel) {
    if (!(twipsPerPixel > 0.0) || !std::isfinite(twips)) {
        return 0;
    }
    double px = std::round(twips / twipsPerPixel);
    // Window sizes are ints; a value beyond them would be undefined to convert.
    if (px > INT_MAX) {
        return INT_MAX;
    }
    if (px < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(px);
}

double PixelsToTwips(int pixels, double twipsPerPixel) {
    return pixels * twipsPerPixel;
}

} // namespace forms
