// The settings file against the real profile-string service, and the file
// test against the real file system. The settings file lives beside this
// program (the program folder is where the host looks), so each test writes
// its own and removes it afterwards.
#include "Orvanel_B.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    // Drop whatever the profile service kept of an earlier file by this name.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

// A settings file with the three keys in the form the dialog leaves them.
std::string IniText(const std::string& mode, const std::string& repeat, const std::string& file) {
    return std::string("[Section]\r\n") + kKeyBgmMode + "=" + mode + "\r\n" + kKeyBgmRepeat + "=" +
           repeat + "\r\n" + kKeyBgmFile + "=" + file + "\r\n";
}

class SettingsFile : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::printf("GetACP() = %u\n", GetACP());
        std::fflush(stdout);
    }

    void SetUp() override {
        ini_ = forms::AppPath() + "\\Orvanel.ini";
        folder_ = forms::AppPath() + "\\settings_fixture";
        song_ = folder_ + "\\song.mp3";
        DeleteFileA(ini_.c_str());
        CreateDirectoryA(folder_.c_str(), nullptr);
        WriteBytes(song_, "ID3");
        BgmMode = 1;
        BgmRepeat = 3;
        BgmFile = "left over";
    }

    void TearDown() override {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini_.c_str());
        DeleteFileA(ini_.c_str());
        DeleteFileA(song_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    // Loads from a fixture file and checks that loading left its bytes alone.
    void LoadFrom(const std::string& bytes) {
        WriteBytes(ini_, bytes);
        LoadSettings();
        EXPECT_EQ(ReadBytes(ini_), bytes);
    }

    std::string ini_, folder_, song_;
};

TEST_F(SettingsFile, PathIsBesideTheProgram) {
    EXPECT_EQ(SettingsFilePath(), ini_);
}

TEST(CodePage, IsTheOneTheRunAskedFor) {
    const char* expected = std::getenv("ORVANEL_EXPECT_ACP");
    if (expected == nullptr) {
        GTEST_SKIP() << "no code page asked for";
    }
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
}

