// The settings file razuvi.ini: reading and writing the keys described in
// settings_keys.h, its path, and the loader of the in-memory settings record.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/frame_state.h"
#include "app/settings_keys.h"

namespace quillet {

// Exe folder, trimmed, followed by "RaZuvi.INI" (the same file as "razuvi.ini").
std::string SettingsFilePath();

int ReadSetting(const SettingKey &key, const std::string &file);
std::string ReadSettingText(const SettingKey &key, const std::string &file);
// Writes in the key's own text form; an empty text removes the key.
void WriteSetting(const SettingKey &key, int value, const std::string &file);
void WriteSettingText(const SettingKey &key, std::string_view value, const std::string &file);

// Fills `record` from the settings file at `path`, clamping the stored frame size
// against the screen and the taskbar of `handles`, and publishes it on the frame.
void LoadSettings(const std::string &path, HWND frame, const FrameHandles &handles, SettingsRecord &record);

}  // namespace quillet
