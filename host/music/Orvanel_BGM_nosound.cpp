// The system's multimedia where there is none: every command fails as a missing
// driver does on Windows, there is no error text, and no wave output device.
#include "Orvanel_BGM.h"

namespace {

constexpr std::uint32_t kCannotLoadDriver = 266;

struct NoSound final : MciPlatform {
    std::uint32_t SendString(const char*, char*, std::uint32_t) override {
        return kCannotLoadDriver;
    }
    bool GetErrorString(std::uint32_t, char*, std::uint32_t) override { return false; }
    bool PlayWaveSound(const char*, std::uint32_t) override { return false; }
    std::uint32_t WaveOutDeviceCount() override { return 0; }
};

} // namespace

MciPlatform& SystemMciPlatform() {
    static NoSound platform;
    return platform;
}
