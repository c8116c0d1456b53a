// The music module's platform on Windows: the winmm multimedia calls.
#include "Orvanel_BGM.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

struct Winmm final : MciPlatform {
    std::uint32_t SendString(const char* command, char* buffer, std::uint32_t length) override {
        return mciSendStringA(command, buffer, length, nullptr);
    }
    bool GetErrorString(std::uint32_t code, char* buffer, std::uint32_t length) override {
        return mciGetErrorStringA(code, buffer, length) != FALSE;
    }
    bool PlayWaveSound(const char* name, std::uint32_t flags) override {
        return PlaySoundA(name, nullptr, flags) != FALSE;
    }
    std::uint32_t WaveOutDeviceCount() override { return waveOutGetNumDevs(); }
};

} // namespace

MciPlatform& SystemMciPlatform() {
    static Winmm platform;
    return platform;
}
