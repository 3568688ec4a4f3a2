// The one settings store: every read and write of razuvi.ini in the program's folder.
// Keys of the key table are written in their own text form, and a write updates the
// matching field of the published settings record in the same step, so the file and
// the record never disagree.
#pragma once

#include <string>
#include <string_view>

#include "core/settings_keys.h"

namespace quillet {

// Program folder, trimmed, followed by "razuvi.ini".
std::string SettingsFilePath();

int ReadSetting(const SettingKey &key);
std::string ReadSettingText(const SettingKey &key);
// Writes in the key's own text form (an empty text removes the key) and updates the
// record field the key names.
void WriteSetting(const SettingKey &key, int value);
void WriteSettingText(const SettingKey &key, std::string_view value);

// Entries whose keys are formed at run time (colour slots, numbered lists) in the same
// file: read as the system reads them, written as given.
int ReadSettingEntry(const char *section, const char *key, int fallback);
std::string ReadSettingEntryText(const char *section, const char *key, const char *fallback = "",
                                 unsigned bufferSize = 0);
void WriteSettingEntryText(const char *section, const char *key, std::string_view value);
void WriteSettingEntryNumber(const char *section, const char *key, int value, bool leadingBlank);

}  // namespace quillet
