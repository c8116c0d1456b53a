#include "Orvanel_B_start.h"

#include "Orvanel_B.h"

std::int32_t CursorDisplayCount = 0;

void Main(StartupPlatform& platform) {
    // Only one instance of the system at a time: all three titles are looked
    // for every time, before anything else (even before a preview).
    bool running = false;
    for (const char* title : kInstanceTitles) {
        running = platform.WindowExists(title) || running;
    }
    if (running) {
        platform.End();
        return;
    }

    const std::string cmdline = platform.CommandLine();
    const std::string mode = ModeLetter(cmdline);
    if (mode == "P") {
        platform.ShowPreview();
        return;
    }

    // Settings first, so the dialog always opens on loaded settings.
    platform.LoadSettings();

    if (!platform.FileExists(platform.AppPath() + "\\Orvanel.dll")) {
        platform.MsgBox(kRendererMissingText);
        platform.End();
        return;
    }

    if (mode == "C") {
        platform.ShowSettingsDialog();
        platform.End();
        return;
    }

    if (!cmdline.empty() && mode != "S") {
        platform.End();
        return;
    }

    if (mode == "S") {
        CursorDisplayCount = platform.ShowCursor(false);
    }
    platform.LoadRunForm();
}
