// The frame's menu bar and pop-ups: building them, their initial check marks and grey
// states, and the check-mark helpers the commands use.
#pragma once

#include <windows.h>

#include <string>

#include "platform/frame_state.h"

namespace quillet {

// The menu bar and its pop-ups, in this order (the spare pop-up is never filled or shown).
struct MenuHandles {
    HMENU bar;
    HMENU spare;
    HMENU varToAuto;
    HMENU testMe;
    HMENU skin;
    HMENU windows;
    HMENU settings;
};

// Builds the bar with its pop-ups "VarToAuto", "TestMe", "Skin", "Settings", "Windows".
MenuHandles BuildMenus();
// Destroys the pop-up that is not attached to the bar (the bar goes with its window).
void ReleaseMenus(MenuHandles &menus);

// The Settings pop-up's check marks as the stored settings say; also writes the custom
// colour flag back to the settings file.
void SetInitialCheckMarks(const SettingsRecord &settings, const MenuHandles &menus);

void SetChecked(HMENU menu, int command, bool checked);
// Checks the language item of `command` and unchecks the six others.
void CheckLanguage(HMENU settingsMenu, int command);

// The frame's menu record (null for any other window).
MenuHandles *GetMenuHandles(HWND frame);

}  // namespace quillet
