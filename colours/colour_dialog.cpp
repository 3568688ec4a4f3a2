// The "Set Custom Colors" dialog: built in memory as a dialog template, nine class
// buttons each opening the colour chooser, nine swatches painted in the class
// colours, SET storing the set and CLOSE leaving.
#include "colours/colour_dialog.h"

#include <commdlg.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "colours/colour_scheme.h"
#include "core/command_ids.h"
#include "core/texts.h"
#include "platform/dialog_template.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/ui.h"

namespace quillet {

namespace {

// Predefined control classes, as atoms of a dialog template.
using platform::kButtonAtom, platform::kListBoxAtom;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr short kDialogWidth = 320, kDialogHeight = 180;

constexpr DWORD kGroupStyle = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kSwatchStyle = WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_NOSEL;

// A token class's button and swatch, in dialog units.
struct ClassControls {
    int buttonId;
    const char *caption;
    short bx, by;
    int swatchId;
    short sx, sy, sw;
};
constexpr short kClassButtonWidth = 90, kClassButtonHeight = 20, kSwatchHeight = 20;

// In the order of kTokenClasses.
constexpr std::array<ClassControls, 9> kClassControls{{
    {kCdKeyword, text::kCdKeyword, 20, 34, kCdSwatchKeyword, 20, 25, 93},
    {kCdComment, text::kCdComment, 115, 34, kCdSwatchComment, 112, 25, 96},
    {kCdRegister, text::kCdRegister, 210, 34, kCdSwatchRegister, 207, 25, 93},
    {kCdOpcode, text::kCdOpcode, 20, 74, kCdSwatchOpcode, 20, 65, 93},
    {kCdLabel, text::kCdLabel, 115, 74, kCdSwatchLabel, 112, 65, 96},
    {kCdString, text::kCdString, 210, 74, kCdSwatchString, 207, 65, 93},
    {kCdOperator, text::kCdOperator, 20, 115, kCdSwatchOperator, 20, 105, 93},
    {kCdVariable, text::kCdVariable, 115, 115, kCdSwatchVariable, 112, 105, 96},
    {kCdNumber, text::kCdNumber, 210, 115, kCdSwatchNumber, 207, 105, 92},
}};
static_assert(kClassControls.size() == kTokenClasses.size());

// Per-dialog state, attached to the dialog (DWLP_USER).
struct DialogState {
    ClassColours colours{};
    std::array<HBRUSH, kClassControls.size()> brushes{};
    HWND savedFocus = nullptr;
};

// The chooser's custom colours. The chooser keeps a pointer to them while it is
// open, and edits the user makes to free slots must outlive a cancelled chooser,
// so they live for the whole run; each dialog opening reloads them from the file.
COLORREF g_slots[kColourSlotCount];

ColourIntReader SettingsReader() {
    return [](const char *key, int fallback) { return ReadSettingEntry(text::kSecCustomColors, key, fallback); };
}

ColourTextWriter SettingsWriter() {
    return [](const char *key, const std::string &value) {
        WriteSettingEntryText(text::kSecCustomColors, key, value);
    };
}

ColourSlots SharedSlots() {
    ColourSlots slots{};
    for (int i = 0; i < kColourSlotCount; ++i) slots[i] = g_slots[i];
    return slots;
}

platform::DialogTemplate BuildTemplate() {
    const WORD items = static_cast<WORD>(1 + 2 * kClassControls.size() + 2);
    platform::DialogTemplate writer(kDialogStyle, items, kDialogWidth, kDialogHeight, text::kColourDialogCaption);
    // Creation order: frame, buttons, swatches, CLOSE, SET. Each swatch comes after
    // the buttons and overlaps the top of the button below it.
    writer.Item(kButtonAtom, kCdGroup, "", 16, 10, 290, 140, kGroupStyle);
    for (const ClassControls &c : kClassControls)
        writer.Item(kButtonAtom, c.buttonId, c.caption, c.bx, c.by, kClassButtonWidth, kClassButtonHeight,
                    kButtonStyle);
    for (const ClassControls &c : kClassControls)
        writer.Item(kListBoxAtom, c.swatchId, "", c.sx, c.sy, c.sw, kSwatchHeight, kSwatchStyle,
                    WS_EX_STATICEDGE);
    writer.Item(kButtonAtom, kCdClose, text::kCdClose, 15, 154, 60, 25, kButtonStyle);
    writer.Item(kButtonAtom, kCdSet, text::kCdSet, 80, 154, 60, 25, kButtonStyle);
    return writer;
}

// --- Behaviour. ---

DialogState *State(HWND dialog) {
    return reinterpret_cast<DialogState *>(GetWindowLongPtrA(dialog, DWLP_USER));
}

int ClassOfButton(int id) {
    for (std::size_t i = 0; i < kClassControls.size(); ++i)
        if (kClassControls[i].buttonId == id) return static_cast<int>(i);
    return -1;
}

// Gives a class's swatch its colour as background and redraws it.
void PaintSwatch(HWND dialog, DialogState &state, int index, ColourRef colour) {
    state.colours[index] = colour;
    if (state.brushes[index]) DeleteObject(state.brushes[index]);
    state.brushes[index] = CreateSolidBrush(colour);
    HWND swatch = GetDlgItem(dialog, kClassControls[index].swatchId);
    RedrawWindow(swatch, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

// The chooser's hook only notes whether the user left with OK.
UINT_PTR CALLBACK ChooserHook(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    static bool *okNoted = nullptr;
    if (message == WM_INITDIALOG) {
        const auto *request = reinterpret_cast<const CHOOSECOLORA *>(lParam);
        okNoted = reinterpret_cast<bool *>(request->lCustData);
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDOK && okNoted) {
        *okNoted = true;
    } else if (message == WM_DESTROY) {
        okNoted = nullptr;
    }
    return 0;  // let the chooser do its own work
}

void OnClassButton(HWND dialog, int index) {
    DialogState &state = *State(dialog);
    bool okNoted = false;
    CHOOSECOLORA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = nullptr;
    request.rgbResult = state.colours[index];
    request.lpCustColors = g_slots;
    request.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK;
    request.lCustData = reinterpret_cast<LPARAM>(&okNoted);
    request.lpfnHook = ChooserHook;
    const bool accepted = platform::ColourDialog(&request) != FALSE || okNoted;
    if (!accepted) return;  // slots edited inside the chooser stay edited
    const ColourRef chosen = request.rgbResult & 0x00FFFFFF;
    PaintSwatch(dialog, state, index, chosen);
    g_slots[index] = chosen;
}

void OnSet(HWND dialog) {
    ColourScheme scheme;
    scheme.classes = State(dialog)->colours;
    scheme.slots = SharedSlots();
    WriteColourScheme(scheme, SettingsWriter());
}

INT_PTR OnInitDialog(HWND dialog, LPARAM param) {
    auto *state = reinterpret_cast<DialogState *>(param);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    const ColourScheme scheme = LoadColourScheme(SettingsReader());
    for (int i = 0; i < kColourSlotCount; ++i) g_slots[i] = scheme.slots[i];
    for (std::size_t i = 0; i < kClassControls.size(); ++i)
        PaintSwatch(dialog, *state, static_cast<int>(i), scheme.classes[i]);
    // Written at every opening, even when the dialog is then closed without SET.
    WriteColourSlots(scheme.slots, SettingsWriter());
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id, int notification) {
    // Buttons report clicks as BN_CLICKED (0); 1 is accepted as a click too.
    if (notification != BN_CLICKED && notification != 1) return FALSE;
    if (id == kCdClose || id == IDCANCEL) {  // IDCANCEL: Esc and the caption's close box
        EndDialog(dialog, 0);
    } else if (id == kCdSet) {
        OnSet(dialog);
    } else if (const int index = ClassOfButton(id); index >= 0) {
        OnClassButton(dialog, index);
    } else {
        return FALSE;
    }
    return TRUE;
}

// Swatches are painted in their class's colour; the text colour is left alone. Some
// list box implementations fill their empty area with the brush, others with the
// DC's background colour, so both are set.
INT_PTR OnCtlColorListBox(HWND dialog, HDC dc, HWND control) {
    const DialogState *state = State(dialog);
    if (!state) return FALSE;
    const int id = GetDlgCtrlID(control);
    for (std::size_t i = 0; i < kClassControls.size(); ++i) {
        if (kClassControls[i].swatchId != id || !state->brushes[i]) continue;
        SetBkColor(dc, state->colours[i]);
        return reinterpret_cast<INT_PTR>(state->brushes[i]);
    }
    return FALSE;
}

// Remembers the focused control when the dialog is deactivated and gives the focus
// back to it on reactivation.
INT_PTR OnNcActivate(HWND dialog, bool active) {
    DialogState *state = State(dialog);
    if (!state) return FALSE;
    if (!active) {
        HWND focus = GetFocus();
        state->savedFocus = (focus && IsChild(dialog, focus)) ? focus : nullptr;
    } else if (state->savedFocus) {
        if (IsWindow(state->savedFocus) && IsChild(dialog, state->savedFocus)) SetFocus(state->savedFocus);
        state->savedFocus = nullptr;
    }
    return FALSE;  // the default frame activation still happens
}

INT_PTR CALLBACK ColourDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog, lParam);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_CTLCOLORLISTBOX:
        return OnCtlColorListBox(dialog, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NCACTIVATE: return OnNcActivate(dialog, wParam != 0);
    default: return FALSE;
    }
}

}  // namespace

void ShowColourDialog(HWND owner) {
    const platform::DialogTemplate dialogTemplate = BuildTemplate();
    DialogState state;
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate.Get(), owner, ColourDialogProc,
                            reinterpret_cast<LPARAM>(&state));
    // The swatches are gone with the dialog, so their brushes can go now.
    for (HBRUSH brush : state.brushes)
        if (brush) DeleteObject(brush);
}

}  // namespace quillet
