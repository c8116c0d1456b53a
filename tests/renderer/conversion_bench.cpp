// The screen picture's conversion to bottom-up RGBA, against a plain memcpy of
// the same number of bytes. The conversion is one pass and should stay within
// twice the copy's time.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "Kelbrin_V103.h"

namespace {

class Picture final : public Kelbrin::ScreenBitmap {
  public:
    Picture(int width, int height)
        : width_(width), height_(height), bytes_(static_cast<std::size_t>(width) * height * 4) {
        for (std::size_t i = 0; i < bytes_.size(); ++i) {
            bytes_[i] = static_cast<std::uint8_t>(i * 7);
        }
    }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void ConvertTo32Bits() override {}
    const std::uint8_t* ScanLine(int row) const override {
        return bytes_.data() + static_cast<std::size_t>(row) * width_ * 4;
    }
    const std::uint8_t* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }

  private:
    int width_;
    int height_;
    std::vector<std::uint8_t> bytes_;
};

void BM_Conversion(benchmark::State& state) {
    const Picture picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::vector<std::uint32_t> buffer(picture.size() / 4);
    for (auto _ : state) {
        Kelbrin::FillPixelBuffer(picture, static_cast<std::uint16_t>(picture.Width()),
                                 static_cast<std::uint16_t>(picture.Height()), buffer.data());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * picture.size()));
}

void BM_Memcpy(benchmark::State& state) {
    const Picture picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::vector<std::uint8_t> buffer(picture.size());
    for (auto _ : state) {
        std::memcpy(buffer.data(), picture.data(), picture.size());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * picture.size()));
}

} // namespace

BENCHMARK(BM_Conversion)->Args({1024, 768})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memcpy)->Args({1024, 768})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);
