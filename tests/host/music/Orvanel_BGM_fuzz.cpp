// Hostile device replies: the bytes become the replies and error texts of the
// CD and MP3 queries (split at '|'), of any length and with or without NULs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Orvanel_B.h"
#include "Orvanel_BGM.h"
#include "scripted_mci.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = input.find('|', start);
        parts.push_back(input.substr(start, bar - start));
        if (bar == std::string::npos) {
            break;
        }
        start = bar + 1;
    }
    auto part = [&](std::size_t i) { return i < parts.size() ? parts[i] : std::string(); };
    // Long replies, to reach past every buffer's capacity.
    auto longer = [&](std::size_t i) {
        std::string p = part(i);
        return p.size() % 2 ? p + std::string(600, p.empty() ? 'x' : p[0]) : p;
    };

    ScriptedMciScope scope;
    auto& a = scope.mci.answers;
    std::uint32_t code = size ? data[0] % 3 == 0 ? 266 : 0 : 0;
    a["status cdaudio current track"] = {code, longer(0)};
    a["status cdaudio number of tracks"] = {0, longer(1)};
    a["status cdaudio mode"] = {0, longer(2)};
    a["status MP3Play mode"] = {0, longer(3)};
    scope.mci.errorText[266] = longer(4);
    for (std::int16_t repeat : {0, 3}) {
        BgmRepeat = repeat;
        CdPoll();
    }
    Mp3Poll();
    std::string reply;
    MciSend(part(5), reply);
    BgmRepeat = 0;
    return 0;
}
