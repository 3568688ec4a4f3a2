// Menu bar construction and the Settings pop-up's initial state.
#include "app/menus.h"

#include <initializer_list>

#include "app/settings_rules.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "platform/settings_store.h"

namespace quillet {

namespace {

// One pop-up item; a null caption stands for a separator.
struct MenuItem {
    const char *caption;
    int command;
    UINT extraFlags;
};
constexpr MenuItem kSeparator{nullptr, 0, 0};

void Fill(HMENU menu, std::initializer_list<MenuItem> items) {
    for (const MenuItem &item : items) {
        if (!item.caption) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else AppendMenuA(menu, MF_STRING | item.extraFlags, static_cast<UINT_PTR>(item.command), item.caption);
    }
}

void AppendPopup(HMENU bar, HMENU popup, const char *caption) {
    AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption);
}

}  // namespace

MenuHandles BuildMenus() {
    using namespace text;
    MenuHandles menus{};
    menus.bar = CreateMenu();
    menus.spare = CreatePopupMenu();
    menus.varToAuto = CreatePopupMenu();
    menus.testMe = CreatePopupMenu();
    menus.skin = CreatePopupMenu();
    menus.windows = CreatePopupMenu();
    menus.settings = CreatePopupMenu();

    Fill(menus.varToAuto, {{kItemAddScriptVariables, kCmdAddScriptVariables, 0},
                           kSeparator,
                           {kItemAddTypedVariables, kCmdAddTypedVariables, MF_UNCHECKED},
                           kSeparator,
                           {kItemResetAutoComplete, kCmdResetAutoComplete, 0}});
    // Run, stop and debug stay grey until a debugger is known.
    Fill(menus.testMe, {{kItemRunScript, kCmdRunScript, MF_GRAYED},
                        kSeparator,
                        {kItemStopScript, kCmdStopScript, MF_GRAYED},
                        kSeparator,
                        {kItemDebugScript, kCmdDebugScript, MF_GRAYED},
                        kSeparator,
                        {kItemClearDefaultOlly, kCmdClearDefaultOlly, 0},
                        kSeparator,
                        {kItemNextProblem, kCmdNextProblem, 0},
                        {kItemGoToLabel, kCmdGoToLabel, 0},
                        {kItemGoBack, kCmdBackFromLabel, 0},
                        {kItemFindReferences, kCmdFindReferences, 0},
                        {kItemRenameName, kCmdRenameName, 0}});
    Fill(menus.skin, {{kItemWinmp, kCmdSkinWinmp, 0},
                      kSeparator,
                      {kItemClay, kCmdSkinClay, 0},
                      kSeparator,
                      {kItemOnion, kCmdSkinOnion, 0},
                      kSeparator,
                      {kItemSias, kCmdSkinSias, 0},
                      kSeparator,
                      {kItemOthers, kCmdSkinOthers, 0},
                      kSeparator,
                      {kItemDefault, kCmdSkinDefault, 0}});
    Fill(menus.settings, {{kItemExitOnClose, kCmdExitOnClose, 0},
                          kSeparator,
                          {kItemLangUtf8, kCmdLangUtf8, 0},
                          kSeparator,
                          {kItemLangShiftJis, kCmdLangShiftJis, 0},
                          kSeparator,
                          {kItemLangGbk, kCmdLangGbk, 0},
                          kSeparator,
                          {kItemLangBig5, kCmdLangBig5, 0},
                          kSeparator,
                          {kItemLangHangul, kCmdLangHangul, 0},
                          kSeparator,
                          {kItemLangJohab, kCmdLangJohab, 0},
                          kSeparator,
                          {kItemLangDefault, kCmdLangDefault, 0},
                          kSeparator,
                          {kItemSetFont, kCmdSetFont, 0},
                          kSeparator,
                          {kItemMyCustomColor, kCmdMyCustomColor, 0},
                          {kItemSetCustomColor, kCmdSetCustomColors, 0},
                          kSeparator,
                          {kItemRestoreDefaultSize, kCmdRestoreDefaultSize, 0},
                          kSeparator,
                          {kItemSetScriptFolder, kCmdSetScriptFolder, 0},
                          kSeparator,
                          {kItemSetCommentFont, kCmdSetCommentFont, 0},
                          kSeparator,
                          {kItemNoAutoIndentation, kCmdNoAutoIndentation, 0},
                          kSeparator,
                          {kItemMsdnSearch, kCmdMsdnSearch, 0},
                          kSeparator,
                          {kItemBlockCommentOff, kCmdBlockCommentHighlightOff, 0},
                          kSeparator,
                          {kItemScriptChecksOff, kCmdScriptChecksOff, 0}});
    Fill(menus.windows, {{kItemTileVertically, kCmdTileVertically, 0},
                         kSeparator,
                         {kItemTileHorizontally, kCmdTileHorizontally, 0},
                         kSeparator,
                         {kItemCascade, kCmdCascade, 0},
                         kSeparator,
                         {kItemClearMru, kCmdClearMru, 0}});

    AppendPopup(menus.bar, menus.varToAuto, kMenuVarToAuto);
    AppendPopup(menus.bar, menus.testMe, kMenuTestMe);
    AppendPopup(menus.bar, menus.skin, kMenuSkin);
    AppendPopup(menus.bar, menus.settings, kMenuSettings);
    AppendPopup(menus.bar, menus.windows, kMenuWindows);
    return menus;
}

void ReleaseMenus(MenuHandles &menus) {
    if (menus.spare) DestroyMenu(menus.spare);
    menus.spare = nullptr;
}

void SetChecked(HMENU menu, int command, bool checked) {
    CheckMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CheckLanguage(HMENU settingsMenu, int command) {
    for (const LanguageChoice &choice : kLanguageChoices)
        SetChecked(settingsMenu, choice.command, choice.command == command);
}

void SetInitialCheckMarks(const SettingsRecord &settings, const MenuHandles &menus) {
    // Only the stored values 0 and 1 set a state; anything else leaves the item as created.
    if (settings.closeFlag == 1 || settings.closeFlag == 0)
        SetChecked(menus.settings, kCmdExitOnClose, settings.closeFlag == 1);
    if (settings.noAutoIndent == 1 || settings.noAutoIndent == 0)
        SetChecked(menus.settings, kCmdNoAutoIndentation, settings.noAutoIndent == 1);
    if (settings.documentationLookup == 1) SetChecked(menus.settings, kCmdMsdnSearch, true);

    const bool customColours = settings.customColorFlag == 1;
    WriteSetting(setting::kMyColorFlag, customColours ? 1 : 0);
    SetChecked(menus.settings, kCmdMyCustomColor, customColours);

    CheckLanguage(menus.settings, LanguageCommandForCodePage(settings.codePage));
    SetChecked(menus.settings, kCmdScriptChecksOff, settings.scriptChecksOff == 1);
}

}  // namespace quillet
