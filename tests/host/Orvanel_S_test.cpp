// The run-mode form's handlers over a recording platform and a scripted
// multimedia device: what is started at load, what the polls and the watch do,
// and the fixed order of the clean-up.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Orvanel_B.h"
#include "Orvanel_B_start.h"
#include "Orvanel_S.h"
#include "scripted_mci.h"

namespace {

// Writes its calls into the scripted device's log, so one list shows the order
// of platform calls and multimedia commands together.
struct RecordingRunMode : RunModePlatform {
    explicit RecordingRunMode(std::vector<std::string>& log) : log(log) {}
    std::vector<std::string>& log;
    bool startWorks = true;
    bool rendererShown = true;
    std::map<RunTimer, bool> timers{
        {RunTimer::Mp3Poll, false}, {RunTimer::CdPoll, false}, {RunTimer::Watch, true}};
    std::int32_t cursorCount = 0;
    int unloads = 0;

    bool StartProgram(const std::string& path) override {
        log.push_back("start " + path);
        return startWorks;
    }
    bool WindowExists(const char* title) override {
        return rendererShown && std::string(title) == "Orvanel_Vexon";
    }
    std::int32_t ShowCursor(bool show) override {
        cursorCount += show ? 1 : -1;
        log.push_back(std::string("cursor ") + (show ? "show" : "hide"));
        return cursorCount;
    }
    void SetTimerEnabled(RunTimer timer, bool enabled) override { timers[timer] = enabled; }
    bool TimerEnabled(RunTimer timer) override { return timers[timer]; }
    void UnloadForm() override { ++unloads; }
    void End() override { log.push_back("end"); }
};

struct RunModeTest : ::testing::Test {
    ScriptedMciScope scope;
    std::vector<std::string>& log = scope.mci.log;
    RecordingRunMode platform{log};

    void SetSettings(std::int16_t mode, const std::string& file) {
        BgmMode = mode;
        BgmRepeat = 0;
        BgmFile = file;
    }
    void TearDown() override { SetSettings(0, ""); }
};

using Log = std::vector<std::string>;
const char kRenderer[] = "start C:\\Saver\\Orvanel.dll";

} // namespace

TEST_F(RunModeTest, LoadStartsTheRendererThenTheChosenMusic) {
    struct Case {
        std::int16_t mode;
        const char* file;
        Log expected;
        bool mp3Poll;
        bool cdPoll;
    };
    const Case cases[] = {
        {0, "", {kRenderer}, false, false},
        {1, "", {kRenderer, "open cdaudio", "set cdaudio time format tmsf"}, false, true},
        // A wave file loops by itself: no poll. Only the last three letters count.
        {2, "C:\\Music\\loop.wav", {kRenderer, "sound C:\\Music\\loop.wav flags 9"}, false, false},
        {2,
         "C:\\My Music\\song.Mp3",
         {kRenderer, "open \"C:\\My Music\\song.Mp3\" type MPEGVideo Alias MP3Play",
          "play MP3Play"},
         true,
         false},
        {2, "C:\\Music\\song.ogg", {kRenderer}, false, false},
        {2, "C:\\Music\\wav", {kRenderer, "sound C:\\Music\\wav flags 9"}, false, false},
        {5, "C:\\Music\\loop.wav", {kRenderer}, false, false},
        {-1, "", {kRenderer}, false, false},
    };
    for (const Case& c : cases) {
        log.clear();
        platform.timers[RunTimer::Mp3Poll] = platform.timers[RunTimer::CdPoll] = false;
        SetSettings(c.mode, c.file);
        RunModeController controller(platform, "C:\\Saver", "S");
        controller.OnLoad();
        EXPECT_EQ(log, c.expected) << "mode " << c.mode << " file " << c.file;
        EXPECT_EQ(platform.timers[RunTimer::Mp3Poll], c.mp3Poll) << c.file;
        EXPECT_EQ(platform.timers[RunTimer::CdPoll], c.cdPoll) << c.mode;
        EXPECT_TRUE(platform.timers[RunTimer::Watch]);
    }
}

TEST_F(RunModeTest, MusicStartsEvenWhenTheRendererCannot) {
    platform.startWorks = false;
    SetSettings(2, "C:\\Music\\loop.WAV");
    RunModeController controller(platform, "C:\\Saver", "S");
    controller.OnLoad();
    EXPECT_EQ(log, (Log{kRenderer, "sound C:\\Music\\loop.WAV flags 9"}));
}

