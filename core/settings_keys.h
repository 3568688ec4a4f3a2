// Every key of the settings file that the shell reads or writes, described once:
// section and key in their reading and writing spellings, the text form of the value
// and its default. The loader and every writer go through these descriptions.
// Window-free.
#pragma once

#include "core/settings_record.h"
#include "core/texts.h"

namespace quillet {

// How a value is written (every number is read with GetPrivateProfileIntA, which
// accepts all of these forms).
enum class ValueForm {
    kText,               // as it is; an empty text removes the key
    kNumber,             // decimal, one blank before a non-negative value (" 14")
    kNumberWithoutBlank  // decimal without the blank ("1", "0")
};

struct SettingKey {
    const char *section;       // spelling used when reading
    const char *key;
    const char *writeSection;  // spelling used when writing
    const char *writeKey;
    ValueForm form;
    int fallback;  // numbers; texts default to empty
    // The field of the in-memory record that a write updates along with the file, if any.
    int SettingsRecord::*number = nullptr;
    std::string SettingsRecord::*text = nullptr;
};

namespace setting {

using text::kSecComment, text::kSecFonts, text::kSecWindows, text::kSecWindowsWrite;

inline constexpr SettingKey kSkin{text::kSecSkin, text::kKeySkin, text::kSecSkin, text::kKeySkin, ValueForm::kText, 0};

inline constexpr SettingKey kWinX{kSecWindows, text::kKeyWinX, kSecWindowsWrite, text::kKeyWinX, ValueForm::kNumber, 0};
inline constexpr SettingKey kWinY{kSecWindows, text::kKeyWinY, kSecWindowsWrite, text::kKeyWinY, ValueForm::kNumber, 0};
inline constexpr SettingKey kWidth{kSecWindows, text::kKeyWidth, kSecWindowsWrite, text::kKeyWidth, ValueForm::kNumber, 0};
inline constexpr SettingKey kHeight{kSecWindows, text::kKeyHeight, kSecWindowsWrite, text::kKeyHeight,
                                    ValueForm::kNumber, 0};

inline constexpr SettingKey kCommentHighlightOff{kSecComment, text::kKeyOff, kSecComment, text::kKeyOff,
                                                 ValueForm::kNumber, 0, &SettingsRecord::commentHighlightOff};

inline constexpr SettingKey kFontName{kSecFonts, text::kKeyFontName, kSecFonts, text::kKeyFontName, ValueForm::kText, 0, nullptr, &SettingsRecord::editorFontFace};
inline constexpr SettingKey kFontSize{kSecFonts, text::kKeyFontSize, kSecFonts, text::kKeyFontSize, ValueForm::kNumber, 0, &SettingsRecord::editorFontSize};
inline constexpr SettingKey kFontStyle{kSecFonts, text::kKeyFontStyle, kSecFonts, text::kKeyFontStyle,
                                       ValueForm::kNumber, 0, &SettingsRecord::editorFontStyle};
inline constexpr SettingKey kCommentFontName{kSecFonts, text::kKeyCommentFontName, kSecFonts,
                                             text::kKeyCommentFontName, ValueForm::kText, 0, nullptr, &SettingsRecord::commentFontFace};
inline constexpr SettingKey kCommentFontSize{kSecFonts, text::kKeyCommentFontSize, kSecFonts,
                                             text::kKeyCommentFontSize, ValueForm::kNumber, 0, &SettingsRecord::commentFontSize};
inline constexpr SettingKey kCommentFontStyle{kSecFonts, text::kKeyCommentFontStyle, kSecFonts,
                                              text::kKeyCommentFontStyle, ValueForm::kNumber, 0, &SettingsRecord::commentFontStyle};

inline constexpr SettingKey kScriptFolder{text::kSecScriptFolder, text::kKeyPath, text::kSecScriptFolder,
                                          text::kKeyPath, ValueForm::kText, 0, nullptr, &SettingsRecord::scriptFolder};

inline constexpr SettingKey kMyColorFlag{text::kSecCustomColors, text::kKeyMyColorFlag, text::kSecCustomColors,
                                         text::kKeyMyColorFlag, ValueForm::kNumberWithoutBlank, 0,
                                         &SettingsRecord::customColorFlag};
inline constexpr SettingKey kMyColorSet{text::kSecCustomColors, text::kKeyMyColorSet, text::kSecCustomColors,
                                        text::kKeyMyColorSet, ValueForm::kNumberWithoutBlank, 0};

inline constexpr SettingKey kLanguage{text::kSecLanguage, text::kKeyLangFlag, text::kSecLanguage,
                                      text::kKeyLangFlag, ValueForm::kNumber, 0, &SettingsRecord::codePage};

// Read as "Close2exit", written as "Close2Exit" with the literal texts "1" and "0".
inline constexpr SettingKey kCloseToExit{text::kSecFlags, text::kKeyClose2Exit, text::kSecFlags,
                                         text::kKeyClose2ExitWrite, ValueForm::kNumberWithoutBlank, 0,
                                         &SettingsRecord::closeFlag};

inline constexpr SettingKey kDebuggerPath{text::kSecOllyPath, text::kKeyOllyPath, text::kSecOllyPath,
                                          text::kKeyOllyPath, ValueForm::kText, 0, nullptr, &SettingsRecord::debuggerPath};

inline constexpr SettingKey kNoAutoIndent{text::kSecNoAutoIndent, text::kKeyOff, text::kSecNoAutoIndent,
                                          text::kKeyOff, ValueForm::kNumber, 0, &SettingsRecord::noAutoIndent};
inline constexpr SettingKey kDocumentationLookup{text::kSecMsdnHelp, text::kKeyOn, text::kSecMsdnHelp, text::kKeyOn,
                                                 ValueForm::kNumber, 0, &SettingsRecord::documentationLookup};

// Script checks: 1 turns the squiggles off.
inline constexpr SettingKey kScriptChecksOff{text::kSecScriptChecks, text::kKeyOff, text::kSecScriptChecks,
                                             text::kKeyOff, ValueForm::kNumber, 0, &SettingsRecord::scriptChecksOff};

}  // namespace setting

}  // namespace quillet
