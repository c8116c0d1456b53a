// The preview handle is read from the command line: the leading-number reader
// and the handle built on it must cope with any bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Orvanel_B.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<double> number = forms::ReadLeadingNumber(text);
    if (number && !std::isfinite(*number)) {
        std::abort();
    }
    // A text that is a number as a whole reads the same either way.
    std::optional<double> whole = forms::ParseNumberText(text);
    if (whole && text.find('\n') == std::string_view::npos && (!number || *number != *whole)) {
        std::abort();
    }
    (void)PreviewHandle(text);
    (void)ModeLetter(text);
    return 0;
}
