// The skinned windows: each is subclassed with HookProc (its previous procedure kept in
// a Hook record, found through a window property), which paints it in the current
// skin's colours. Frame (101): its background and menu bar, and its MDI client and status
// bar (hooked along with it); tool bar (222): a gradient band behind flat buttons; tab
// strip (214): the whole strip painted here. Hooks are forgotten at WM_NCDESTROY, or
// later when the program put back an older procedure and the window died without its
// last messages passing through us.
#include "skin_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "appface.h"

namespace appface {
namespace {

enum class Kind { Frame, Workspace, Status, Toolbar, Tabs };

const char kHookProperty[] = "AppFace.Hook";

struct Hook {
    HWND hwnd = nullptr;
    Kind kind = Kind::Frame;
    WNDPROC previous = nullptr;
    bool unicode = false;  // installed with the W functions, so the window keeps its character set
    bool live = true;      // false: could not unhook (someone subclassed above us), only forward
    // Frame: the menu bar whose background we set and its own background, to put back.
    HMENU menu = nullptr;
    HBRUSH menuOriginal = nullptr;
    // Tool bar: TBSTYLE_FLAT was added by us (and is taken away again).
    bool addedFlat = false;
};

std::vector<Hook *> g_hooks;
urf::Skin g_look;
bool g_hasLook = false;
HBRUSH g_menuBrush = nullptr;  // owned here; every skinned menu bar points at it

LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

COLORREF Ref(urf::Colour c) { return RGB(c.r, c.g, c.b); }

// Mixes two colours; `t` runs from 0 (a) to `span` (b).
COLORREF Mix(urf::Colour a, urf::Colour b, int t, int span) {
    if (span <= 0) return Ref(a);
    auto mix = [&](int x, int y) { return static_cast<BYTE>(x + (y - x) * t / span); };
    return RGB(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

// Solid rectangle without creating a brush.
void Fill(HDC dc, const RECT &r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    RECT r = {left, top, right, bottom};
    Fill(dc, r, colour);
}

bool HasClass(HWND hwnd, const char *name) {
    char buffer[64];
    int n = GetClassNameA(hwnd, buffer, sizeof buffer);
    return n > 0 && lstrcmpiA(buffer, name) == 0;
}

HWND FindChildOfClass(HWND parent, const char *name) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (HasClass(child, name)) return child;
    return nullptr;
}

WNDPROC CurrentProc(const Hook &hook) {
    return reinterpret_cast<WNDPROC>(hook.unicode ? GetWindowLongPtrW(hook.hwnd, GWLP_WNDPROC)
                                                  : GetWindowLongPtrA(hook.hwnd, GWLP_WNDPROC));
}

void SetProc(const Hook &hook, WNDPROC proc) {
    LONG_PTR value = reinterpret_cast<LONG_PTR>(proc);
    if (hook.unicode) SetWindowLongPtrW(hook.hwnd, GWLP_WNDPROC, value);
    else SetWindowLongPtrA(hook.hwnd, GWLP_WNDPROC, value);
}

bool IsOurs(const Hook *hook) { return std::find(g_hooks.begin(), g_hooks.end(), hook) != g_hooks.end(); }

// The hook of a window: through its property, else (property removed by someone) by handle.
Hook *Find(HWND hwnd) {
    Hook *hook = static_cast<Hook *>(GetPropA(hwnd, kHookProperty));
    if (hook && IsOurs(hook)) return hook;
    for (auto it = g_hooks.rbegin(); it != g_hooks.rend(); ++it)
        if ((*it)->hwnd == hwnd) return *it;
    return nullptr;
}

// The hook of a window as AttachWindow sees it: only a property proves it is this window's
// (a handle alone could be a reused one of a destroyed window).
Hook *FindAttached(HWND hwnd) {
    Hook *hook = static_cast<Hook *>(GetPropA(hwnd, kHookProperty));
    return hook && IsOurs(hook) && hook->hwnd == hwnd ? hook : nullptr;
}

void Erase(Hook *hook) {
    g_hooks.erase(std::remove(g_hooks.begin(), g_hooks.end(), hook), g_hooks.end());
    delete hook;
}

// Hooks of windows that died without their WM_NCDESTROY reaching us (the program had put
// back an older procedure): no message can reach HookProc for them any more.
void Purge() {
    std::vector<Hook *> dead;
    for (Hook *hook : g_hooks)
        if (!IsWindow(hook->hwnd)) dead.push_back(hook);
    for (Hook *hook : dead) Erase(hook);
}

Hook *Install(HWND hwnd, Kind kind) {
    Hook *hook = new Hook;
    hook->hwnd = hwnd;
    hook->kind = kind;
    hook->unicode = IsWindowUnicode(hwnd) != FALSE;
    if (!SetPropA(hwnd, kHookProperty, hook)) {
        delete hook;
        return nullptr;
    }
    g_hooks.push_back(hook);
    LONG_PTR proc = reinterpret_cast<LONG_PTR>(HookProc);
    LONG_PTR previous = hook->unicode ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, proc)
                                      : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, proc);
    if (!previous) {
        RemovePropA(hwnd, kHookProperty);
        Erase(hook);
        return nullptr;
    }
    hook->previous = reinterpret_cast<WNDPROC>(previous);
    return hook;
}

// Takes our procedure out when it is the outermost one; otherwise someone subclassed the
// window after us and holds our procedure, so the hook stays and only forwards.
void Uninstall(Hook *hook) {
    if (CurrentProc(*hook) == HookProc) {
        SetProc(*hook, hook->previous);
        RemovePropA(hook->hwnd, kHookProperty);
        Erase(hook);
    } else {
        hook->live = false;
    }
}

void Redraw(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// ---- frame --------------------------------------------------------------------------

void SetMenuBrush(HMENU menu, HBRUSH brush) {
    MENUINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = brush;
    SetMenuInfo(menu, &info);
}

void RestoreMenu(Hook *hook) {
    if (hook->menu && IsMenu(hook->menu)) SetMenuBrush(hook->menu, hook->menuOriginal);
    hook->menu = nullptr;
    hook->menuOriginal = nullptr;
}

// The menu bar may be attached after the frame was skinned, or replaced: checked again at
// every non-client paint, just before the bar is drawn.
void SkinMenuBar(Hook *hook) {
    HMENU menu = (GetWindowLongPtrA(hook->hwnd, GWL_STYLE) & WS_CHILD) ? nullptr : GetMenu(hook->hwnd);
    if (menu && !IsMenu(menu)) menu = nullptr;
    if (menu != hook->menu) {
        RestoreMenu(hook);
        if (menu) {
            MENUINFO info = {};
            info.cbSize = sizeof info;
            info.fMask = MIM_BACKGROUND;
            GetMenuInfo(menu, &info);
            hook->menu = menu;
            hook->menuOriginal = info.hbrBack;
        }
    }
    if (menu && g_menuBrush) SetMenuBrush(menu, g_menuBrush);
}

void ApplyFrame(Hook *hook) {
    SkinMenuBar(hook);
    DrawMenuBar(hook->hwnd);
    // The panes that belong to the frame's look; they may appear after the frame was set,
    // so each skin change looks for them again.
    HWND client = FindChildOfClass(hook->hwnd, "MDIClient");
    if (client && !FindAttached(client)) Install(client, Kind::Workspace);
    HWND status = FindChildOfClass(hook->hwnd, STATUSCLASSNAMEA);
    if (status && !FindAttached(status)) Install(status, Kind::Status);
}

void UndoFrame(Hook *hook) {
    RestoreMenu(hook);
    if (IsWindow(hook->hwnd)) DrawMenuBar(hook->hwnd);
}

void PaintClient(HWND hwnd, HDC dc, urf::Colour colour) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    int saved = SaveDC(dc);
    Fill(dc, rc, Ref(colour));
    RestoreDC(dc, saved);
}

// Redraws the two-pixel sunken edge of a WS_EX_CLIENTEDGE window in the skin's colours,
// after the previous procedure drew the rest of the non-client area (scroll bars).
void PaintClientEdge(HWND hwnd, urf::Colour edge) {
    if (!(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return;
    HDC dc = GetWindowDC(hwnd);
    if (!dc) return;
    RECT r;
    GetWindowRect(hwnd, &r);
    OffsetRect(&r, -r.left, -r.top);
    urf::Colour black;
    COLORREF outer = Ref(edge), inner = Mix(edge, black, 1, 2);
    for (COLORREF colour : {outer, inner}) {
        Fill(dc, r.left, r.top, r.right, r.top + 1, colour);
        Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, colour);
        Fill(dc, r.left, r.top, r.left + 1, r.bottom, colour);
        Fill(dc, r.right - 1, r.top, r.right, r.bottom, colour);
        InflateRect(&r, -1, -1);
    }
    ReleaseDC(hwnd, dc);
}

// ---- status bar ---------------------------------------------------------------------

// Black or white, whichever reads better on `back`.
COLORREF TextOn(urf::Colour back) {
    bool light = back.r * 299 + back.g * 587 + back.b * 114 > 128000;
    return light ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

// A status bar the skin can draw: plain text parts. Simple mode and owner-drawn parts
// are left to the control.
bool CanDrawStatus(HWND hwnd, int *parts) {
    if (SendMessageA(hwnd, SB_ISSIMPLE, 0, 0)) return false;
    *parts = static_cast<int>(SendMessageA(hwnd, SB_GETPARTS, 0, 0));
    if (*parts < 0 || *parts > 256) return false;
    for (int i = 0; i < *parts; ++i)
        if (HIWORD(SendMessageW(hwnd, SB_GETTEXTLENGTHW, i, 0)) & SBT_OWNERDRAW) return false;
    return true;
}

// The whole status bar (themed status bars ignore SB_SETBKCOLOR): background, a line
// between the parts, each part's text, the size grip.
void DrawStatus(HWND hwnd, HDC dc, const RECT &rc, int parts) {
    urf::Colour back = g_look.frame.statusbar, black;
    COLORREF shade = Mix(back, black, 1, 4);
    Fill(dc, rc, Ref(back));
    Fill(dc, rc.left, rc.top, rc.right, rc.top + 1, shade);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextOn(back));
    for (int i = 0; i < parts; ++i) {
        RECT r;
        if (!SendMessageA(hwnd, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        if (i + 1 < parts) Fill(dc, r.right - 1, r.top + 2, r.right, r.bottom - 2, shade);
        DWORD length = LOWORD(SendMessageW(hwnd, SB_GETTEXTLENGTHW, i, 0));
        if (length == 0) continue;
        // SB_GETTEXT takes no buffer size: the buffer is made as long as the control says
        // (in characters of its own, wide, text; the ANSI length can differ), with room to spare.
        std::vector<wchar_t> text(length + 8, L'\0');
        SendMessageW(hwnd, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(text.data()));
        text[length] = L'\0';
        int shown = 0;
        while (shown < static_cast<int>(length) && text[shown]) ++shown;
        RECT t = r;
        InflateRect(&t, -4, 0);
        DrawTextW(dc, text.data(), shown, &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (GetWindowLongPtrA(hwnd, GWL_STYLE) & SBARS_SIZEGRIP) {
        for (int k = 0; k < 3; ++k)
            for (int d = 0; d <= k; ++d)
                Fill(dc, rc.right - 4 - 4 * d, rc.bottom - 4 - 4 * (k - d), rc.right - 2 - 4 * d,
                     rc.bottom - 2 - 4 * (k - d), shade);
    }
}

// ---- tool bar -----------------------------------------------------------------------

bool IsToolbar(HWND hwnd) { return HasClass(hwnd, TOOLBARCLASSNAMEA); }

void ApplyToolbar(Hook *hook) {
    if (!IsToolbar(hook->hwnd)) return;
    LONG_PTR style = GetWindowLongPtrA(hook->hwnd, GWL_STYLE);
    if (g_look.toolbar.flat && !(style & TBSTYLE_FLAT)) {
        SetWindowLongPtrA(hook->hwnd, GWL_STYLE, style | TBSTYLE_FLAT);
        hook->addedFlat = true;
    } else if (!g_look.toolbar.flat && hook->addedFlat) {
        SetWindowLongPtrA(hook->hwnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(TBSTYLE_FLAT));
        hook->addedFlat = false;
    }
}

void UndoToolbar(Hook *hook) {
    if (hook->addedFlat && IsWindow(hook->hwnd)) {
        LONG_PTR style = GetWindowLongPtrA(hook->hwnd, GWL_STYLE);
        SetWindowLongPtrA(hook->hwnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(TBSTYLE_FLAT));
    }
    hook->addedFlat = false;
}

// The band: a vertical gradient over the whole client area (so a partial erase matches
// its surroundings) and a line along the bottom.
void PaintBand(HWND hwnd, HDC dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    int height = rc.bottom - rc.top;
    if (height <= 0) return;
    RECT clip;
    if (GetClipBox(dc, &clip) == ERROR) clip = rc;
    int saved = SaveDC(dc);
    const auto &t = g_look.toolbar;
    int first = std::max<int>(rc.top, clip.top), last = std::min<int>(rc.bottom - 1, clip.bottom);
    for (int y = first; y < last && y < rc.bottom - 1; ++y)
        Fill(dc, rc.left, y, rc.right, y + 1, Mix(t.top, t.bottom, y - rc.top, std::max(1, height - 2)));
    Fill(dc, rc.left, rc.bottom - 1, rc.right, rc.bottom, Ref(t.line));
    RestoreDC(dc, saved);
}

// ---- tab strip ----------------------------------------------------------------------

bool IsTabControl(HWND hwnd) { return HasClass(hwnd, WC_TABCONTROLA); }

// Draws the strip: background, the band under the tabs in the selected colour (so the
// selected tab joins it), each visible tab with its label.
void DrawTabs(HWND hwnd, HDC dc, const RECT &rc) {
    const auto &t = g_look.tabs;
    Fill(dc, rc, Ref(t.background));
    int count = static_cast<int>(SendMessageA(hwnd, TCM_GETITEMCOUNT, 0, 0));
    int selected = static_cast<int>(SendMessageA(hwnd, TCM_GETCURSEL, 0, 0));
    RECT first;
    if (count <= 0 || !SendMessageA(hwnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first))) return;
    int rowBottom = first.bottom;
    if (rowBottom < rc.bottom) Fill(dc, rc.left, rowBottom, rc.right, rc.bottom, Ref(t.selected));

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    COLORREF edge = Ref(t.edge);
    for (int i = 0; i < count; ++i) {
        RECT r;
        if (!SendMessageA(hwnd, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        if (r.right <= rc.left || r.left >= rc.right) continue;  // scrolled out of view
        bool isSelected = i == selected;
        if (isSelected) {
            r.top = std::max<LONG>(rc.top, r.top - 2);
            r.bottom = std::min<LONG>(rc.bottom, r.bottom + 1);
        }
        Fill(dc, r, Ref(isSelected ? t.selected : t.tab));
        Fill(dc, r.left, r.top, r.right, r.top + 1, edge);
        Fill(dc, r.left, r.top, r.left + 1, r.bottom, edge);
        Fill(dc, r.right - 1, r.top, r.right, r.bottom, edge);

        char label[257] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = label;
        item.cchTextMax = 256;
        SendMessageA(hwnd, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        label[256] = '\0';
        int length = 0;
        while (length < 256 && label[length]) ++length;
        SetTextColor(dc, Ref(isSelected ? t.selectedText : t.text));
        RECT text = r;
        InflateRect(&text, -4, 0);
        DrawTextA(dc, label, length, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}

// Paints a whole window through an off-screen bitmap, so it does not flicker.
template <typename Draw>
void PaintBuffered(HWND hwnd, HDC target, Draw draw) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (rc.right <= 0 || rc.bottom <= 0) return;
    int saved = SaveDC(target);
    HDC mem = CreateCompatibleDC(target);
    HBITMAP bitmap = mem ? CreateCompatibleBitmap(target, rc.right, rc.bottom) : nullptr;
    if (bitmap) {
        HGDIOBJ old = SelectObject(mem, bitmap);
        draw(mem, rc);
        BitBlt(target, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bitmap);
    } else {
        draw(target, rc);
    }
    if (mem) DeleteDC(mem);
    RestoreDC(target, saved);
}

// WM_PAINT (into the given DC when there is one) and WM_PRINTCLIENT of a window that the
// skin draws completely.
template <typename Draw>
LRESULT PaintWhole(HWND hwnd, UINT msg, WPARAM wParam, Draw draw) {
    if (msg == WM_PAINT && !wParam) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc) PaintBuffered(hwnd, dc, draw);
        EndPaint(hwnd, &ps);
    } else {
        PaintBuffered(hwnd, reinterpret_cast<HDC>(wParam), draw);
    }
    return 0;
}

// ---- applying, painting, forgetting ---------------------------------------------------

void Apply(Hook *hook) {
    switch (hook->kind) {
    case Kind::Frame: ApplyFrame(hook); break;
    case Kind::Toolbar: ApplyToolbar(hook); break;
    case Kind::Workspace:
    case Kind::Status:
    case Kind::Tabs: break;
    }
}

void Undo(Hook *hook) {
    switch (hook->kind) {
    case Kind::Frame: UndoFrame(hook); break;
    case Kind::Toolbar: UndoToolbar(hook); break;
    case Kind::Workspace:
    case Kind::Status:
    case Kind::Tabs: break;
    }
}

LRESULT CallPrevious(WNDPROC previous, bool unicode, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return unicode ? CallWindowProcW(previous, hwnd, msg, wParam, lParam)
                   : CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

// The skin's handling of one message; false lets it go on to the previous procedure.
bool Paint(Hook *hook, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT *result) {
    HWND hwnd = hook->hwnd;
    switch (hook->kind) {
    case Kind::Frame:
        if (msg == WM_ERASEBKGND) {
            PaintClient(hwnd, reinterpret_cast<HDC>(wParam), g_look.frame.background);
            *result = 1;
            return true;
        }
        if (msg == WM_NCPAINT || msg == WM_NCACTIVATE) SkinMenuBar(hook);
        return false;
    case Kind::Workspace:
        if (msg == WM_ERASEBKGND) {
            PaintClient(hwnd, reinterpret_cast<HDC>(wParam), g_look.frame.workspace);
            *result = 1;
            return true;
        }
        if (msg == WM_NCPAINT) {
            *result = CallPrevious(hook->previous, hook->unicode, hwnd, msg, wParam, lParam);
            PaintClientEdge(hwnd, g_look.frame.edge);
            return true;
        }
        return false;
    case Kind::Status: {
        int parts = 0;
        if ((msg != WM_PAINT && msg != WM_PRINTCLIENT && msg != WM_ERASEBKGND) || !CanDrawStatus(hwnd, &parts))
            return false;
        if (msg == WM_ERASEBKGND) *result = 1;  // WM_PAINT covers every pixel
        else
            *result = PaintWhole(hwnd, msg, wParam,
                                 [hwnd, parts](HDC dc, const RECT &rc) { DrawStatus(hwnd, dc, rc, parts); });
        return true;
    }
    case Kind::Toolbar:
        if (msg == WM_ERASEBKGND) {
            PaintBand(hwnd, reinterpret_cast<HDC>(wParam));
            *result = 1;
            return true;
        }
        return false;
    case Kind::Tabs:
        if (!IsTabControl(hwnd)) {  // any other window: just the strip colour
            if (msg != WM_ERASEBKGND) return false;
            PaintClient(hwnd, reinterpret_cast<HDC>(wParam), g_look.tabs.background);
            *result = 1;
            return true;
        }
        switch (msg) {
        case WM_ERASEBKGND:
            *result = 1;  // WM_PAINT covers every pixel
            return true;
        case WM_PAINT:
        case WM_PRINTCLIENT:
            *result = PaintWhole(hwnd, msg, wParam, [hwnd](HDC dc, const RECT &rc) { DrawTabs(hwnd, dc, rc); });
            return true;
        case WM_NCPAINT:
            *result = CallPrevious(hook->previous, hook->unicode, hwnd, msg, wParam, lParam);
            PaintClientEdge(hwnd, g_look.tabs.edge);
            return true;
        }
        return false;
    }
    return false;
}

LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Hook *hook = Find(hwnd);
    if (!hook || !hook->previous)  // cannot happen while our property and list agree
        return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, msg, wParam, lParam)
                                     : DefWindowProcA(hwnd, msg, wParam, lParam);
    WNDPROC previous = hook->previous;
    bool unicode = hook->unicode;
    if (msg == WM_NCDESTROY) {
        if (CurrentProc(*hook) == HookProc) SetProc(*hook, previous);
        RemovePropA(hwnd, kHookProperty);
        Erase(hook);
    } else if (hook->live && g_hasLook) {
        LRESULT result = 0;
        if (Paint(hook, msg, wParam, lParam, &result)) return result;
    }
    return CallPrevious(previous, unicode, hwnd, msg, wParam, lParam);
}

}  // namespace

void SetLook(const urf::Skin *skin) {
    HBRUSH oldBrush = g_menuBrush;
    g_hasLook = skin != nullptr;
    if (skin) g_look = *skin;
    g_menuBrush = skin ? CreateSolidBrush(Ref(skin->frame.menubar)) : nullptr;
    Purge();
    std::vector<Hook *> hooks = g_hooks;  // applying a frame may add its MDI client
    for (Hook *hook : hooks) {
        if (!hook->live) continue;
        if (g_hasLook) Apply(hook);
        else Undo(hook);
        Redraw(hook->hwnd);
    }
    if (oldBrush) DeleteObject(oldBrush);  // no menu bar points at it any more
}

bool AttachWindow(HWND window, int type) {
    Kind kind;
    switch (type) {
    case APPFACE_FRAME: kind = Kind::Frame; break;
    case APPFACE_TOOLBAR: kind = Kind::Toolbar; break;
    case APPFACE_TABS: kind = Kind::Tabs; break;
    default: return false;
    }
    if (!window || !IsWindow(window)) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return false;
    Purge();
    Hook *hook = FindAttached(window);
    if (hook) {
        if (hook->kind != kind) {
            Undo(hook);
            hook->kind = kind;
        }
        hook->live = true;
    } else {
        hook = Install(window, kind);
        if (!hook) return false;
    }
    if (g_hasLook) Apply(hook);
    Redraw(window);
    return true;
}

void DetachAll(bool repaint) {
    Purge();
    std::vector<Hook *> hooks = g_hooks;
    for (Hook *hook : hooks) {
        HWND hwnd = hook->hwnd;
        bool wasLive = hook->live;
        Undo(hook);
        Uninstall(hook);  // may free the hook
        if (repaint && wasLive) Redraw(hwnd);
    }
    g_hasLook = false;
    if (g_menuBrush) DeleteObject(g_menuBrush);
    g_menuBrush = nullptr;
}

}  // namespace appface
