// Replay driver for fuzz targets when libFuzzer is not available (gcc builds).
// With file arguments it feeds each file once; without, it feeds a fixed
// pseudo-random stream of inputs built from bytes that matter to text parsers.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            std::ifstream in(argv[i], std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        }
        return 0;
    }
    static const char alphabet[] =
        " \t-+.,0123456789eEdD&HhOo/:\\\"'sScCpPaAxX\x81\x82\x8e\xb1\xff";
    uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    std::vector<uint8_t> buf;
    for (int round = 0; round < 50000; ++round) {
        size_t len = next() % 40;
        buf.resize(len);
        for (auto& b : buf) {
            b = (next() % 4 == 0) ? static_cast<uint8_t>(next())
                                  : static_cast<uint8_t>(alphabet[next() % (sizeof alphabet - 1)]);
        }
        LLVMFuzzerTestOneInput(buf.data(), buf.size());
    }
    return 0;
}
