// A multimedia device that answers from a script: per command a code and a
// reply, per code an error text (or none). It logs every call with the buffer
// length it was given, and writes no more than that length into the buffer.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "Orvanel_BGM.h"

struct ScriptedMci final : MciPlatform {
    struct Answer {
        std::uint32_t code = 0;
        std::string reply;
    };
    std::map<std::string, Answer> answers;          // unknown commands: 0, no reply
    std::map<std::uint32_t, std::string> errorText; // unknown codes: no text
    std::uint32_t waveDevices = 2;
    std::vector<std::string> log;

    // Each call in the log: "command" when sent with no buffer (null, 0),
    // "command [N]" with a buffer of N characters; "error C [N]" for an error
    // text query; "sound NAME flags F" (NAME "null") for PlaySoundA.
    std::uint32_t SendString(const char* command, char* buffer, std::uint32_t length) override {
        std::string entry = command;
        if (buffer) {
            entry += " [" + std::to_string(length) + "]";
        } else if (length != 0) {
            entry += " [null but " + std::to_string(length) + "]";
        }
        log.push_back(entry);
        auto it = answers.find(command);
        if (it == answers.end()) {
            return 0;
        }
        if (buffer) {
            Copy(it->second.reply, buffer, length);
        }
        return it->second.code;
    }
    bool GetErrorString(std::uint32_t code, char* buffer, std::uint32_t length) override {
        log.push_back("error " + std::to_string(code) + " [" + std::to_string(length) + "]");
        auto it = errorText.find(code);
        if (it == errorText.end()) {
            return false;
        }
        Copy(it->second, buffer, length);
        return true;
    }
    bool PlayWaveSound(const char* name, std::uint32_t flags) override {
        log.push_back(std::string("sound ") + (name ? name : "null") + " flags " +
                      std::to_string(flags));
        return true;
    }
    std::uint32_t WaveOutDeviceCount() override { return waveDevices; }

    // As the platform does: the text, and a NUL only when there is room for it.
    static void Copy(const std::string& text, char* buffer, std::uint32_t length) {
        std::size_t n = text.size() < length ? text.size() : length;
        std::memcpy(buffer, text.data(), n);
        if (n < length) {
            buffer[n] = '\0';
        }
    }
};

// Installs a scripted device for the life of a test and puts the module's
// shared state back to its start-up values.
struct ScriptedMciScope {
    ScriptedMci mci;
    ScriptedMciScope() {
        SetMciPlatform(&mci);
        MciLastReply.clear();
        CdPollActive = kFalse16;
    }
    ~ScriptedMciScope() { SetMciPlatform(nullptr); }
};
