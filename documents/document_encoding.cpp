// A document's encoding on the Win32 side: recognised from the bytes when a script is
// opened (or taken from the user's earlier "Reopen As" choice for that file), shown by
// the editor through its code page and the character set of every style, named in the
// status bar's second part, and changed by "Reopen As" or a language item. The bytes
// in the editor are never touched.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>

#include "core/command_ids.h"
#include "core/texts.h"
#include "documents/document_parts.h"
#include "documents/documents.h"
#include "platform/frame_layout.h"
#include "platform/frame_state.h"
#include "platform/profile.h"
#include "platform/settings_store.h"

namespace quillet {

namespace {

// The bytes the editor holds, without a copy.
std::string_view EditorBytes(const Editor &editor) {
    const auto *bytes = reinterpret_cast<const char *>(editor.Call(SCI_GETCHARACTERPOINTER));
    const auto length = static_cast<std::size_t>(editor.Call(SCI_GETLENGTH));
    return bytes ? std::string_view(bytes, length) : std::string_view();
}

// The remembered choices, from the section in one read: "ENCfile<n>" and "ENC<n>" pairs
// from n = 1 up to the first missing file.
EncodingChoices ReadChoices() {
    const std::string section = platform::ReadProfileSection(text::kSecEncodings, SettingsFilePath());
    auto value = [&](const std::string &key) -> std::string {
        for (std::size_t at = 0; at < section.size();) {
            const std::size_t end = section.find('\0', at);
            const std::string_view line(section.data() + at, (end == std::string::npos ? section.size() : end) - at);
            const std::size_t equals = line.find('=');
            if (equals != std::string_view::npos && line.substr(0, equals) == key)
                return std::string(line.substr(equals + 1));
            if (end == std::string::npos) break;
            at = end + 1;
        }
        return {};
    };
    EncodingChoices choices;
    for (std::size_t n = 1; n <= kMaxEncodingChoices; ++n) {
        EncodingChoice choice{value(text::kKeyEncodingFile + std::to_string(n)),
                              value(text::kKeyEncodingName + std::to_string(n))};
        if (choice.file.empty()) break;
        choices.push_back(std::move(choice));
    }
    return choices;
}

void WriteChoices(const EncodingChoices &choices) {
    std::string block;
    for (std::size_t n = 0; n < choices.size(); ++n) {
        const std::string number = std::to_string(n + 1);
        block += text::kKeyEncodingFile + number + '=' + choices[n].file + '\0';
        block += text::kKeyEncodingName + number + '=' + choices[n].name + '\0';
    }
    block += '\0';
    platform::WriteProfileSection(text::kSecEncodings, block, SettingsFilePath());
}

// The status bar's second part names the active document's encoding.
void NameInStatusBar(HWND frame, const char *name) {
    const FrameHandles *handles = GetFrameHandles(frame);
    if (!handles || !handles->statusBar) return;
    LayOutStatusParts(handles->statusBar);
    SendMessageA(handles->statusBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(name));
}

}  // namespace

void ApplyEncodingLook(const Editor &editor, EncodingId id) {
    if (!editor.IsOpen()) return;
    const EncodingLook &look = LookOf(id);
    editor.Call(SCI_SETCODEPAGE, static_cast<uptr_t>(look.codePage));
    for (int style = 0; style <= STYLE_MAX; ++style)
        editor.Call(SCI_STYLESETCHARACTERSET, static_cast<uptr_t>(style), look.characterSet);
}

void ShowDocumentEncoding(HWND document, EncodingId id) {
    DocumentRecord *record = GetDocumentRecord(document);
    if (!record) return;
    record->encoding = id;
    ApplyEncodingLook(Editor(record->editor), id);
    const HWND frame = FrameOf(document);
    if (document == ActiveDocumentOf(GetMdiClient(frame))) NameInStatusBar(frame, LookOf(id).name);
}

void ShowEncodingOfActiveDocument(HWND frame) {
    const DocumentRecord *record = GetDocumentRecord(ActiveDocumentOf(GetMdiClient(frame)));
    NameInStatusBar(frame, record ? LookOf(record->encoding).name : "");
}

void RecogniseDocumentEncoding(HWND document, const std::string &path) {
    const Editor editor(EditorOfDocument(document));
    if (!editor.IsOpen()) return;
    std::optional<EncodingId> id = RememberedEncoding(ReadChoices(), path);
    if (!id) id = RecogniseEncoding(EditorBytes(editor));
    const SettingsRecord *settings = GetSettings(FrameOf(document));
    ShowDocumentEncoding(document, id ? *id : EncodingForCodePage(settings ? settings->codePage : 0));
}

void ShowActiveDocumentInCodePage(int codePage) {
    HWND document = ActiveDocument();
    if (GetDocumentRecord(document)) {
        ShowDocumentEncoding(document, EncodingForCodePage(codePage));
    } else if (const Editor editor = ActiveEditor(); editor.IsOpen()) {
        editor.Call(SCI_SETCODEPAGE, static_cast<uptr_t>(codePage));
    }
}

bool ReopenDocumentAs(HWND document, int command) {
    if (command < kCmdReopenAsFirst || command >= kCmdReopenAsFirst + static_cast<int>(kEncodingCount)) return false;
    const DocumentRecord *record = GetDocumentRecord(document);
    if (!record) return true;
    const EncodingId id =
        ReopenedEncoding(static_cast<EncodingId>(command - kCmdReopenAsFirst), EditorBytes(Editor(record->editor)));
    ShowDocumentEncoding(document, id);
    if (!record->path.empty()) WriteChoices(ChoicesAfterChoosing(ReadChoices(), record->path, id));
    return true;
}

}  // namespace quillet
