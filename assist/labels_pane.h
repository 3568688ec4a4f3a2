// The labels pane (window class "Lables"): a list of the active script's labels that
// slides in at the frame's right edge, jumps to a label on double click and hides
// when its list loses the focus.
#pragma once

#include <windows.h>

namespace quillet {

// Class procedure of "Lables": list colours, double click, sizing the list.
LRESULT CALLBACK LabelsPaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);
// Installs the list box procedure (hiding on focus loss) and returns the previous one.
WNDPROC SubclassLabelsList(HWND list);

// Refills the list from the active document: true when it lists at least one label.
bool FillLabelsList();
// Fills the list and, when it has labels, maximises the active document, places the
// pane at the frame's right edge `top` pixels down and gives the list the focus.
bool ShowLabelsPane(int top);
// Hides a visible pane and repaints the active document.
void HideLabelsPane();

// The frame's hit test found its right border while a document is open: a hidden
// pane comes in when the cursor (screen coordinates) rests on the border's upper half.
void OfferLabelsPaneAtBorder(HWND frame, POINT cursor);

// Tops of the pane: opened from the frame's border, or by command and editor menu.
inline constexpr int kLabelsTopFromBorder = 3;
inline constexpr int kLabelsTopFromCommand = 0;

}  // namespace quillet
