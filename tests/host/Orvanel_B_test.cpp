// Portable rules of the start-up module: settings values and the command line.
#include "Orvanel_B.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(SettingNumber, ValueRules) {
    const struct {
        const char* text;
        std::optional<std::int16_t> value;
    } cases[] = {
        {"", 0},
        {" 2", 2},
        {"2", 2},
        {"2 ", 2},
        {"-1", -1},
        {"2.9", 2},
        {"-0.5", -1},
        {"5", 5},
        {"1e1", 10},
        {"2.5E-1", 0},
        {"32767.9", 32767},
        {"-32768", -32768},
        {"abc", std::nullopt},
        {"70000", std::nullopt},
        {"32768", std::nullopt},
        {"-32768.5", std::nullopt},
        {" ", std::nullopt},
        {"2 2", std::nullopt},
        {"1e400", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SettingNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ApplySettingsTexts, LoadingRules) {
    const std::set<std::string> files = {"C:\\music\\song.mp3"};
    auto exists = [&files](const std::string& p) { return files.count(p) != 0; };
    const std::string song = "C:\\music\\song.mp3";
    const SettingsRecord start{};
    const SettingsRecord earlier{1, 7, "C:\\old.wav"};
    const struct {
        const char* what;
        SettingsRecord previous;
        const char* mode;
        const char* repeat;
        std::string file;
        SettingsRecord expected;
    } cases[] = {
        {"nothing stored", start, "", "", "", {0, 0, ""}},
        {"mode 2 with its file", start, " 2", " 3", song, {2, 3, song}},
        {"written without the blank", start, "2", "3", song, {2, 3, song}},
        {"mode 2, file key empty", start, " 2", " 0", "", {0, 0, ""}},
        {"mode 2, file missing", start, " 2", " 0", "C:\\gone.mp3", {0, 0, ""}},
        {"mode 1, file missing", start, " 1", " 4", "C:\\gone.mp3", {1, 4, ""}},
        {"mode 1, file empty", start, " 1", "", "", {1, 0, ""}},
        {"unknown mode kept", start, "5", "", song, {5, 0, song}},
        {"fraction taken down", start, "2.9", "-0.5", song, {2, -1, song}},
        {"not a number keeps 0", start, "abc", "70000", song, {0, 0, song}},
        {"not a number keeps earlier", earlier, "abc", "70000", song, {1, 7, song}},
        {"empty resets earlier", earlier, "", "", "", {0, 0, ""}},
        {"failed mode 2 still drops", {2, 0, ""}, "x", "", "C:\\gone.mp3", {0, 0, ""}},
    };
    for (const auto& c : cases) {
        SettingsRecord r = ApplySettingsTexts(c.previous, c.mode, c.repeat, c.file, exists);
        EXPECT_EQ(r.mode, c.expected.mode) << c.what;
        EXPECT_EQ(r.repeat, c.expected.repeat) << c.what;
        EXPECT_EQ(r.file, c.expected.file) << c.what;
    }
}

TEST(ApplySettingsTexts, FileTestSeesTheStoredText) {
    std::string asked;
    auto exists = [&asked](const std::string& p) {
        asked = p;
        return true;
    };
    ApplySettingsTexts({}, "2", "", " D:\\a b\\c.wav ", exists);
    EXPECT_EQ(asked, " D:\\a b\\c.wav ");
    asked = "untouched";
    ApplySettingsTexts({}, "2", "", "", exists);
    EXPECT_EQ(asked, "untouched");
}

TEST(KeyNames, AreTheirCodePage932Bytes) {
    EXPECT_EQ(std::string(kKeyBgmMode), "BGM\x8b\xe6\x95\xaa");
    EXPECT_EQ(std::string(kKeyBgmRepeat), std::string("BGM\xd8\xcb\xdf\xb0\xc4"));
    EXPECT_EQ(std::string(kKeyBgmFile), std::string("BGM\xcc\xa7\xb2\xd9"));
}

TEST(CommandLine, ModeLetter) {
    const struct {
        const char* cmdline;
        const char* letter;
    } cases[] = {
        {"/s", "S"}, {"/S", "S"}, {"-s", "S"}, {"/c", "C"}, {"/c:1234", "C"}, {"/p 1234", "P"},
        {"/a", "A"}, {"", ""},    {"S", ""},   {"x", ""},   {"sc", "C"},      {"/\xe9", "\xe9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModeLetter(c.cmdline), c.letter) << '"' << c.cmdline << '"';
    }
}

TEST(CommandLine, PreviewHandle) {
    const struct {
        const char* cmdline;
        std::int32_t handle;
    } cases[] = {
        {"/p 1234", 1234},
        {"/p:1234", 1234},
        {"/p  1234", 1234},
        {"/p 12 34", 1234},
        {"/p 1234 /x", 1234},
        {"/p 1234abc", 1234},
        {"/p 1234.5", 1234},
        {"/p 1235.5", 1236},
        {"/p", 0},
        {"/p ", 0},
        {"/p x", 0},
        {"/p -5", -5},
        {"/p 2147483647", 2147483647},
        {"/p 2147483648", 0},
        {"/p 1e400", 0},
        {"/p 99999999999999999999", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PreviewHandle(c.cmdline), c.handle) << '"' << c.cmdline << '"';
    }
}

} // namespace
