// The Settings and VarToAuto commands and the two tool bar switches: each changes the
// shared settings record (published again under "setting"), its menu check mark and,
// where the setting is kept, the settings file.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "app/command_handlers.h"
#include "app/settings_rules.h"
#include "assist/script_checks.h"
#include "assist/variable_scan.h"
#include "colours/colour_set.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "documents/documents.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

// Tool bar images of the two switches.
constexpr int kImageCallTipsOn = 6;
constexpr int kImageCallTipsOff = 7;
constexpr int kImageAutoCompleteOn = 8;
constexpr int kImageAutoCompleteOff = 9;

constexpr int kFontDialogPoints = 14;

SettingsRecord *CurrentSettings(CommandContext &context) {
    SettingsRecord *settings = GetSettings(context.frame);
    return settings ? settings : &context.state.settings;
}

void ChangeButtonImage(CommandContext &context, int command, int image) {
    SendMessageA(context.state.handles.toolBar, TB_CHANGEBITMAP, static_cast<WPARAM>(command), MAKELPARAM(image, 0));
}

// How a flag's check mark follows a value other than 0 and 1.
enum class OtherValues { kUncheck, kLeave };

// Flips bit 0 of a stored flag (the key names its record field), sets the check mark
// (checked while 1), writes the new value and publishes the record.
CommandReply ToggleStoredFlag(CommandContext &context, const SettingKey &key, int command, OtherValues others) {
    SettingsRecord *settings = CurrentSettings(context);
    const int value = settings->*key.number ^ 1;
    if (value == 1 || value == 0 || others == OtherValues::kUncheck)
        SetChecked(context.state.menus.settings, command, value == 1);
    WriteSetting(key, value);
    PublishSettings(context.frame, settings);
    return CommandReply::kOne;
}

struct ChosenFont {
    std::string face;
    int size = 0;
    int style = 0;
};

// The font dialog preset to Arial 14 regular; an empty face or size 0 when cancelled.
ChosenFont ChooseFont(HWND owner) {
    LOGFONTA font{};
    HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(kFontDialogPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    font.lfWeight = FW_NORMAL;
    CopyBounded(font.lfFaceName, text::kDefaultFontFace);

    CHOOSEFONTA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpLogFont = &font;
    request.iPointSize = kFontDialogPoints * 10;
    request.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    ChosenFont chosen;
    if (!platform::FontDialog(&request)) return chosen;
    chosen.face = std::string(FieldText(font.lfFaceName));
    chosen.size = request.iPointSize / 10;
    chosen.style = (font.lfWeight >= FW_BOLD ? 1 : 0) | (font.lfItalic ? 2 : 0);
    return chosen;
}

bool IsUsable(const ChosenFont &font) { return !TrimBlanks(font.face).empty() && font.size != 0; }

}  // namespace

CommandReply OnCallTipsSwitch(CommandContext &context) {
    SettingsRecord *settings = CurrentSettings(context);
    settings->callTipsSwitch ^= 1;
    PublishSettings(context.frame, settings);
    ChangeButtonImage(context, kCmdCallTipsSwitch,
                      settings->callTipsSwitch == 1 ? kImageCallTipsOn : kImageCallTipsOff);
    return CommandReply::kOne;
}

CommandReply OnAutoCompleteSwitch(CommandContext &context) {
    SettingsRecord *settings = CurrentSettings(context);
    settings->autoCompleteSwitch ^= 1;
    PublishSettings(context.frame, settings);
    ChangeButtonImage(context, kCmdAutoCompleteSwitch,
                      settings->autoCompleteSwitch != 0 ? kImageAutoCompleteOn : kImageAutoCompleteOff);
    return CommandReply::kOne;
}

// Switches the custom colour set on or off for documents opened from now on; only
// possible once a custom set has been saved.
CommandReply OnMyCustomColour(CommandContext &context) {
    if (ReadSetting(setting::kMyColorSet) == 0) {
        platform::ShowMessage(nullptr, text::kSetColorFirst, text::kSetColorFirstTitle, MB_OK);
        return CommandReply::kDefault;
    }
    const bool on = ((CurrentSettings(context)->customColorFlag ^ 1) & 1) != 0;
    WriteSetting(setting::kMyColorFlag, on ? 1 : 0);
    SetChecked(context.state.menus.settings, kCmdMyCustomColor, on);
    return CommandReply::kDefault;
}

CommandReply OnTypedVariables(CommandContext &context) {
    SettingsRecord *settings = CurrentSettings(context);
    settings->typedVariablesSwitch = settings->typedVariablesSwitch == 1 ? 0 : 1;
    PublishSettings(context.frame, settings);
    SetChecked(context.state.menus.varToAuto, kCmdAddTypedVariables, settings->typedVariablesSwitch == 1);
    return CommandReply::kOne;
}

