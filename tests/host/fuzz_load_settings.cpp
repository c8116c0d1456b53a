// The loading rules over arbitrary file contents: the input is split into the
// three stored texts; the record must always end up keeping its invariant.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Orvanel_B.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view all(reinterpret_cast<const char*>(data), size);
    std::string_view parts[3];
    for (auto& part : parts) {
        std::size_t cut = all.find('\0');
        part = all.substr(0, cut);
        all = cut == std::string_view::npos ? std::string_view() : all.substr(cut + 1);
    }
    // The file test accepts names of an even length, so both branches run.
    auto exists = [](const std::string& p) { return p.size() % 2 == 0; };
    SettingsRecord previous{2, 9, "previous"};
    SettingsRecord r = ApplySettingsTexts(previous, parts[0], parts[1], parts[2], exists);
    if (r.mode == 2 && (r.file.empty() || !exists(r.file))) {
        std::abort();
    }
    if (!r.file.empty() && r.file != parts[2]) {
        std::abort();
    }
    return 0;
}
