// Orvanel_BGM: the host's background music. A small channel over the multimedia
// command strings, the audio CD player with its track repeat, and the MP3 and
// WAV players. Everything runs on the host's one UI thread, driven by timers.
//
// The module talks to the platform only through MciPlatform, so the same logic
// runs against winmm on Windows and against a scripted device in the tests.
#pragma once

#include <cstdint>
#include <string>

#include "host_types.h"

// The four multimedia calls the module makes. Texts are ANSI code page bytes;
// buffer lengths are in characters (bytes) and are never exceeded.
struct MciPlatform {
    virtual ~MciPlatform() = default;
    // mciSendStringA(command, buffer, length, no callback window). buffer may be
    // null with length 0 when no reply is wanted. Returns the MCI error code.
    virtual std::uint32_t SendString(const char* command, char* buffer, std::uint32_t length) = 0;
    // mciGetErrorStringA: false when no text is available for the code.
    virtual bool GetErrorString(std::uint32_t code, char* buffer, std::uint32_t length) = 0;
    // PlaySoundA(name, no module, flags); name may be null.
    virtual bool PlayWaveSound(const char* name, std::uint32_t flags) = 0;
    // waveOutGetNumDevs.
    virtual std::uint32_t WaveOutDeviceCount() = 0;
};

// The platform's own multimedia services (winmm on Windows; a machine without
// any multimedia device elsewhere).
MciPlatform& SystemMciPlatform();

// Replaces the platform the module uses; null goes back to SystemMciPlatform().
void SetMciPlatform(MciPlatform* platform);

// Capacities of the module's fixed buffers, in characters.
constexpr std::uint32_t kMciReplyCapacity = 512;
constexpr std::uint32_t kMciErrorCapacity = 256;
constexpr std::uint32_t kCdModeCapacity = 255;
constexpr std::uint32_t kMp3ModeCapacity = 30;

// PlaySoundA flags used by the WAV player.
constexpr std::uint32_t kSndAsync = 0x0001;
constexpr std::uint32_t kSndLoop = 0x0008;

// The two texts the channel produces itself, as code page 932 bytes.
extern const char* const kMciNoCommandText; // "コマンド文字列が指定されていません"
extern const char* const kMciNoErrorText;   // "Error (文字列が取れません)"

// Reply (or error text) of the last command sent by MciSendText or MciPlay.
extern std::string MciLastReply;

// True keeps the 200 ms CD poll running; false ends it for the rest of the run.
extern Bool16 CdPollActive;

// -- Command channel ----------------------------------------------------------
// Sends one command; returns 0, the platform's error code, or -1 for an empty
// command. reply gets the reply text, or the error text when the command failed.
std::int32_t MciSend(const std::string& command, std::string& reply);
// The reply of the command, or "Error:" and the code when it failed.
std::string MciSendText(const std::string& command);
// "play <device>" with " from <from>" and " to <to>" when those are not empty.
std::int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to);

// -- Audio CD -----------------------------------------------------------------
void CdOpen();
void CdPoll();
void CdStop();

// -- Music files (BgmFile) ----------------------------------------------------
void Mp3OpenAndPlay();
Bool16 Mp3IsPlaying();
void Mp3Poll();
void Mp3Stop();
void WavPlayLoop();
void WavStop();
