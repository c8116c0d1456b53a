// A font as forms and controls describe it: face name, size in points, bold,
// character set. It is also a property value (a control's "Font"), so it has
// a text form for the property bag.
//
//   forms::FontDescription f{"Tahoma", 8.25, false, 0};
//   std::string t = forms::FontToText(f);         // "825;0;0;Tahoma"
//   auto g = forms::FontFromText(t);               // == f
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace forms {

struct FontDescription {
    std::string name = "MS Sans Serif"; // UTF-8
    double size = 8.25;                 // points; kept to hundredths
    bool bold = false;
    int charset = 0; // 0 ANSI, 1 default, 128 Japanese, ...

    bool operator==(const FontDescription& o) const;
    bool operator!=(const FontDescription& o) const { return !(*this == o); }
};

// Size in hundredths of a point, as stored and compared.
int FontSizeCentipoints(double points);

// "centipoints;bold;charset;name": the name comes last so that it may hold any
// character but a line break.
std::string FontToText(const FontDescription& font);
// Reads FontToText's form; fails on anything else, an empty name included.
std::optional<FontDescription> FontFromText(std::string_view text);

// Character height in pixels for a size in points on a device of the given
// pixels per inch, to the nearest pixel (9.75 points at 96 is 13).
int FontHeightPixels(double points, int pixelsPerInch);

} // namespace forms
