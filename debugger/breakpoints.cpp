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

// The breakpoints of each open document; a document's go when it is closed.
std::map<HWND, ScriptBreakpoints> documentBreakpoints;

// A document's editor as its breakpoints see it.
class EditorMarkers final : public BreakpointMarkers {
public:
    explicit EditorMarkers(const Editor &editor) : editor_(editor) {}
    long LineCount() const override { return static_cast<long>(editor_.Call(SCI_GETLINECOUNT)); }
    std::string LineText(long line) const override;
    int AddMarker(long line) override;
    void DeleteMarker(int handle) override { editor_.Call(SCI_MARKERDELETEHANDLE, static_cast<uptr_t>(handle)); }
    std::map<int, int> MarkerLines() const override { return editor_.MarkerLines(kBreakpointMarker); }

private:
    const Editor &editor_;
};

std::string EditorMarkers::LineText(long line) const {
    const sptr_t start = editor_.Call(SCI_POSITIONFROMLINE, static_cast<uptr_t>(line));
    const sptr_t length = editor_.Call(SCI_LINELENGTH, static_cast<uptr_t>(line));
    return editor_.TextRange(start, start + (length < kLineTextMax ? length : kLineTextMax));
}

int EditorMarkers::AddMarker(long line) {
    const sptr_t handle = editor_.Call(SCI_MARKERADD, static_cast<uptr_t>(line), kBreakpointMarker);
    editor_.Call(SCI_MARKERSETBACK, kBreakpointMarker, kBreakpointColour);
    return static_cast<int>(handle);
}

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

void AddBreakpointAtCaret(HWND frame, HWND document, const Editor &editor, int line) {
    const std::string path = DocumentPath(document);
    if (path.empty()) return;  // an untitled script has no file the debugger could run
    const std::string ini = DebuggerIni(frame);
    if (ini.empty()) {
        platform::ShowMessage(nullptr, text::kSetOllyPathFirst, text::kSetOllyPathFirstTitle, MB_OK);
        return;
    }
    EditorMarkers markers(editor);
    const BreakpointAdd added = documentBreakpoints[document].Add(ReadBreakpointSection(ini), path, line, markers);
    // The previous owner is the document with exactly that file, not one of the same name.
    if (!added.previousOwner.empty())
        if (HWND previous = FindDocumentByPath(GetMdiClient(frame), TrimBlanks(added.previousOwner)))
            if (previous != document) {
                Editor(EditorOfDocument(previous)).Call(SCI_MARKERDELETEALL, kBreakpointMarker);
                documentBreakpoints.erase(previous);
            }
    WriteBreakpointSection(ini, added.section);
}

void RemoveBreakpointAtCaret(HWND frame, HWND document, const Editor &editor, int line) {
    // Without a list (or a debugger path) the marker stays until the breakpoints are cleared.
    const std::string ini = DebuggerIni(frame);
    if (ini.empty()) return;
    EditorMarkers markers(editor);
    if (const auto changed =
            documentBreakpoints[document].Remove(ReadBreakpointSection(ini), DocumentPath(document), line, markers))
        WriteBreakpointSection(ini, *changed);
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
    documentBreakpoints.erase(document);
    const std::string ini = DebuggerIni(frame);
    if (ini.empty()) return;
    if (const auto cleared = ClearBreakpoints(ReadBreakpointSection(ini), DocumentPath(document)))
        WriteBreakpointSection(ini, *cleared);
}

void RestoreBreakpointMarkers(HWND document) {
    const std::string ini = DebuggerIni(GetAncestor(document, GA_ROOT));
    if (ini.empty() || !document) return;
    const Editor editor(EditorOfDocument(document));
    EditorMarkers markers(editor);
    if (const auto corrected =
            documentBreakpoints[document].Restore(ReadBreakpointSection(ini), DocumentPath(document), markers))
        WriteBreakpointSection(ini, *corrected);
}

void StoreBreakpointsOnSave(HWND document, const std::string &path) {
    const auto found = documentBreakpoints.find(document);
    if (found == documentBreakpoints.end() || found->second.Empty() || path.empty()) return;
    // What the markers say now, before anything is read: a save that moved nothing
    // reads and writes nothing.
    const Editor editor(EditorOfDocument(document));
    EditorMarkers markers(editor);
    if (!found->second.SaveChangesList(markers)) return;
    const std::string ini = DebuggerIni(GetAncestor(document, GA_ROOT));
    if (ini.empty()) return;
    // The debugger may have rewritten its list meanwhile: it is read afresh, and only
    // the list of this document is changed.
    if (const auto rewritten = found->second.Save(ReadBreakpointSection(ini), TrimBlanks(path), markers))
        WriteBreakpointSection(ini, *rewritten);
}

std::string BreakpointEntryOfMarker(HWND document, int handle) {
    const auto found = documentBreakpoints.find(document);
    return found == documentBreakpoints.end() ? std::string() : found->second.EntryOf(handle);
}

int PutBreakpointMarkerBack(HWND document, long line, int previousHandle, const std::string &entry) {
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return -1;
    EditorMarkers markers(editor);
    const int handle = markers.AddMarker(line);
    documentBreakpoints[document].PutBack(previousHandle, handle, entry);
    return handle;
}

void ForgetBreakpointMarkers(HWND document) { documentBreakpoints.erase(document); }

}  // namespace quillet
