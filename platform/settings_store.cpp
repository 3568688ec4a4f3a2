// Reading and writing razuvi.ini through the key descriptions.
#include "platform/settings_store.h"

#include "core/texts.h"
#include "platform/frame_state.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace quillet {

namespace {

// The record the frame publishes, or null before the frame exists.
SettingsRecord *PublishedRecord() { return GetSettings(ProgramFrame()); }

}  // namespace

std::string SettingsFilePath() { return std::string(TrimBlanks(platform::ExeFolder())) + text::kSettingsFile; }

int ReadSetting(const SettingKey &key) {
    return platform::ReadProfileInt(key.section, key.key, key.fallback, SettingsFilePath());
}

std::string ReadSettingText(const SettingKey &key) {
    return platform::ReadProfileText(key.section, key.key, "", SettingsFilePath());
}

void WriteSetting(const SettingKey &key, int value) {
    platform::WriteProfileNumber(key.writeSection, key.writeKey, value, SettingsFilePath(),
                                 key.form == ValueForm::kNumber);
    if (SettingsRecord *record = PublishedRecord(); record && key.number) record->*key.number = value;
}

void WriteSettingText(const SettingKey &key, std::string_view value) {
    platform::WriteProfileText(key.writeSection, key.writeKey, value, SettingsFilePath());
    if (SettingsRecord *record = PublishedRecord(); record && key.text) record->*key.text = std::string(value);
}

int ReadSettingEntry(const char *section, const char *key, int fallback) {
    return platform::ReadProfileInt(section, key, fallback, SettingsFilePath());
}

std::string ReadSettingEntryText(const char *section, const char *key, const char *fallback, unsigned bufferSize) {
    return platform::ReadProfileText(section, key, fallback, SettingsFilePath(), bufferSize);
}

void WriteSettingEntryText(const char *section, const char *key, std::string_view value) {
    platform::WriteProfileText(section, key, value, SettingsFilePath());
}

void WriteSettingEntryNumber(const char *section, const char *key, int value, bool leadingBlank) {
    platform::WriteProfileNumber(section, key, value, SettingsFilePath(), leadingBlank);
}

}  // namespace quillet
