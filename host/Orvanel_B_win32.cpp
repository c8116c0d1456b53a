// The settings file over the system's profile-string service, and the file
// test shared by the settings and the renderer check.
#include "Orvanel_B.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "app.h"

namespace {

// Owns a file handle from CreateFileA.
class FileHandle {
  public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (valid()) {
            CloseHandle(h_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE h_;
};

// A section or key name in its fixed field: cut to the field, always ended by
// a NUL, so a name of the field's full length still arrives whole.
using NameField = std::array<char, kSettingNameField + 1>;

NameField MakeNameField(const std::string& name) {
    NameField field{};
    std::copy_n(name.begin(), std::min(name.size(), kSettingNameField), field.begin());
    return field;
}

} // namespace

std::string SettingsFilePath() {
    return forms::AppPath() + kSettingsFileName;
}

std::string ReadSetting(const std::string& section, const std::string& key,
                        const std::string& file) {
    std::array<char, kSettingReadBuffer> buffer{};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                             static_cast<DWORD>(buffer.size()), file.c_str());
    // The service always ends the text with a NUL inside the buffer; stop at
    // the first one rather than trusting its count.
    buffer.back() = '\0';
    return std::string(buffer.data());
}

void WriteSetting(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file) {
    NameField sectionField = MakeNameField(section);
    NameField keyField = MakeNameField(key);
    // Whether the system accepted the write is of no use to the caller.
    WritePrivateProfileStringA(sectionField.data(), keyField.data(), value.c_str(), file.c_str());
}

void LoadSettings() {
    std::string modeText = ReadSetting(kSettingsSection, kKeyBgmMode, SettingsFilePath());
    std::string repeatText = ReadSetting(kSettingsSection, kKeyBgmRepeat, SettingsFilePath());
    std::string fileText = ReadSetting(kSettingsSection, kKeyBgmFile, SettingsFilePath());
    SettingsRecord record = ApplySettingsTexts({BgmMode, BgmRepeat, BgmFile}, modeText, repeatText,
                                               fileText, FileExists);
    BgmMode = record.mode;
    BgmRepeat = record.repeat;
    BgmFile = record.file;
}

bool FileExists(const std::string& path) {
    std::string name = path;
    // Only a real backslash character counts: in a double-byte code page the
    // second byte of a character can have the backslash's value.
    if (!name.empty() && name.back() == '\\' &&
        CharPrevA(name.c_str(), name.c_str() + name.size()) == name.c_str() + name.size() - 1) {
        name.pop_back();
    }
    bool opened = false;
    if (!name.empty()) {
        // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open, which is
        // the answer wanted for one. Others may hold the file open for writing.
        FileHandle file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        opened = file.valid();
    }
    // The answer is the result; the caller sees no error from the test.
    SetLastError(ERROR_SUCCESS);
    return opened;
}
