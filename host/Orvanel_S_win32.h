// The run-mode form as a window of the forms layer: caption "Orvanel_Main",
// never shown, no border, not in the taskbar. Its handlers are those of
// RunModeController (Orvanel_S.h).
#pragma once

#include "Orvanel_S.h"
#include "form_win32.h"

class Orvanel_S : public forms::Form, private RunModePlatform {
  public:
    Orvanel_S();

    forms::Timer Timer1{*this}; // MP3 poll
    forms::Timer Timer2{*this}; // CD poll
    forms::Timer Timer3{*this}; // renderer watch

  protected:
    void OnLoad() override;
    bool OnQueryUnload(forms::UnloadReason reason) override;

  private:
    forms::Timer& TimerFor(RunTimer timer);

    // RunModePlatform
    bool StartProgram(const std::string& path) override;
    bool WindowExists(const char* title) override;
    std::int32_t ShowCursor(bool show) override;
    void SetTimerEnabled(RunTimer timer, bool enabled) override;
    bool TimerEnabled(RunTimer timer) override;
    void UnloadForm() override;
    void End() override;

    RunModeController controller_;
};
