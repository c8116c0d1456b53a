#include "font_description.h"

#include <cmath>

#include "property_bag.h"

namespace forms {

int FontSizeCentipoints(double points) {
    if (!std::isfinite(points) || points <= 0.0) {
        return 0;
    }
    if (points > 100000.0) {
        points = 100000.0;
    }
    return static_cast<int>(std::lround(points * 100.0));
}

bool FontDescription::operator==(const FontDescription& o) const {
    return name == o.name && FontSizeCentipoints(size) == FontSizeCentipoints(o.size) &&
           bold == o.bold && charset == o.charset;
}

std::string FontToText(const FontDescription& font) {
    return std::to_string(FontSizeCentipoints(font.size)) + ';' + (font.bold ? "1" : "0") + ';' +
           std::to_string(font.charset) + ';' + font.name;
}

std::optional<FontDescription> FontFromText(std::string_view text) {
    std::string_view fields[3];
    for (auto& field : fields) {
        std::size_t semi = text.find(';');
        if (semi == std::string_view::npos) {
            return std::nullopt;
        }
        field = text.substr(0, semi);
        text.remove_prefix(semi + 1);
    }
    auto size = TextToLong(fields[0]);
    auto bold = TextToLong(fields[1]);
    auto charset = TextToLong(fields[2]);
    if (!size || *size <= 0 || *size > 10000000 || !bold || (*bold != 0 && *bold != 1) ||
        !charset || *charset < 0 || *charset > 255 || text.empty() ||
        text.find('\n') != std::string_view::npos) {
        return std::nullopt;
    }
    FontDescription f;
    f.size = *size / 100.0;
    f.bold = *bold == 1;
    f.charset = *charset;
    f.name = std::string(text);
    return f;
}

int FontHeightPixels(double points, int pixelsPerInch) {
    if (pixelsPerInch <= 0) {
        pixelsPerInch = 96;
    }
    return static_cast<int>(
        std::lround(FontSizeCentipoints(points) / 100.0 * pixelsPerInch / 72.0));
}

} // namespace forms
