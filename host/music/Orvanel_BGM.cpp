#include "Orvanel_BGM.h"

#include <cstring>
#include <exception>
#include <optional>

#include "Orvanel_B.h"
#include "text.h"

// UTF-8: "コマンド文字列が指定されていません"
const char* const kMciNoCommandText =
    "\x83\x52\x83\x7d\x83\x93\x83\x68\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\x77\x92\xe8"
    "\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1";
// UTF-8: "Error (文字列が取れません)"
const char* const kMciNoErrorText = "Error ("
                                    "\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\xe6\x82\xea\x82\xdc"
                                    "\x82\xb9\x82\xf1"
                                    ")";

std::string MciLastReply;
Bool16 CdPollActive = kFalse16;

namespace {

MciPlatform* g_platform = nullptr;

MciPlatform& Platform() {
    return g_platform ? *g_platform : SystemMciPlatform();
}

// The module's fixed buffers. They live for the whole process and are shared by
// every call; the host never makes two calls at once.
char MciReplyBuffer[kMciReplyCapacity];
char MciErrorBuffer[kMciErrorCapacity];
char CdModeReply[kCdModeCapacity];
char Mp3ModeReply[kMp3ModeCapacity];

// A buffer is cleared before each call, so a command that writes nothing (a
// play, or a query that failed) leaves an empty reply rather than an old one.
template <std::size_t N> char* Cleared(char (&buffer)[N]) {
    std::memset(buffer, 0, N);
    return buffer;
}

// The text of a buffer up to its first NUL. A reply that fills the whole buffer
// has none; it then ends at the buffer's capacity.
template <std::size_t N> std::string TextOf(const char (&buffer)[N]) {
    const void* nul = std::memchr(buffer, '\0', N);
    std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : N;
    return std::string(buffer, length);
}

// Whether a reply begins with a mode word, compared exactly (case-sensitive).
template <std::size_t N> bool ModeIs(const char (&buffer)[N], const char* word) {
    return TextOf(buffer).substr(0, std::strlen(word)) == word;
}

void SendDirect(const std::string& command) {
    Platform().SendString(command.c_str(), nullptr, 0);
}

bool ContainsErr(const std::string& text) {
    return forms::UpperCase(text).find("ERR") != std::string::npos;
}

struct PollFailed {};

} // namespace

void SetMciPlatform(MciPlatform* platform) {
    g_platform = platform;
}

// -- Command channel ----------------------------------------------------------

std::int32_t MciSend(const std::string& command, std::string& reply) {
    if (command.empty()) {
        reply = kMciNoCommandText;
        return -1;
    }
    MciPlatform& platform = Platform();
    std::int32_t code = static_cast<std::int32_t>(
        platform.SendString(command.c_str(), Cleared(MciReplyBuffer), kMciReplyCapacity));
    if (code != 0) {
        if (!platform.GetErrorString(static_cast<std::uint32_t>(code), Cleared(MciErrorBuffer),
                                     kMciErrorCapacity)) {
            reply = kMciNoErrorText;
        } else {
            reply = TextOf(MciErrorBuffer);
        }
        return code;
    }
    reply = TextOf(MciReplyBuffer);
    return 0;
}

std::string MciSendText(const std::string& command) {
    std::int32_t code = MciSend(command, MciLastReply);
    if (code != 0) {
        return "Error:" + std::to_string(code);
    }
    return MciLastReply;
}

std::int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to) {
    std::string command = "play " + device;
    if (!from.empty()) {
        command += " from " + from;
    }
    if (!to.empty()) {
        command += " to " + to;
    }
    return MciSend(command, MciLastReply);
}

// -- Audio CD -----------------------------------------------------------------

void CdOpen() {
    SendDirect("open cdaudio");
    SendDirect("set cdaudio time format tmsf");
}

void CdStop() {
    SendDirect("stop cdaudio");
    SendDirect("close cdaudio");
}

void CdPoll() {
    CdPollActive = kTrue16;
    try {
        std::string track = MciSendText("status cdaudio current track");
        if (ContainsErr(track)) {
            throw PollFailed{};
        }
        // The count only tells whether a disc is there to be played.
        std::string count = MciSendText("status cdaudio number of tracks");
        if (ContainsErr(count)) {
            throw PollFailed{};
        }
        Platform().SendString("status cdaudio mode", Cleared(CdModeReply), kCdModeCapacity);
        bool stopped = ModeIs(CdModeReply, "stopped");

        if (BgmRepeat == 0) {
            if (stopped) {
                MciPlay("cdaudio", "", "");
            }
            return;
        }
        // The track must be a number as a whole; any other reply ends polling.
        std::optional<double> trackNumber = forms::ParseNumberText(track);
        if (!trackNumber) {
            throw PollFailed{};
        }
        if (*trackNumber != BgmRepeat || stopped) {
            std::string start =
                MciSendText("status cdaudio position track " + std::to_string(BgmRepeat));
            MciPlay("cdaudio", start, "");
        }
    } catch (const PollFailed&) {
        CdPollActive = kFalse16;
    } catch (const std::exception&) {
        CdPollActive = kFalse16;
    }
}

// -- Music files --------------------------------------------------------------

void Mp3OpenAndPlay() {
    std::string open = "open \"" + BgmFile + "\" type MPEGVideo Alias MP3Play";
    if (Platform().SendString(open.c_str(), nullptr, 0) != 0) {
        return;
    }
    SendDirect("play MP3Play");
}

Bool16 Mp3IsPlaying() {
    Platform().SendString("status MP3Play mode", Cleared(Mp3ModeReply), kMp3ModeCapacity);
    return ModeIs(Mp3ModeReply, "playing") ? kTrue16 : kFalse16;
}

void Mp3Poll() {
    if (Mp3IsPlaying()) {
        return;
    }
    // Stop first: after the file has ended by itself, a play from 0 without the
    // stop can leave the player sounding after a later stop.
    SendDirect("stop MP3Play");
    SendDirect("play MP3Play from 0");
}

void Mp3Stop() {
    SendDirect("stop MP3Play");
    SendDirect("close MP3Play");
}

void WavPlayLoop() {
    std::int32_t devices = static_cast<std::int32_t>(Platform().WaveOutDeviceCount());
    if (devices <= 0) {
        return;
    }
    // No SND_FILENAME: the name may also be a sound of the system's own.
    Platform().PlayWaveSound(BgmFile.c_str(), kSndAsync | kSndLoop);
}

void WavStop() {
    Platform().PlayWaveSound(nullptr, 0);
}
