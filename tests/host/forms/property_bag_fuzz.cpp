// Property bag and font texts come with a form's layout: read them from any
// bytes, and what reads back must write out to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "command_line.h"
#include "font_description.h"
#include "property_bag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto bag = forms::PropertyBag::FromText(text)) {
        auto again = forms::PropertyBag::FromText(bag->ToText());
        if (!again || !(*again == *bag)) {
            std::abort();
        }
    }
    if (auto font = forms::FontFromText(text)) {
        auto again = forms::FontFromText(forms::FontToText(*font));
        if (!again || !(*again == *font)) {
            std::abort();
        }
    }
    (void)forms::CommandAfterProgramName(text);
    return 0;
}
