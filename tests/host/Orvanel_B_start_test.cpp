// Start-up dispatch: for each command line and situation, the calls Main makes,
// in order, through a recording platform.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Orvanel_B_start.h"

namespace {

struct RecordingStartup : StartupPlatform {
    std::string cmdline;
    std::set<std::string> windows;
    bool rendererPresent = true;
    std::vector<std::string> log;

    std::string CommandLine() override { return cmdline; }
    std::string AppPath() override { return "C:\\Saver"; }
    bool WindowExists(const char* title) override {
        log.push_back(std::string("window ") + title);
        return windows.count(title) != 0;
    }
    void ShowPreview() override { log.push_back("preview"); }
    void LoadSettings() override { log.push_back("settings"); }
    bool FileExists(const std::string& path) override {
        log.push_back("exists " + path);
        return rendererPresent;
    }
    void MsgBox(const std::string& text) override { log.push_back("message " + text); }
    void ShowSettingsDialog() override { log.push_back("dialog"); }
    std::int32_t ShowCursor(bool show) override {
        log.push_back(show ? "cursor show" : "cursor hide");
        return -1;
    }
    void LoadRunForm() override { log.push_back("run form"); }
    void End() override { log.push_back("end"); }
};

using Log = std::vector<std::string>;

const Log kGuard = {"window Orvanel_Main", "window <Orvanel>", "window Orvanel_Vexon"};

Log Then(Log head, const Log& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

} // namespace

TEST(Main, DispatchesEachCommandLine) {
    const std::string check = "exists C:\\Saver\\Orvanel.dll";
    const std::string missing = std::string("message ") + kRendererMissingText;
    struct Case {
        const char* cmdline;
        std::set<std::string> windows;
        bool rendererPresent;
        Log expected;
    };
    const Case cases[] = {
        {"/s", {}, true, Then(kGuard, {"settings", check, "cursor hide", "run form"})},
        {"/S", {}, true, Then(kGuard, {"settings", check, "cursor hide", "run form"})},
        {"-s", {}, true, Then(kGuard, {"settings", check, "cursor hide", "run form"})},
        // Empty: runs, and the cursor is left alone.
        {"", {}, true, Then(kGuard, {"settings", check, "run form"})},
        {"/c", {}, true, Then(kGuard, {"settings", check, "dialog", "end"})},
        {"/c:1234", {}, true, Then(kGuard, {"settings", check, "dialog", "end"})},
        // Preview: no settings, no renderer check.
        {"/p 1234", {}, true, Then(kGuard, {"preview"})},
        {"/P:1234", {}, false, Then(kGuard, {"preview"})},
        // Other text ends after the check, silently.
        {"/a", {}, true, Then(kGuard, {"settings", check, "end"})},
        {"x", {}, true, Then(kGuard, {"settings", check, "end"})},
        {"S", {}, true, Then(kGuard, {"settings", check, "end"})},
        // The renderer missing: the message, then the end; even for /c.
        {"/s", {}, false, Then(kGuard, {"settings", check, missing, "end"})},
        {"/c", {}, false, Then(kGuard, {"settings", check, missing, "end"})},
        {"", {}, false, Then(kGuard, {"settings", check, missing, "end"})},
        {"/a", {}, false, Then(kGuard, {"settings", check, missing, "end"})},
        // Another instance: all three titles are looked for, then a silent end.
        {"/s", {"Orvanel_Main"}, true, Then(kGuard, {"end"})},
        {"/s", {"<Orvanel>"}, true, Then(kGuard, {"end"})},
        {"/p 1234", {"Orvanel_Vexon"}, true, Then(kGuard, {"end"})},
        {"/c", {"Orvanel_Main", "Orvanel_Vexon"}, true, Then(kGuard, {"end"})},
    };
    for (const Case& c : cases) {
        RecordingStartup platform;
        platform.cmdline = c.cmdline;
        platform.windows = c.windows;
        platform.rendererPresent = c.rendererPresent;
        CursorDisplayCount = 0;
        Main(platform);
        EXPECT_EQ(platform.log, c.expected) << "command line \"" << c.cmdline << "\"";
    }
}

TEST(Main, KeepsTheCountFromHidingTheCursor) {
    RecordingStartup platform;
    platform.cmdline = "/s";
    CursorDisplayCount = 0;
    Main(platform);
    EXPECT_EQ(CursorDisplayCount, -1);

    platform.cmdline = "";
    CursorDisplayCount = 7;
    Main(platform);
    EXPECT_EQ(CursorDisplayCount, 7) << "an empty command line leaves the cursor alone";
}
