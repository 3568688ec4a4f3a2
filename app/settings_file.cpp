// Reading and writing razuvi.ini through the key descriptions, and the settings loader.
#include "app/settings_file.h"

#include "app/settings_rules.h"
#include "app/texts.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/text.h"

namespace quillet {

std::string SettingsFilePath() {
    return std::string(TrimBlanks(platform::ExeFolder())) + text::kSettingsFileAlt;
}

int ReadSetting(const SettingKey &key, const std::string &file) {
    return platform::ReadProfileInt(key.section, key.key, key.fallback, file);
}

std::string ReadSettingText(const SettingKey &key, const std::string &file) {
    return platform::ReadProfileText(key.section, key.key, "", file);
}

void WriteSetting(const SettingKey &key, int value, const std::string &file) {
    platform::WriteProfileNumber(key.writeSection, key.writeKey, value, file, key.form == ValueForm::kNumber);
}

void WriteSettingText(const SettingKey &key, std::string_view value, const std::string &file) {
    platform::WriteProfileText(key.writeSection, key.writeKey, value, file);
}

namespace {

int TaskbarHeight(HWND taskBar) {
    RECT rect{};
    if (!taskBar || !GetWindowRect(taskBar, &rect)) return 0;
    return rect.bottom - rect.top;
}

}  // namespace

void LoadSettings(const std::string &path, HWND frame, const FrameHandles &handles, SettingsRecord &record) {
    record = SettingsRecord{};
    const int taskbar = TaskbarHeight(handles.taskBar);

    const int maxWidth = GetSystemMetrics(SM_CXMAXTRACK);
    const int maxHeight = GetSystemMetrics(SM_CYMAXTRACK);
    record.frameWidth = ClampFrameWidth(ReadSetting(setting::kWidth, path), maxWidth);
    record.frameHeight = ClampFrameHeight(ReadSetting(setting::kHeight, path), maxHeight, taskbar);
    record.frameLeft = ReadSetting(setting::kWinX, path);
    record.frameTop = ReadSetting(setting::kWinY, path);
    record.commentHighlightOff = ReadSetting(setting::kCommentHighlightOff, path);

    const std::string face = ReadSettingText(setting::kFontName, path);
    CopyBounded(record.commentFontFace, ReadSettingText(setting::kCommentFontName, path));
    // The flag is read from the exe folder's own settings file, whichever path was given.
    record.customColorFlag = ReadSetting(setting::kMyColorFlag, SettingsFilePath());
    record.commentFontSize = ReadSetting(setting::kCommentFontSize, path);
    record.commentFontStyle = ReadSetting(setting::kCommentFontStyle, path);
    const FontChoice font = EditorFontOrDefault(face, ReadSetting(setting::kFontSize, path),
                                                ReadSetting(setting::kFontStyle, path));
    CopyBounded(record.editorFontFace, font.face);
    record.editorFontSize = font.size;
    record.editorFontStyle = font.style;
    record.codePage = ReadSetting(setting::kLanguage, path);
    record.closeFlag = ReadSetting(setting::kCloseToExit, path);

    CopyBounded(record.tempFolder, platform::TempFolder());
    CopyBounded(record.debuggerPath, ReadSettingText(setting::kDebuggerPath, path));
    CopyBounded(record.scriptFolder, ReadSettingText(setting::kScriptFolder, path));
    record.noAutoIndent = ReadSetting(setting::kNoAutoIndent, path);
    record.documentationLookup = ReadSetting(setting::kDocumentationLookup, path);

    record.callTipsSwitch = 1;
    record.autoCompleteSwitch = 1;
    record.typedVariablesSwitch = 0;
    PublishSettings(frame, &record);
}

}  // namespace quillet
