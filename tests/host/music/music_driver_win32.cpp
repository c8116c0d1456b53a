// Drives the music module the way the run-mode form does, so the end-to-end
// tests can listen to it: the same calls, the same poll periods, on a thread
// that pumps messages between them. Prints one line per step, flushed, so the
// test can line the steps up with what it records.
//
//   music_driver mp3 PATH PLAY_SECONDS AFTER_SECONDS   open and play, poll every 1000 ms
//   music_driver wav PATH PLAY_SECONDS AFTER_SECONDS   loop, no poll
//   music_driver cd REPEAT MAX_POLLS                   open, poll every 200 ms
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <windows.h>
#include <mmsystem.h>

#include "Orvanel_B.h"
#include "Orvanel_BGM.h"

namespace {

void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Waits while handling messages, as the host's message loop would.
void Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

DWORD Seconds(const char* text) {
    return static_cast<DWORD>(std::atof(text) * 1000.0);
}

int Mp3(const char* path, DWORD play, DWORD after) {
    BgmFile = path;
    Say("start");
    Mp3OpenAndPlay();
    Say("opened");
    for (DWORD t = 0; t + 1000 <= play; t += 1000) {
        Pump(1000);
        Mp3Poll();
        Say("poll");
    }
    Pump(play % 1000);
    Mp3Stop();
    Say("stopped");
    Pump(after);
    Say("end");
    return 0;
}

int Wav(const char* path, DWORD play, DWORD after) {
    BgmFile = path;
    Say("devices %u", waveOutGetNumDevs());
    Say("start");
    WavPlayLoop();
    Say("looping");
    Pump(play);
    WavStop();
    Say("stopped");
    Pump(after);
    Say("end");
    return 0;
}

int Cd(int repeat, int maxPolls) {
    BgmRepeat = static_cast<std::int16_t>(repeat);
    CdOpen();
    Say("opened");
    // As the run-mode form: the timer stays enabled while CdPollActive holds.
    bool enabled = true;
    for (int i = 1; enabled && i <= maxPolls; ++i) {
        Pump(200);
        CdPoll();
        enabled = CdPollActive != 0;
        Say("poll %d active %d", i, static_cast<int>(CdPollActive));
    }
    if (enabled) {
        CdStop();
        Say("cdstop");
    }
    Say("end");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "mp3") == 0) {
        return Mp3(argv[2], Seconds(argv[3]), Seconds(argv[4]));
    }
    if (argc == 5 && std::strcmp(argv[1], "wav") == 0) {
        return Wav(argv[2], Seconds(argv[3]), Seconds(argv[4]));
    }
    if (argc == 4 && std::strcmp(argv[1], "cd") == 0) {
        return Cd(std::atoi(argv[2]), std::atoi(argv[3]));
    }
    std::fprintf(stderr, "usage: music_driver mp3|wav PATH PLAY AFTER | cd REPEAT POLLS\n");
    return 2;
}
