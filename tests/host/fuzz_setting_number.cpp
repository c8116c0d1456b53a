// Settings values come from a file anyone can edit: the whole-text reader
// must stay inside its input and keep its promises on any bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Orvanel_B.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<double> number = forms::ParseNumberText(text);
    std::optional<std::int16_t> setting = SettingNumber(text);
    if (number && !std::isfinite(*number)) {
        std::abort();
    }
    if (text.empty()) {
        if (!setting || *setting != 0) {
            std::abort();
        }
    } else if (setting && (!number || *setting != std::floor(*number))) {
        std::abort(); // a stored value can only come from the number read
    }
    return 0;
}
