#include "Orvanel_S.h"

#include <utility>

#include "Orvanel_B.h"
#include "Orvanel_B_start.h"
#include "Orvanel_BGM.h"
#include "text.h"

std::string MusicFileType(const std::string& file) {
    return forms::UpperCase(forms::RightChars(file, 3));
}

RunModeController::RunModeController(RunModePlatform& platform, std::string appPath,
                                     std::string modeLetter)
    : platform_(platform), appPath_(std::move(appPath)), modeLetter_(std::move(modeLetter)) {}

void RunModeController::OnLoad() {
    rendererPath_ = appPath_ + "\\Orvanel.dll";
    // The renderer goes first; a renderer that cannot start is found missing by
    // the first watch tick, which then cleans up.
    platform_.StartProgram(rendererPath_);

    if (BgmMode == 1) {
        CdOpen();
        platform_.SetTimerEnabled(RunTimer::CdPoll, true);
    }
    if (BgmMode == 2) {
        const std::string type = MusicFileType(BgmFile);
        if (type == "WAV") {
            WavPlayLoop(); // loops by itself, no poll
        }
        if (type == "MP3") {
            Mp3OpenAndPlay();
            platform_.SetTimerEnabled(RunTimer::Mp3Poll, true);
        }
    }
}

void RunModeController::OnMp3PollTick() {
    Mp3Poll();
}

void RunModeController::OnCdPollTick() {
    CdPoll();
    // Once a poll finds the disc unusable, the CD stays off for the rest of the run.
    platform_.SetTimerEnabled(RunTimer::CdPoll, CdPollActive != kFalse16);
}

void RunModeController::OnWatchTick() {
    if (platform_.WindowExists(kRendererTitle)) {
        return;
    }
    platform_.SetTimerEnabled(RunTimer::Watch, false);
    platform_.UnloadForm();
}

void RunModeController::OnQueryUnload() {
    // Fixed order: CD, file music, cursor, end.
    if (platform_.TimerEnabled(RunTimer::CdPoll)) {
        platform_.SetTimerEnabled(RunTimer::CdPoll, false);
        CdStop();
    }
    if (BgmMode == 2) {
        const std::string type = MusicFileType(BgmFile);
        if (type == "WAV") {
            WavStop();
        }
        if (type == "MP3") {
            Mp3Stop();
        }
    }
    if (modeLetter_ == "S") {
        // The kept count is the show flag: -1, left by hiding once from 0,
        // shows the cursor again.
        CursorDisplayCount = platform_.ShowCursor(CursorDisplayCount != 0);
    }
    platform_.End();
}
