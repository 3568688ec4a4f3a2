// Script breakpoints: the plug-in's list in the debugger's settings file (one read and
// one write of its section per change) and the red markers (marker 1) in the editor.
#include <windows.h>

#include <string>

#include "core/texts.h"
#include "debugger/debugger.h"
#include "debugger/link_rules.h"
#include "platform/active_document.h"
#include "platform/frame_state.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr int kBreakpointMarker = 1;
constexpr int kBreakpointMask = 1 << kBreakpointMarker;
constexpr sptr_t kBreakpointColour = 0x0000FF;  // red
constexpr sptr_t kLineTextMax = 255;            // entries keep no more of a line

// The debugger's settings file as the current settings record names it; empty when no
// debugger path is set (there is then no list).
std::string DebuggerIni(HWND frame) {
    const SettingsRecord *settings = GetSettings(frame);
    return settings ? DebuggerIniName(TrimBlanks(std::string_view(settings->debuggerPath))) : std::string();
}

int CaretLine(const Editor &editor) {
    return static_cast<int>(
        editor.Call(SCI_LINEFROMPOSITION, static_cast<uptr_t>(editor.Call(SCI_GETCURRENTPOS))));
}

std::string LineStart(const Editor &editor, int line) {
    const sptr_t start = editor.Call(SCI_POSITIONFROMLINE, static_cast<uptr_t>(line));
    const sptr_t length = editor.Call(SCI_LINELENGTH, static_cast<uptr_t>(line));
    return editor.TextRange(start, start + (length < kLineTextMax ? length : kLineTextMax));
}

void AddMarker(const Editor &editor, int line) {
    editor.Call(SCI_MARKERADD, static_cast<uptr_t>(line), kBreakpointMarker);
    editor.Call(SCI_MARKERSETBACK, kBreakpointMarker, kBreakpointColour);
}

void AddBreakpointAtCaret(HWND frame, HWND document, const Editor &editor, int line) {
    const std::string path = DocumentPath(document);
    if (path.empty()) return;  // an untitled script has no file the debugger could run
    const std::string ini = DebuggerIni(frame);
    if (ini.empty()) {
        platform::ShowMessage(nullptr, text::kSetOllyPathFirst, text::kSetOllyPathFirstTitle, MB_OK);
        return;
    }
    const BreakpointAdd added =
        AddBreakpoint(ReadBreakpointSection(ini), path, line + 1, BreakpointEntry(line + 1, LineStart(editor, line)));
    // The previous owner is the document with exactly that file, not one of the same name.
    if (!added.previousOwner.empty())
        if (HWND previous = FindDocumentByPath(GetMdiClient(frame), TrimBlanks(added.previousOwner)))
            Editor(EditorOfDocument(previous)).Call(SCI_MARKERDELETEALL, kBreakpointMarker);
    WriteBreakpointSection(ini, added.section);
    if (!(editor.Call(SCI_MARKERGET, static_cast<uptr_t>(line)) & kBreakpointMask)) AddMarker(editor, line);
}

void RemoveBreakpointAtCaret(HWND frame, HWND document, const Editor &editor, int line) {
    // Without a list (or a debugger path) the marker stays until the breakpoints are cleared.
    const std::string ini = DebuggerIni(frame);
    if (ini.empty()) return;
    const ProfileSection section = ReadBreakpointSection(ini);
    if (BreakpointKeyCount(section) == 0) return;
    if (const auto changed = RemoveBreakpoint(section, DocumentPath(document), line + 1))
        WriteBreakpointSection(ini, *changed);
    editor.Call(SCI_MARKERDELETE, static_cast<uptr_t>(line), kBreakpointMarker);
}

}  // namespace

ProfileSection ReadBreakpointSection(const std::string &debuggerIni) {
    return ParseProfileSection(platform::ReadProfileSection(text::kSecBreakpoints, debuggerIni));
}

void WriteBreakpointSection(const std::string &debuggerIni, const ProfileSection &section) {
    platform::WriteProfileSection(text::kSecBreakpoints, FormatProfileSection(section), debuggerIni);
}

void ToggleBreakpoint(HWND frame) {
    HWND document = ActiveDocumentOf(GetMdiClient(frame));
    if (!document) return;
    const Editor editor(EditorOfDocument(document));
    const int line = CaretLine(editor);
    if (editor.Call(SCI_MARKERGET, static_cast<uptr_t>(line)) & kBreakpointMask)
        RemoveBreakpointAtCaret(frame, document, editor, line);
    else
        AddBreakpointAtCaret(frame, document, editor, line);
}

void ClearAllBreakpoints(HWND frame) {
    HWND document = ActiveDocumentOf(GetMdiClient(frame));
    if (!document) return;
    Editor(EditorOfDocument(document)).Call(SCI_MARKERDELETEALL, kBreakpointMarker);
    const std::string ini = DebuggerIni(frame);
    if (ini.empty()) return;
    if (const auto cleared = ClearBreakpoints(ReadBreakpointSection(ini), DocumentPath(document)))
        WriteBreakpointSection(ini, *cleared);
}

void RestoreBreakpointMarkers(HWND document) {
    const std::string ini = DebuggerIni(GetAncestor(document, GA_ROOT));
    if (ini.empty() || !document) return;
    const Editor editor(EditorOfDocument(document));
    for (int line : BreakpointLines(ReadBreakpointSection(ini), DocumentPath(document)))
        AddMarker(editor, line);
}

}  // namespace quillet
