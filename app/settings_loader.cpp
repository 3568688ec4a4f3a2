// Loading the settings record from razuvi.ini before the frame is created.
#include "app/settings_loader.h"

#include "app/settings_rules.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "core/texts.h"

namespace quillet {

namespace {

int TaskbarHeight() {
    HWND taskBar = FindWindowA(text::kTaskbarClass, "");
    RECT rect{};
    if (!taskBar || !GetWindowRect(taskBar, &rect)) return 0;
    return rect.bottom - rect.top;
}

}  // namespace

SettingsRecord ReadSettingsRecord() {
    SettingsRecord record{};
    platform::ResetProfileWriteReport();
    const int taskbar = TaskbarHeight();

    const int maxWidth = GetSystemMetrics(SM_CXMAXTRACK);
    const int maxHeight = GetSystemMetrics(SM_CYMAXTRACK);
    record.frameWidth = ClampFrameWidth(ReadSetting(setting::kWidth), maxWidth);
    record.frameHeight = ClampFrameHeight(ReadSetting(setting::kHeight), maxHeight, taskbar);
    record.frameLeft = ReadSetting(setting::kWinX);
    record.frameTop = ReadSetting(setting::kWinY);
    record.commentHighlightOff = ReadSetting(setting::kCommentHighlightOff);

    const std::string face = ReadSettingText(setting::kFontName);
    record.commentFontFace = ReadSettingText(setting::kCommentFontName);
    record.customColorFlag = ReadSetting(setting::kMyColorFlag);
    record.commentFontSize = ReadSetting(setting::kCommentFontSize);
    record.commentFontStyle = ReadSetting(setting::kCommentFontStyle);
    const FontChoice font = EditorFontOrDefault(face, ReadSetting(setting::kFontSize), ReadSetting(setting::kFontStyle));
    record.editorFontFace = font.face;
    record.editorFontSize = font.size;
    record.editorFontStyle = font.style;
    record.codePage = ReadSetting(setting::kLanguage);
    record.closeFlag = ReadSetting(setting::kCloseToExit);

    record.tempFolder = platform::TempFolder();
    record.debuggerPath = ReadSettingText(setting::kDebuggerPath);
    record.scriptFolder = ReadSettingText(setting::kScriptFolder);
    record.noAutoIndent = ReadSetting(setting::kNoAutoIndent);
    record.documentationLookup = ReadSetting(setting::kDocumentationLookup);
    record.scriptChecksOff = ReadSetting(setting::kScriptChecksOff);

    record.callTipsSwitch = 1;
    record.autoCompleteSwitch = 1;
    record.typedVariablesSwitch = 0;
    return record;
}

}  // namespace quillet
