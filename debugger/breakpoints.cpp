// Script breakpoints: the plug-in's list in the debugger's settings file (one read and
// one write of its section per change) and the red markers (marker 1) in the editor.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/texts.h"
#include "core/token_styles.h"
#include "debugger/debugger.h"
#include "debugger/link_rules.h"
#include "platform/active_document.h"
#include "platform/frame_state.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr int kBreakpointMask = 1 << kBreakpointMarker;
constexpr sptr_t kBreakpointColour = 0x0000FF;  // red
constexpr sptr_t kLineTextMax = 255;            // entries keep no more of a line

// A breakpoint marker shown in a document and the list entry it stands for, as last
// read or written: on save the marker's line now gives the entry's new form.
struct Anchor {
    int handle;
    std::string entry;
};
// The anchors of each open document; a document's go when it is closed.
std::map<HWND, std::vector<Anchor>> anchors;

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

// Adds a marker on the line; its handle.
int AddMarker(const Editor &editor, long line) {
    const sptr_t handle = editor.Call(SCI_MARKERADD, static_cast<uptr_t>(line), kBreakpointMarker);
    editor.Call(SCI_MARKERSETBACK, kBreakpointMarker, kBreakpointColour);
    return static_cast<int>(handle);
}

void AddBreakpointAtCaret(HWND frame, HWND document, const Editor &editor, int line) {
    const std::string path = DocumentPath(document);
    if (path.empty()) return;  // an untitled script has no file the debugger could run
    const std::string ini = DebuggerIni(frame);
    if (ini.empty()) {
        platform::ShowMessage(nullptr, text::kSetOllyPathFirst, text::kSetOllyPathFirstTitle, MB_OK);
        return;
    }
    const std::string entry = BreakpointEntry(line + 1, LineStart(editor, line));
    const BreakpointAdd added = AddBreakpoint(ReadBreakpointSection(ini), path, line + 1, entry);
    // The previous owner is the document with exactly that file, not one of the same name.
    if (!added.previousOwner.empty())
        if (HWND previous = FindDocumentByPath(GetMdiClient(frame), TrimBlanks(added.previousOwner))) {
            Editor(EditorOfDocument(previous)).Call(SCI_MARKERDELETEALL, kBreakpointMarker);
            anchors.erase(previous);
        }
    WriteBreakpointSection(ini, added.section);
    if (!(editor.Call(SCI_MARKERGET, static_cast<uptr_t>(line)) & kBreakpointMask))
        anchors[document].push_back({AddMarker(editor, line), entry});
}

// Takes the anchors of the breakpoint markers on a line away (their markers are removed).
void DropAnchorsOnLine(HWND document, const Editor &editor, int line) {
    const auto found = anchors.find(document);
    if (found == anchors.end()) return;
    for (int which = 0;; ++which) {
        const sptr_t handle = editor.Call(SCI_MARKERHANDLEFROMLINE, static_cast<uptr_t>(line), which);
        if (handle < 0) break;
        std::vector<Anchor> &shown = found->second;
        shown.erase(std::remove_if(shown.begin(), shown.end(), [&](const Anchor &a) { return a.handle == handle; }),
                    shown.end());
    }
}

void RemoveBreakpointAtCaret(HWND frame, HWND document, const Editor &editor, int line) {
    // Without a list (or a debugger path) the marker stays until the breakpoints are cleared.
    const std::string ini = DebuggerIni(frame);
    if (ini.empty()) return;
    const ProfileSection section = ReadBreakpointSection(ini);
    if (BreakpointKeyCount(section) == 0) return;
    if (const auto changed = RemoveBreakpoint(section, DocumentPath(document), line + 1))
        WriteBreakpointSection(ini, *changed);
    DropAnchorsOnLine(document, editor, line);
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
    anchors.erase(document);
    const std::string ini = DebuggerIni(frame);
    if (ini.empty()) return;
    if (const auto cleared = ClearBreakpoints(ReadBreakpointSection(ini), DocumentPath(document)))
        WriteBreakpointSection(ini, *cleared);
}

void RestoreBreakpointMarkers(HWND document) {
    const std::string ini = DebuggerIni(GetAncestor(document, GA_ROOT));
    if (ini.empty() || !document) return;
    const Editor editor(EditorOfDocument(document));
    const long lineCount = static_cast<long>(editor.Call(SCI_GETLINECOUNT));
    const BreakpointRestore restore = RestoreBreakpoints(
        ReadBreakpointSection(ini), DocumentPath(document), lineCount,
        [&](long line) { return LineStart(editor, static_cast<int>(line)); });
    std::vector<Anchor> &shown = anchors[document];
    shown.clear();
    for (const PlacedBreakpoint &placed : restore.placed) shown.push_back({AddMarker(editor, placed.line), placed.entry});
    if (restore.corrected) WriteBreakpointSection(ini, *restore.corrected);
}

void StoreBreakpointsOnSave(HWND document, const std::string &path) {
    const auto found = anchors.find(document);
    if (found == anchors.end() || found->second.empty() || path.empty()) return;
    // What the markers say now, before anything is read: a save that moved nothing
    // reads and writes nothing.
    const Editor editor(EditorOfDocument(document));
    const std::map<int, int> lines = editor.MarkerLines(kBreakpointMarker);
    std::vector<BreakpointMove> moves;
    std::vector<Anchor> kept;
    for (const Anchor &anchor : found->second) {
        const auto marker = lines.find(anchor.handle);
        if (marker == lines.end()) {  // its line was deleted, or the breakpoint removed
            moves.push_back({anchor.entry, std::string()});
            continue;
        }
        std::string entry = BreakpointEntry(static_cast<int>(marker->second + 1),
                                            LineStart(editor, static_cast<int>(marker->second)));
        if (entry != anchor.entry) moves.push_back({anchor.entry, entry});
        kept.push_back({anchor.handle, std::move(entry)});
    }
    found->second = std::move(kept);
    const std::string ini = DebuggerIni(GetAncestor(document, GA_ROOT));
    if (moves.empty() || ini.empty()) return;
    // The debugger may have rewritten its list meanwhile: it is read afresh, and only
    // the list of this document is changed.
    if (const auto rewritten = RewriteBreakpoints(ReadBreakpointSection(ini), TrimBlanks(path), moves))
        WriteBreakpointSection(ini, *rewritten);
}

void ForgetBreakpointMarkers(HWND document) { anchors.erase(document); }

}  // namespace quillet
