#include "Orvanel_B.h"

#include "text.h"

std::int16_t BgmMode = 0;
std::int16_t BgmRepeat = 0;
std::string BgmFile;

std::optional<std::int16_t> SettingNumber(std::string_view text) {
    if (text.empty()) {
        return std::int16_t{0};
    }
    std::optional<double> number = forms::ParseNumberText(text);
    if (!number) {
        return std::nullopt;
    }
    return forms::RoundToInt16(forms::FloorWhole(*number));
}

SettingsRecord ApplySettingsTexts(SettingsRecord record, std::string_view modeText,
                                  std::string_view repeatText, std::string_view fileText,
                                  const std::function<bool(const std::string&)>& fileExists) {
    if (std::optional<std::int16_t> mode = SettingNumber(modeText)) {
        record.mode = *mode;
    }
    if (std::optional<std::int16_t> repeat = SettingNumber(repeatText)) {
        record.repeat = *repeat;
    }
    record.file = std::string(fileText);
    if (record.file.empty() || !fileExists(record.file)) {
        // A missing music file means no music file; the CD mode needs none.
        record.file.clear();
        if (record.mode == 2) {
            record.mode = 0;
        }
    }
    return record;
}

std::string ModeLetter(std::string_view cmdline) {
    return forms::UpperCase(forms::MidChars(cmdline, 2, 1));
}

std::int32_t PreviewHandle(std::string_view cmdline) {
    std::optional<double> number = forms::ReadLeadingNumber(forms::MidChars(cmdline, 4));
    if (!number) {
        return 0;
    }
    return forms::RoundToInt32(*number).value_or(0);
}