TEST_F(SettingsFile, NoFileGivesTheEmptyRecord) {
    LoadSettings();
    EXPECT_EQ(BgmMode, 0);
    EXPECT_EQ(BgmRepeat, 0);
    EXPECT_EQ(BgmFile, "");
    EXPECT_EQ(GetFileAttributesA(ini_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFile, ModeTwoWithAnExistingFile) {
    LoadFrom(IniText(" 2", " 4", song_));
    EXPECT_EQ(BgmMode, 2);
    EXPECT_EQ(BgmRepeat, 4);
    EXPECT_EQ(BgmFile, song_);
}

TEST_F(SettingsFile, FallBacks) {
    const struct {
        const char* what;
        std::string mode, repeat, file;
        std::int16_t bgmMode, bgmRepeat;
        std::string bgmFile;
    } cases[] = {
        {"mode 2, file key empty", " 2", " 0", "", 0, 0, ""},
        {"mode 2, file missing", " 2", " 0", folder_ + "\\gone.mp3", 0, 0, ""},
        {"mode 2, file is a folder", " 2", " 0", folder_, 0, 0, ""},
        {"mode 1, file missing", " 1", " 5", folder_ + "\\gone.mp3", 1, 5, ""},
        {"fractions", "2.9", "-0.5", song_, 2, -1, song_},
        {"not numbers", "abc", "70000", song_, 1, 3, song_},
        {"unknown mode", "5", "1e1", song_, 5, 10, song_},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        BgmMode = 1;
        BgmRepeat = 3;
        BgmFile = "left over";
        LoadFrom(IniText(c.mode, c.repeat, c.file));
        EXPECT_EQ(BgmMode, c.bgmMode);
        EXPECT_EQ(BgmRepeat, c.bgmRepeat);
        EXPECT_EQ(BgmFile, c.bgmFile);
    }
}

TEST_F(SettingsFile, LongValueComesBackCutAndFailsTheFileTest) {
    std::string path = folder_ + "\\" + std::string(300 - folder_.size() - 1, 'x');
    ASSERT_EQ(path.size(), 300u);
    LoadFrom(IniText(" 2", " 0", path));
    EXPECT_EQ(ReadSetting(kSettingsSection, kKeyBgmFile, ini_), path.substr(0, 255));
    EXPECT_EQ(BgmMode, 0);
    EXPECT_EQ(BgmFile, "");

    // When the cut path happens to name a file, that file is the music.
    std::string cut = path.substr(0, 255);
    WriteBytes(cut, "RIFF");
    LoadFrom(IniText(" 2", " 0", path));
    EXPECT_EQ(BgmMode, 2);
    EXPECT_EQ(BgmFile, cut);
    DeleteFileA(cut.c_str());
}

TEST_F(SettingsFile, MissingSectionOrKeyReadsEmpty) {
    WriteBytes(ini_, IniText(" 1", " 2", song_));
    EXPECT_EQ(ReadSetting("Other", kKeyBgmMode, ini_), "");
    EXPECT_EQ(ReadSetting(kSettingsSection, "BGM", ini_), "");
    EXPECT_EQ(ReadSetting(kSettingsSection, kKeyBgmMode, folder_ + "\\none.ini"), "");
    EXPECT_EQ(ReadSetting(kSettingsSection, kKeyBgmRepeat, ini_), "2");
}

TEST_F(SettingsFile, WrittenFileHoldsTheKeyBytes) {
    // The dialog's save: three writes, in this order.
    WriteSetting(kSettingsSection, kKeyBgmMode, " 2", ini_);
    WriteSetting(kSettingsSection, kKeyBgmRepeat, " 0", ini_);
    WriteSetting(kSettingsSection, kKeyBgmFile, song_, ini_);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini_.c_str());
    std::string bytes = ReadBytes(ini_);
    std::printf("written: ");
    for (unsigned char c : bytes) {
        std::printf(c >= 0x20 && c < 0x7f ? "%c" : "\\x%02x", c);
    }
    std::printf("\n");
    EXPECT_THAT(bytes, ::testing::HasSubstr("[Section]"));
    // The service may keep or drop the blank before a number.
    EXPECT_THAT(bytes, ::testing::ContainsRegex(std::string(kKeyBgmMode) + " ?= ?2"));
    EXPECT_THAT(bytes, ::testing::ContainsRegex(std::string(kKeyBgmRepeat) + " ?= ?0"));
    EXPECT_THAT(bytes, ::testing::HasSubstr(std::string(kKeyBgmFile) + "=" + song_));
    EXPECT_LT(bytes.find(kKeyBgmMode), bytes.find(kKeyBgmRepeat));
    EXPECT_LT(bytes.find(kKeyBgmRepeat), bytes.find(kKeyBgmFile));

    LoadSettings();
    EXPECT_EQ(BgmMode, 2);
    EXPECT_EQ(BgmRepeat, 0);
    EXPECT_EQ(BgmFile, song_);
}

TEST_F(SettingsFile, NamesAreCutToTheirField) {
    std::string whole(kSettingNameField, 'k');
    std::string longer(kSettingNameField + 72, 'n');
    WriteSetting(kSettingsSection, whole, "a", ini_);
    WriteSetting(kSettingsSection, longer, "b", ini_);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini_.c_str());
    std::string bytes = ReadBytes(ini_);
    EXPECT_THAT(bytes, ::testing::HasSubstr("\n" + whole + "=a"));
    EXPECT_THAT(bytes, ::testing::HasSubstr("\n" + longer.substr(0, kSettingNameField) + "=b"));
    EXPECT_EQ(bytes.find(longer.substr(0, kSettingNameField + 1)), std::string::npos);
}

TEST_F(SettingsFile, FileExistsTable) {
    const struct {
        std::string path;
        bool exists;
    } cases[] = {
        {song_, true},    {song_ + "\\", true},    {song_ + "\\\\", false},
        {folder_, false}, {folder_ + "\\", false}, {folder_ + "\\gone.mp3", false},
        {"", false},      {"\\", false},
    };
    for (const auto& c : cases) {
        SetLastError(ERROR_INVALID_FUNCTION);
        EXPECT_EQ(FileExists(c.path), c.exists) << '"' << c.path << '"';
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << '"' << c.path << '"';
    }
    // The file test leaves no handle open: the file can be removed at once.
    EXPECT_TRUE(FileExists(song_));
    EXPECT_TRUE(DeleteFileA(song_.c_str()));
    EXPECT_FALSE(FileExists(song_));
}

TEST_F(SettingsFile, TrailingByteThatLooksLikeABackslashIsKept) {
    if (GetACP() != 932) {
        GTEST_SKIP() << "needs code page 932";
    }
    // "x" followed by the double-byte character 0x95 0x5C: its second byte is
    // the backslash's value but it ends no folder name.
    std::string name = folder_ + "\\x\x95\x5c";
    WriteBytes(name, "RIFF");
    EXPECT_TRUE(FileExists(name));
    EXPECT_TRUE(FileExists(name + "\\"));
    EXPECT_FALSE(FileExists(name.substr(0, name.size() - 1)));
    DeleteFileA(name.c_str());
}

} // namespace
