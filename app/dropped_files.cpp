// Files dropped on the frame, told apart by extension: "txt" and "osc" open as script
// documents; "exe" and "lnk" are programs for the debugger (handled by the debugger
// link); anything else is refused with a message.
#include "app/dropped_files.h"

#include <string>
#include <string_view>

#include "core/texts.h"
#include "documents/documents.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

constexpr char kScriptExtension[] = "txt";
constexpr char kOllyScriptExtension[] = "osc";
constexpr char kProgramExtension[] = "exe";
constexpr char kShortcutExtension[] = "lnk";

// The text after the last dot of the file name, lower-cased and trimmed.
std::string ExtensionOf(std::string_view path) {
    const std::string_view name = FileNamePart(path);
    const auto dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return {};
    return ToLowerAscii(TrimBlanks(name.substr(dot + 1)));
}

std::string FirstDroppedFile(HDROP drop) {
    const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    if (length == 0 || length >= MAX_PATH) return {};
    char path[MAX_PATH] = "";
    DragQueryFileA(drop, 0, path, sizeof path);
    path[sizeof path - 1] = '\0';
    return std::string(FieldText(path));
}

}  // namespace

LRESULT OnDropFiles(HWND, HDROP drop) {
    const std::string path = FirstDroppedFile(drop);
    const std::string extension = ExtensionOf(path);
    if (extension == kScriptExtension || extension == kOllyScriptExtension) {
        OpenScriptPath(path.c_str());
    } else if (extension != kProgramExtension && extension != kShortcutExtension) {
        platform::ShowMessage(nullptr, text::kDropNotSupported, text::kDropNotSupportedTitle, MB_TASKMODAL);
    }
    DragFinish(drop);
    return 1;
}

}  // namespace quillet
