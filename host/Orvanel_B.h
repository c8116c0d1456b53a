// Orvanel_B: the host's start-up module. Holds the settings record that the
// rest of the host reads, and the settings file operations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "host_types.h"

// Settings record: loaded once at start-up, edited by the settings dialog.
extern std::int16_t BgmMode;   // 0 no music, 1 audio CD, 2 music file
extern std::int16_t BgmRepeat; // CD track to loop, 0 for none
extern std::string BgmFile;    // full path of the music file (ANSI code page bytes)

// The settings file: Orvanel.ini beside the program, one section, three keys.
// The key names are stored as their code page 932 bytes ("BGM区分",
// "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ"), so the file holds the same bytes on every system.
inline constexpr char kSettingsFileName[] = "\\Orvanel.ini";
inline constexpr char kSettingsSection[] = "Section";
inline constexpr char kKeyBgmMode[] = "BGM\x8b\xe6\x95\xaa";
inline constexpr char kKeyBgmRepeat[] = "BGM\xd8\xcb\xdf\xb0\xc4";
inline constexpr char kKeyBgmFile[] = "BGM\xcc\xa7\xb2\xd9";

// Room the profile service gets for one value (including its terminator), and
// the field a section or key name is placed in before a write.
inline constexpr std::size_t kSettingReadBuffer = 256;
inline constexpr std::size_t kSettingNameField = 128;

// --- Portable rules -----------------------------------------------------------

// The three fields as one value, for the loading rules.
struct SettingsRecord {
    std::int16_t mode = 0;
    std::int16_t repeat = 0;
    std::string file;
};

// A stored mode or repeat value: empty gives 0; otherwise a number as a whole
// (blanks around it and a fraction allowed), taken down to the greatest whole
// number not above it. Nothing when the text is not a number or the result
// does not fit 16 bits: the field then keeps what it held.
std::optional<std::int16_t> SettingNumber(std::string_view text);

// The loading rules over the three texts read from the file: numbers as
// SettingNumber says (a failed one keeps the previous value), then the file
// name, which is dropped when empty or when `fileExists` rejects it, and mode
// 2 falls back to 0 with it.
SettingsRecord ApplySettingsTexts(SettingsRecord previous, std::string_view modeText,
                                  std::string_view repeatText, std::string_view fileText,
                                  const std::function<bool(const std::string&)>& fileExists);

// The command line's mode letter: its second character in upper case, or the
// empty text when it is shorter than two characters.
std::string ModeLetter(std::string_view cmdline);

// The preview pane's handle: the number from the fourth character on, blanks
// ignored, rounded to 32 bits; 0 when there is none or it is out of range.
std::int32_t PreviewHandle(std::string_view cmdline);

// --- Settings file (Win32) ----------------------------------------------------

// Path of the settings file, built anew from the program folder on each call.
std::string SettingsFilePath();

// The value under the key, or empty when the file, section or key is missing.
// At most 255 bytes come back.
std::string ReadSetting(const std::string& section, const std::string& key,
                        const std::string& file);

// Stores the value under the key, creating file, section and key as needed.
// Names longer than 128 characters are cut to 128. A refused write goes
// unnoticed.
void WriteSetting(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file);

// Loads BgmMode, BgmRepeat and BgmFile from the settings file.
void LoadSettings();

// True when the path opens for reading as a file (one trailing backslash is
// dropped first). Folders, missing files and the empty path give false.
bool FileExists(const std::string& path);
