// Orvanel_B start-up: the host's first code. Refuses to run beside another
// instance, reads the mode letter and hands over to the preview, the settings
// dialog or the hidden run-mode form.
//
// The dispatch runs over StartupPlatform, so the same steps run against the
// forms layer in Orvanel.scr and against a recording fake in the tests.
#pragma once

#include <cstdint>
#include <string>

// The display count returned when Main hid the cursor (S switch only); the
// run-mode clean-up hands it back to ShowCursor and keeps the result.
extern std::int32_t CursorDisplayCount;

// Titles whose windows mark a running instance: the run-mode form, the
// settings dialog and the renderer, in the order they are looked for.
inline constexpr const char* kInstanceTitles[] = {"Orvanel_Main", "<Orvanel>", "Orvanel_Vexon"};

// Shown when the renderer is not beside the host (UTF-8).
inline constexpr char kRendererMissingText[] = u8"Orvanel.dll が同じﾌｫﾙﾀﾞに見つかりません！";

struct StartupPlatform {
    virtual ~StartupPlatform() = default;
    virtual std::string CommandLine() = 0;
    virtual std::string AppPath() = 0;
    virtual bool WindowExists(const char* title) = 0;
    virtual void ShowPreview() = 0;
    virtual void LoadSettings() = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual void MsgBox(const std::string& utf8Text) = 0;
    virtual void ShowSettingsDialog() = 0; // modal, no owner
    virtual std::int32_t ShowCursor(bool show) = 0;
    virtual void LoadRunForm() = 0;
    // The immediate end of the process. Never returns in the program; the
    // tests' fake returns, and Main returns right after calling it.
    virtual void End() = 0;
};

// The start-up routine.
void Main(StartupPlatform& platform);