// The scan replaces what typing would add, so typed variables are switched off first.
CommandReply OnAddScriptVariables(CommandContext &context) {
    SettingsRecord *settings = CurrentSettings(context);
    if (settings->typedVariablesSwitch == 1) {
        settings->typedVariablesSwitch = 0;
        PublishSettings(context.frame, settings);
        SetChecked(context.state.menus.varToAuto, kCmdAddTypedVariables, false);
    }
    StartVariableScan(context.frame);
    return CommandReply::kOne;
}

// Values other than 0 and 1 (a file edited by hand) are left alone.
CommandReply OnExitOnClose(CommandContext &context) {
    const SettingsRecord *settings = CurrentSettings(context);
    if (const auto next = ToggledCloseFlag(settings->closeFlag)) {
        WriteSetting(setting::kCloseToExit, *next);
        SetChecked(context.state.menus.settings, kCmdExitOnClose, *next == 1);
    }
    return CommandReply::kOne;
}

// The active document changes code page, and documents created from now on take it.
CommandReply OnLanguage(CommandContext &context) {
    const auto codePage = CodePageForLanguageCommand(context.id);
    if (!codePage) return CommandReply::kDefault;
    CheckLanguage(context.state.menus.settings, context.id);
    WriteSetting(setting::kLanguage, *codePage);
    ShowActiveDocumentInCodePage(*codePage);
    return CommandReply::kOne;
}

// Where a chosen font goes: its three keys (which update the record with the file).
struct FontTarget {
    const SettingKey &faceKey, &sizeKey, &styleKey;
};

// Stores the font and gives it to the styles in the active editor.
template <std::size_t N>
CommandReply StoreAndApplyFont(CommandContext &context, const ChosenFont &font, const FontTarget &target,
                               const int (&styles)[N]) {
    if (!IsUsable(font)) return CommandReply::kOne;
    WriteSettingText(target.faceKey, font.face);
    WriteSetting(target.sizeKey, font.size);
    WriteSetting(target.styleKey, font.style);
    PublishSettings(context.frame, CurrentSettings(context));
    ActiveEditor().SetStylesFont(styles, font.face, font.size, font.style);
    return CommandReply::kOne;
}

CommandReply OnSetFont(CommandContext &context) {
    static const FontTarget target{setting::kFontName, setting::kFontSize, setting::kFontStyle};
    return StoreAndApplyFont(context, ChooseFont(context.frame), target, kTokenStyles);
}

CommandReply OnSetCommentFont(CommandContext &context) {
    static const FontTarget target{setting::kCommentFontName, setting::kCommentFontSize,
                                   setting::kCommentFontStyle};
    ChosenFont font = ChooseFont(context.frame);
    font.face = font.face.substr(0, 49);  // the comment face is kept in 50 bytes
    return StoreAndApplyFont(context, font, target, kCommentStyles);
}

// A cancelled dialog stores an empty folder, which removes the key.
CommandReply OnSetScriptFolder(CommandContext &context) {
    const std::string folder = platform::BrowseForFolder(context.frame, text::kSelectScriptFolder);
    WriteSettingText(setting::kScriptFolder, folder);
    PublishSettings(context.frame, CurrentSettings(context));
    return CommandReply::kDefault;
}

CommandReply OnNoAutoIndentation(CommandContext &context) {
    return ToggleStoredFlag(context, setting::kNoAutoIndent, kCmdNoAutoIndentation,
                            OtherValues::kUncheck);
}

// Esc closes an open completion list or call tip; only when neither is open does it
// switch automatic indentation, as the menu item does.
CommandReply OnEscapeKey(CommandContext &context) {
    const Editor editor = ActiveEditor();
    if (editor.IsOpen() && (editor.Call(SCI_AUTOCACTIVE) || editor.Call(SCI_CALLTIPACTIVE))) {
        editor.Call(SCI_AUTOCCANCEL);
        editor.Call(SCI_CALLTIPCANCEL);
        return CommandReply::kOne;
    }
    return OnNoAutoIndentation(context);
}

CommandReply OnDocumentationLookup(CommandContext &context) {
    return ToggleStoredFlag(context, setting::kDocumentationLookup,
                            kCmdMsdnSearch, OtherValues::kUncheck);
}

CommandReply OnBlockCommentHighlight(CommandContext &context) {
    return ToggleStoredFlag(context, setting::kCommentHighlightOff,
                            kCmdBlockCommentHighlightOff, OtherValues::kLeave);
}

// Script checks: the item is checked while the checks are off.
CommandReply OnScriptChecksSwitch(CommandContext &context) {
    const bool on = CurrentSettings(context)->scriptChecksOff == 1;  // off now: turn on
    SetScriptChecksOn(context.frame, on);
    SetChecked(context.state.menus.settings, kCmdScriptChecksOff, !on);
    return CommandReply::kOne;
}

}  // namespace quillet
