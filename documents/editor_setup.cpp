// The one-time set-up of a new editor control: word characters, the changes it reports,
// lexer 98 and its word lists, fonts, bold and italic, display case, margins, tabs, and
// the colours of the nine token classes.
#include <windows.h>

#include <array>
#include <string>

#include "colours/colour_set.h"
#include "core/texts.h"
#include "documents/document_parts.h"
#include "platform/frame_state.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace quillet {

namespace {

constexpr char kWordChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789*$#/?_!";
constexpr char kRegisterList[] =
    "ax bx cx dx eax ebp ebx ecx edi di si ah sp al bh bl ch cl dh cl edx eip esi esp !cf !pf !af !zf !sf !df !of";
constexpr int kDefaultSize = 14;

constexpr std::array<int, 4> kUpperCaseStyles{kStyleKeyword, kStyleRegister, kStyleOpcode, kStyleLabel};

// The changes the document window hears of (SCN_MODIFIED): text put in or taken out, the
// moment before a deletion, and the program's own undo steps; the undo and redo flags
// come with these. Styling changes the state and fold level of nearly every line, and
// one notification for each would cost far more than the styling itself.
constexpr uptr_t kModificationsHeard = SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT | SC_MOD_BEFOREDELETE | SC_MOD_CONTAINER;

struct Font {
    std::string face;
    int size;
    int styleCode;  // 0 regular, 1 bold, 2 italic, 3 bold italic
};

// The editor font, and the comment font which follows it when it has no name or size.
void ChooseFonts(const SettingsRecord *settings, Font &editorFont, Font &commentFont) {
    editorFont = {text::kDefaultFontFace, kDefaultSize, 0};
    commentFont = editorFont;
    if (!settings) return;
    const std::string_view face = TrimBlanks(std::string_view(settings->editorFontFace));
    if (!face.empty() && settings->editorFontSize != 0)
        editorFont = {settings->editorFontFace, settings->editorFontSize,
                      settings->editorFontStyle};
    const std::string_view commentFace = TrimBlanks(std::string_view(settings->commentFontFace));
    if (commentFace.empty() || settings->commentFontSize == 0)
        commentFont = editorFont;
    else
        commentFont = {settings->commentFontFace, settings->commentFontSize,
                       settings->commentFontStyle};
}

}  // namespace


void ApplyColours(const Editor &editor) {
    const SettingsRecord *settings = GetSettings(FrameOf(editor.Window()));
    const bool custom = settings && settings->customColorFlag != 0;
    for (const StyleColour &entry : kStyleColourOrder) {
        const TokenClass &tokenClass = kTokenClasses[entry.tokenClass];
        ColourRef colour = tokenClass.builtIn;
        if (custom)
            colour = static_cast<ColourRef>(
                ReadSettingEntry(text::kSecCustomColors, tokenClass.key, static_cast<int>(tokenClass.builtIn)));
        editor.Call(SCI_STYLESETFORE, entry.style, static_cast<sptr_t>(colour));
    }
}

void SetUpEditor(HWND control) {
    const Editor editor(control);
    if (!editor.IsOpen()) return;
    // control -> document window -> MDI client -> frame
    HWND frame = GetParent(GetParent(GetParent(control)));
    const SettingsRecord *settings = GetSettings(frame);
    const char *keywords = GetKeywordList(frame);

    editor.CallText(SCI_SETWORDCHARS, 0, kWordChars);
    Font editorFont, commentFont;
    ChooseFonts(settings, editorFont, commentFont);

    editor.Call(kSciSetLexer, kScriptLexerNumber);
    editor.CallText(SCI_SETKEYWORDS, 0, ToLowerAscii(keywords ? keywords : "").c_str());
    editor.CallText(SCI_SETKEYWORDS, 1, kRegisterList);
    editor.Call(SCI_USEPOPUP, 0);
    editor.Call(SCI_SETMODEVENTMASK, kModificationsHeard);

    editor.CallText(SCI_STYLESETFONT, STYLE_DEFAULT, text::kDefaultStyleFontFace);
    editor.Call(SCI_STYLESETSIZE, STYLE_DEFAULT, kDefaultSize);
    editor.Call(SCI_STYLESETCASE, STYLE_DEFAULT, SC_CASE_MIXED);
    editor.Call(SCI_STYLECLEARALL);

    editor.SetStylesFont(kCommentStyles, commentFont.face, commentFont.size, commentFont.styleCode);
    editor.SetStylesFont(kCodeStyles, editorFont.face, editorFont.size, editorFont.styleCode);

    editor.CallText(SCI_STYLESETFONT, STYLE_LINENUMBER, editorFont.face.c_str());
    editor.Call(SCI_STYLESETSIZE, STYLE_CALLTIP, 9);
    editor.Call(SCI_CALLTIPUSESTYLE, 0);
    editor.Call(SCI_SETMARGINWIDTHN, 0, 50);
    SetUpMargins(editor);
    for (int style : kUpperCaseStyles) editor.Call(SCI_STYLESETCASE, style, SC_CASE_UPPER);
    editor.Call(SCI_SETUSETABS, 1);
    editor.Call(SCI_SETBACKSPACEUNINDENTS, 1);
    // The language chosen last, for new and opened scripts alike.
    if (settings) editor.Call(SCI_SETCODEPAGE, static_cast<uptr_t>(settings->codePage));
    ApplyColours(editor);
}

}  // namespace quillet
