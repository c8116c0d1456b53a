#include "Orvanel_BGM.h"

#include <gtest/gtest.h>

#include "Orvanel_B.h"
#include "scripted_mci.h"

using Log = std::vector<std::string>;
using Answers = std::map<std::string, ScriptedMci::Answer>;

namespace {

const std::string kFull512(512, 'x');
const std::string kFull256(256, 'e');

// -- Command channel ----------------------------------------------------------

struct SendCase {
    const char* name;
    std::string command;
    Answers answers;
    std::map<std::uint32_t, std::string> errorText;
    std::int32_t code;
    std::string reply;
    std::string text; // what MciSendText returns for the same command
    Log sent;
};

TEST(MciSend, RepliesCodesAndErrorTexts) {
    const std::vector<SendCase> cases = {
        {"empty command: nothing is sent", "", {}, {}, -1, kMciNoCommandText, "Error:-1", {}},
        {"success with no reply", "play cdaudio", {}, {}, 0, "", "", {"play cdaudio [512]"}},
        {"success with a reply",
         "status cdaudio current track",
         {{"status cdaudio current track", {0, "4"}}},
         {},
         0,
         "4",
         "4",
         {"status cdaudio current track [512]"}},
        {"failure with an error text",
         "open cdaudio",
         {{"open cdaudio", {266, "ignored"}}},
         {{266, "The driver cannot be loaded."}},
         266,
         "The driver cannot be loaded.",
         "Error:266",
         {"open cdaudio [512]", "error 266 [256]"}},
        {"failure with no error text",
         "open cdaudio",
         {{"open cdaudio", {277, ""}}},
         {},
         277,
         kMciNoErrorText,
         "Error:277",
         {"open cdaudio [512]", "error 277 [256]"}},
        {"a reply filling the whole buffer, no NUL",
         "info cdaudio product",
         {{"info cdaudio product", {0, kFull512 + "beyond"}}},
         {},
         0,
         kFull512,
         kFull512,
         {"info cdaudio product [512]"}},
        {"an error text filling the whole buffer, no NUL",
         "open x",
         {{"open x", {263, ""}}},
         {{263, kFull256 + "beyond"}},
         263,
         kFull256,
         "Error:263",
         {"open x [512]", "error 263 [256]"}},
        {"a reply ends at its first NUL",
         "info cdaudio",
         {{"info cdaudio", {0, std::string("ab\0cd", 5)}}},
         {},
         0,
         "ab",
         "ab",
         {"info cdaudio [512]"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            ScriptedMciScope scope;
            scope.mci.answers = c.answers;
            scope.mci.errorText = c.errorText;
            std::string reply = "old";
            EXPECT_EQ(MciSend(c.command, reply), c.code);
            EXPECT_EQ(reply, c.reply);
            EXPECT_EQ(scope.mci.log, c.sent);
        }
        {
            // MciSendText: the marker is returned, the text stays in MciLastReply.
            ScriptedMciScope scope;
            scope.mci.answers = c.answers;
            scope.mci.errorText = c.errorText;
            EXPECT_EQ(MciSendText(c.command), c.text);
            EXPECT_EQ(MciLastReply, c.reply);
            EXPECT_EQ(scope.mci.log, c.sent);
        }
    }
}

TEST(MciSend, AReplyIsNotCarriedIntoTheNextCommand) {
    ScriptedMciScope scope;
    scope.mci.answers = {{"status cdaudio mode", {0, "playing"}}, {"bad", {257, ""}}};
    std::string reply;
    ASSERT_EQ(MciSend("status cdaudio mode", reply), 0);
    ASSERT_EQ(reply, "playing");
    EXPECT_EQ(MciSend("play cdaudio", reply), 0);
    EXPECT_EQ(reply, "");
    // A failing command whose platform writes nothing into the reply buffer.
    EXPECT_EQ(MciSendText("bad"), "Error:257");
    EXPECT_EQ(MciSendText("play cdaudio"), "");
}

struct PlayCase {
    std::string from, to, command;
};

TEST(MciPlay, BuildsOneOfFourCommands) {
    const std::vector<PlayCase> cases = {
        {"", "", "play cdaudio [512]"},
        {"03:00:00:00", "", "play cdaudio from 03:00:00:00 [512]"},
        {"", "04:00:00:00", "play cdaudio to 04:00:00:00 [512]"},
        {"03:00:00:00", "04:00:00:00", "play cdaudio from 03:00:00:00 to 04:00:00:00 [512]"},
        // Blanks are not empty.
        {" ", "", "play cdaudio from   [512]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ScriptedMciScope scope;
        scope.mci.answers = {{c.command.substr(0, c.command.size() - 6), {0, "done"}}};
        EXPECT_EQ(MciPlay("cdaudio", c.from, c.to), 0);
        EXPECT_EQ(scope.mci.log, Log{c.command});
        EXPECT_EQ(MciLastReply, "done");
    }
}

TEST(MciPlay, AFailureLeavesTheErrorTextInLastReply) {
    ScriptedMciScope scope;
    scope.mci.answers = {{"play cdaudio from Error:289", {289, ""}}};
    scope.mci.errorText = {{289, "out of range"}};
    EXPECT_EQ(MciPlay("cdaudio", "Error:289", ""), 289);
    EXPECT_EQ(MciLastReply, "out of range");
}

// -- Audio CD -----------------------------------------------------------------

TEST(CdPlayer, OpenAndStopSendDirectly) {
    ScriptedMciScope scope;
    scope.mci.answers = {{"open cdaudio", {266, ""}}};
    CdOpen();
    CdStop();
    EXPECT_EQ(scope.mci.log, (Log{"open cdaudio", "set cdaudio time format tmsf", "stop cdaudio",
                                  "close cdaudio"}));
}

const char* const kTrack = "status cdaudio current track";
const char* const kCount = "status cdaudio number of tracks";
const char* const kMode = "status cdaudio mode";
const std::string kTrackSent = std::string(kTrack) + " [512]";
const std::string kCountSent = std::string(kCount) + " [512]";
const std::string kModeSent = std::string(kMode) + " [255]";

struct PollCase {
    const char* name;
    std::int16_t repeat;
    Answers answers;
    Log sent;
    Bool16 active;
};

Answers Disc(const std::string& track, const std::string& mode) {
    return {{kTrack, {0, track}}, {kCount, {0, "10"}}, {kMode, {0, mode}}};
}

Answers With(Answers a, const std::string& command, ScriptedMci::Answer answer) {
    a[command] = answer;
    return a;
}

TEST(CdPoll, Scenarios) {
    const Log queries = {kTrackSent, kCountSent, kModeSent};
    auto then = [&](std::initializer_list<std::string> more) {
        Log l = queries;
        l.insert(l.end(), more);
        return l;
    };
    const std::vector<PollCase> cases = {
        {"repeat 0, stopped (first poll after open): plays", 0, Disc("1", "stopped"),
         then({"play cdaudio [512]"}), kTrue16},
        {"repeat 0, playing: nothing sent", 0, Disc("2", "playing"), queries, kTrue16},
        {"repeat 0, paused: counts as not stopped", 0, Disc("2", "paused"), queries, kTrue16},
        {"repeat 0, seeking: counts as not stopped", 0, Disc("2", "seeking"), queries, kTrue16},
        {"repeat 0, mode compared case-sensitively", 0, Disc("2", "Stopped"), queries, kTrue16},
        {"repeat 0, a shorter mode is not stopped", 0, Disc("2", "stop"), queries, kTrue16},
        {"repeat 0, mode reply filling its buffer with no NUL", 0,
         Disc("2", "stopped" + std::string(300, 'z')), then({"play cdaudio [512]"}), kTrue16},
        {"repeat 0, a track that is not a number is never read", 0, Disc("x", "stopped"),
         then({"play cdaudio [512]"}), kTrue16},
        {"repeat 3 while track 4 plays: back to the start of track 3", 3,
         With(Disc("4", "playing"), "status cdaudio position track 3", {0, "03:00:00:00"}),
         then({"status cdaudio position track 3 [512]", "play cdaudio from 03:00:00:00 [512]"}),
         kTrue16},
        {"repeat 3 while track 3 plays: nothing sent", 3, Disc("3", "playing"), queries, kTrue16},
        {"repeat 3, track reply with blanks and a leading zero", 3, Disc(" 03 ", "playing"),
         queries, kTrue16},
        {"repeat 3, track 3 stopped (it was the last): plays it again", 3,
         With(Disc("3", "stopped"), "status cdaudio position track 3", {0, "03:00:00:00"}),
         then({"status cdaudio position track 3 [512]", "play cdaudio from 03:00:00:00 [512]"}),
         kTrue16},
        {"repeat 12, first poll after open (track 1): plays track 12", 12,
         With(Disc("1", "stopped"), "status cdaudio position track 12", {0, "12:00:00:00"}),
         then({"status cdaudio position track 12 [512]", "play cdaudio from 12:00:00:00 [512]"}),
         kTrue16},
        {"repeat 9, a disc without track 9: the marker is the start, polling goes on", 9,
         With(With(Disc("2", "playing"), "status cdaudio position track 9", {289, ""}),
              "play cdaudio from Error:289", {263, ""}),
         then({"status cdaudio position track 9 [512]", "error 289 [256]",
               "play cdaudio from Error:289 [512]", "error 263 [256]"}),
         kTrue16},
        {"repeat 3, track reply not a number: polling ends", 3, Disc("x", "playing"), queries,
         kFalse16},
        {"repeat 3, empty track reply: polling ends", 3, Disc("", "playing"), queries, kFalse16},
        {"repeat 3, track reply too large for a number: polling ends", 3,
         Disc("1" + std::string(400, '0'), "playing"), queries, kFalse16},
        {"no disc: the track query fails, polling ends",
         0,
         {{kTrack, {266, ""}}, {kCount, {266, ""}}},
         {kTrackSent, "error 266 [256]"},
         kFalse16},
        {"the count query fails: polling ends",
         0,
         {{kTrack, {0, "1"}}, {kCount, {266, ""}}},
         {kTrackSent, kCountSent, "error 266 [256]"},
         kFalse16},
        {"a successful reply with err in it counts as a failure",
         0,
         {{kTrack, {0, "terrible"}}},
         {kTrackSent},
         kFalse16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMciScope scope;
        scope.mci.answers = c.answers;
        BgmRepeat = c.repeat;
        CdPollActive = c.active == kTrue16 ? kFalse16 : kTrue16; // must be set by the poll
        CdPoll();
        EXPECT_EQ(scope.mci.log, c.sent);
        EXPECT_EQ(CdPollActive, c.active);
    }
    BgmRepeat = 0;
}

TEST(CdPoll, RepeatZeroPlaysEachTimeTheDiscStops) {
    ScriptedMciScope scope;
    BgmRepeat = 0;
    scope.mci.answers = Disc("1", "stopped");
    CdOpen();
    CdPoll();
    scope.mci.answers[kMode] = {0, "playing"};
    CdPoll();
    scope.mci.answers[kMode] = {0, "stopped"};
    CdPoll();
    EXPECT_EQ(scope.mci.log, (Log{"open cdaudio", "set cdaudio time format tmsf",          //
                                  kTrackSent, kCountSent, kModeSent, "play cdaudio [512]", //
                                  kTrackSent, kCountSent, kModeSent,                       //
                                  kTrackSent, kCountSent, kModeSent, "play cdaudio [512]"}));
    EXPECT_EQ(CdPollActive, kTrue16);
}

// -- Music files --------------------------------------------------------------

const char* const kOpen = "open \"C:\\My Music\\loop one.mp3\" type MPEGVideo Alias MP3Play";

TEST(Mp3Player, Scenarios) {
    struct Case {
        const char* name;
        void (*run)();
        Answers answers;
        Log sent;
    };
    const std::string modeSent = "status MP3Play mode [30]";
    const std::vector<Case> cases = {
        {"open (path with blanks, quoted) and play", Mp3OpenAndPlay, {}, {kOpen, "play MP3Play"}},
        {"a failed open plays nothing", Mp3OpenAndPlay, {{kOpen, {277, ""}}}, {kOpen}},
        {"poll while playing: only the mode query",
         Mp3Poll,
         {{"status MP3Play mode", {0, "playing"}}},
         {modeSent}},
        {"poll after the end: stop, then play from 0",
         Mp3Poll,
         {{"status MP3Play mode", {0, "stopped"}}},
         {modeSent, "stop MP3Play", "play MP3Play from 0"}},
        {"poll on an alias that does not exist: the same, failing silently",
         Mp3Poll,
         {{"status MP3Play mode", {263, ""}},
          {"stop MP3Play", {263, ""}},
          {"play MP3Play from 0", {263, ""}}},
         {modeSent, "stop MP3Play", "play MP3Play from 0"}},
        {"mode compared case-sensitively",
         Mp3Poll,
         {{"status MP3Play mode", {0, "Playing"}}},
         {modeSent, "stop MP3Play", "play MP3Play from 0"}},
        {"mode reply filling its buffer with no NUL",
         Mp3Poll,
         {{"status MP3Play mode", {0, "playing" + std::string(40, 'q')}}},
         {modeSent}},
        {"stop and close", Mp3Stop, {}, {"stop MP3Play", "close MP3Play"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMciScope scope;
        scope.mci.answers = c.answers;
        BgmFile = "C:\\My Music\\loop one.mp3";
        BgmRepeat = 5; // plays no part for music files
        c.run();
        EXPECT_EQ(scope.mci.log, c.sent);
    }
    BgmFile.clear();
    BgmRepeat = 0;
}

TEST(Mp3Player, IsPlayingOnlyForPlaying) {
    for (const auto& [reply, playing] : std::vector<std::pair<std::string, Bool16>>{
             {"playing", kTrue16}, {"stopped", kFalse16}, {"", kFalse16}, {"play", kFalse16}}) {
        SCOPED_TRACE(reply);
        ScriptedMciScope scope;
        scope.mci.answers = {{"status MP3Play mode", {0, reply}}};
        EXPECT_EQ(Mp3IsPlaying(), playing);
    }
}

TEST(WavPlayer, LoopsOnlyWithAWaveDevice) {
    struct Case {
        std::uint32_t devices;
        Log sent;
    };
    const std::vector<Case> cases = {
        {2, {"sound C:\\My Music\\loop.wav flags 9"}},
        {1, {"sound C:\\My Music\\loop.wav flags 9"}},
        {0, {}},
        {0xFFFFFFFFu, {}}, // a negative count read as signed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.devices);
        ScriptedMciScope scope;
        scope.mci.waveDevices = c.devices;
        BgmFile = "C:\\My Music\\loop.wav";
        WavPlayLoop();
        EXPECT_EQ(scope.mci.log, c.sent);
    }
    BgmFile.clear();
}

TEST(WavPlayer, StopPassesNoSoundAndNoFlags) {
    ScriptedMciScope scope;
    WavStop();
    EXPECT_EQ(scope.mci.log, Log{"sound null flags 0"});
}

} // namespace
