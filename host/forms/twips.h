// Twips and pixels.
//
// Forms are placed in twips (1440 to the inch), drawing inside them is in
// pixels. The screen's twips per pixel is 1440 divided by its logical pixels
// per inch: 15 at 96, 12 at 120, 10 at 144.
//
//   double tpp = forms::TwipsPerPixel(96);          // 15
//   int px = forms::TwipsToPixels(2280, tpp);        // 152
//   double tw = forms::PixelsToTwips(152, tpp);      // 2280
#pragma once

namespace forms {

constexpr int kTwipsPerInch = 1440;

// Twips per pixel for a device of the given logical pixels per inch. A device
// that reports no resolution (0 or less) counts as 96 pixels per inch.
double TwipsPerPixel(int pixelsPerInch);

// Twips to whole pixels, to the nearest pixel (halves away from zero).
int TwipsToPixels(double twips, double twipsPerPixel);

// Whole pixels to twips.
double PixelsToTwips(int pixels, double twipsPerPixel);

} // namespace forms
