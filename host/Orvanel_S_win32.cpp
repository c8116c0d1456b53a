#include "Orvanel_S_win32.h"

#include <windows.h>

#include "Orvanel_B.h"
#include "app.h"

namespace {

// How long the start of the renderer waits for it to be ready for input. The
// 100 ms watch must not look for the window before the renderer has made it,
// or the host would end while the renderer runs on alone.
constexpr unsigned kRendererReadyLimitMs = 10000;

} // namespace

Orvanel_S::Orvanel_S()
    : Form(L"Orvanel_Main"), controller_(*this, forms::AppPath(), ModeLetter(forms::Command())) {
    SetBorderStyle(forms::BorderStyle::None);
    SetControlBox(false);
    SetMinButton(false);
    SetMaxButton(false);
    SetShowInTaskbar(false);
    Timer1.SetInterval(1000);
    Timer1.onTick = [this] { controller_.OnMp3PollTick(); };
    Timer2.SetInterval(200);
    Timer2.onTick = [this] { controller_.OnCdPollTick(); };
    Timer3.SetInterval(100);
    Timer3.SetEnabled(true);
    Timer3.onTick = [this] { controller_.OnWatchTick(); };
}

void Orvanel_S::OnLoad() {
    controller_.OnLoad();
}

bool Orvanel_S::OnQueryUnload(forms::UnloadReason) {
    controller_.OnQueryUnload(); // ends the process
    return false;
}

forms::Timer& Orvanel_S::TimerFor(RunTimer timer) {
    switch (timer) {
    case RunTimer::Mp3Poll:
        return Timer1;
    case RunTimer::CdPoll:
        return Timer2;
    case RunTimer::Watch:
        break;
    }
    return Timer3;
}

bool Orvanel_S::StartProgram(const std::string& path) {
    return forms::Shell(path, kRendererReadyLimitMs);
}

bool Orvanel_S::WindowExists(const char* title) {
    return FindWindowA(nullptr, title) != nullptr;
}

std::int32_t Orvanel_S::ShowCursor(bool show) {
    return ::ShowCursor(show ? TRUE : FALSE);
}

void Orvanel_S::SetTimerEnabled(RunTimer timer, bool enabled) {
    TimerFor(timer).SetEnabled(enabled);
}

bool Orvanel_S::TimerEnabled(RunTimer timer) {
    return TimerFor(timer).Enabled();
}

void Orvanel_S::UnloadForm() {
    Unload();
}

void Orvanel_S::End() {
    forms::End();
}