TEST_F(RunModeTest, CdPollThatFailsSwitchesItsTimerOff) {
    SetSettings(1, "");
    RunModeController controller(platform, "C:\\Saver", "S");
    controller.OnLoad();
    ASSERT_TRUE(platform.timers[RunTimer::CdPoll]);

    scope.mci.answers["status cdaudio current track"] = {2, "1"};
    controller.OnCdPollTick();
    EXPECT_FALSE(platform.timers[RunTimer::CdPoll]);

    // With the poll off, the clean-up sends nothing to the CD.
    log.clear();
    controller.OnQueryUnload();
    EXPECT_EQ(log, (Log{"cursor show", "end"}));
}

TEST_F(RunModeTest, CdPollThatWorksKeepsItsTimer) {
    SetSettings(1, "");
    RunModeController controller(platform, "C:\\Saver", "S");
    controller.OnLoad();
    scope.mci.answers["status cdaudio current track"] = {0, "1"};
    scope.mci.answers["status cdaudio number of tracks"] = {0, "9"};
    scope.mci.answers["status cdaudio mode"] = {0, "playing"};
    controller.OnCdPollTick();
    EXPECT_TRUE(platform.timers[RunTimer::CdPoll]);
}

TEST_F(RunModeTest, Mp3PollTickPollsThePlayer) {
    SetSettings(2, "C:\\a.mp3");
    RunModeController controller(platform, "C:\\Saver", "S");
    scope.mci.answers["status MP3Play mode"] = {0, "stopped"};
    controller.OnMp3PollTick();
    EXPECT_EQ(log, (Log{"status MP3Play mode [30]", "stop MP3Play", "play MP3Play from 0"}));
}

TEST_F(RunModeTest, WatchUnloadsTheFormOnceTheRendererWindowIsGone) {
    RunModeController controller(platform, "C:\\Saver", "S");
    controller.OnWatchTick();
    EXPECT_EQ(platform.unloads, 0);
    EXPECT_TRUE(platform.timers[RunTimer::Watch]);

    platform.rendererShown = false;
    controller.OnWatchTick();
    EXPECT_EQ(platform.unloads, 1);
    EXPECT_FALSE(platform.timers[RunTimer::Watch]);
}

TEST_F(RunModeTest, CleanUpStopsCdThenFileMusicThenCursorThenEnds) {
    struct Case {
        std::int16_t mode;
        const char* file;
        bool cdPollOn;
        const char* modeLetter;
        std::int32_t keptCount;
        Log expected;
    };
    const Case cases[] = {
        {1, "", true, "S", -1, {"stop cdaudio", "close cdaudio", "cursor show", "end"}},
        {2, "C:\\x.wav", false, "S", -1, {"sound null flags 0", "cursor show", "end"}},
        {2, "C:\\x.MP3", false, "S", -1, {"stop MP3Play", "close MP3Play", "cursor show", "end"}},
        // The CD timer is what says the CD is in use, whatever the mode.
        {2,
         "C:\\x.mp3",
         true,
         "S",
         -1,
         {"stop cdaudio", "close cdaudio", "stop MP3Play", "close MP3Play", "cursor show", "end"}},
        {2, "C:\\x.ogg", false, "S", -1, {"cursor show", "end"}},
        {0, "C:\\x.wav", false, "S", -1, {"cursor show", "end"}},
        // Without the S switch the cursor was never hidden, and is not touched.
        {2, "C:\\x.wav", false, "", -1, {"sound null flags 0", "end"}},
        // A kept count of 0 is a false show flag: the cursor is hidden once more.
        {0, "", false, "S", 0, {"cursor hide", "end"}},
    };
    for (const Case& c : cases) {
        log.clear();
        SetSettings(c.mode, c.file);
        platform.timers[RunTimer::CdPoll] = c.cdPollOn;
        platform.cursorCount = c.keptCount;
        CursorDisplayCount = c.keptCount;
        RunModeController controller(platform, "C:\\Saver", c.modeLetter);
        controller.OnQueryUnload();
        EXPECT_EQ(log, c.expected)
            << "mode " << c.mode << " " << c.file << " letter \"" << c.modeLetter << "\"";
        EXPECT_FALSE(platform.timers[RunTimer::CdPoll]);
    }
}

TEST_F(RunModeTest, CleanUpKeepsTheCountTheCursorCallReturns) {
    platform.cursorCount = -1;
    CursorDisplayCount = -1;
    RunModeController controller(platform, "C:\\Saver", "S");
    controller.OnQueryUnload();
    EXPECT_EQ(CursorDisplayCount, 0);
}
