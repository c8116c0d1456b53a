// Orvanel_S: the hidden run-mode form. It starts the renderer and the music,
// keeps the music going with its polls, and watches the renderer's window by
// its title; when the window has gone, or the form is asked to close for any
// other reason, it stops the music, gives the cursor back and ends the host.
//
// The handlers' logic is here, over RunModePlatform; Orvanel_S_win32.cpp is
// the form itself, with its three timers:
//   Timer1 1000 ms, off at load: the MP3 poll
//   Timer2  200 ms, off at load: the CD poll
//   Timer3  100 ms, on at load:  the renderer watch
#pragma once

#include <cstdint>
#include <string>

inline constexpr char kRunFormCaption[] = "Orvanel_Main";
inline constexpr char kRendererTitle[] = "Orvanel_Vexon";

enum class RunTimer { Mp3Poll, CdPoll, Watch };

struct RunModePlatform {
    virtual ~RunModePlatform() = default;
    // Starts the renderer: no arguments, a normal window with the focus, no
    // wait for its end. False when it could not be started.
    virtual bool StartProgram(const std::string& path) = 0;
    virtual bool WindowExists(const char* title) = 0;
    virtual std::int32_t ShowCursor(bool show) = 0;
    virtual void SetTimerEnabled(RunTimer timer, bool enabled) = 0;
    virtual bool TimerEnabled(RunTimer timer) = 0;
    // Unloads the form, which runs its query-unload handler.
    virtual void UnloadForm() = 0;
    // The immediate end of the process (returns only in the tests' fake).
    virtual void End() = 0;
};

// The music file's type: the last three characters of the name, upper-cased.
std::string MusicFileType(const std::string& file);

class RunModeController {
  public:
    // modeLetter: the command line's mode letter ("S" hid the cursor).
    RunModeController(RunModePlatform& platform, std::string appPath, std::string modeLetter);

    void OnLoad();
    void OnMp3PollTick(); // Timer1
    void OnCdPollTick();  // Timer2
    void OnWatchTick();   // Timer3
    void OnQueryUnload(); // every reason of closing; never cancels, ends the process

    const std::string& RendererPath() const { return rendererPath_; }

  private:
    RunModePlatform& platform_;
    std::string appPath_;
    std::string modeLetter_;
    std::string rendererPath_;
};
