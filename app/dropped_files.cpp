// Files dropped on the frame, told apart by extension: scripts open as documents,
// programs and shortcuts start the debugger with them, anything else is refused.
#include "app/dropped_files.h"

#include <string>

#include "core/texts.h"
#include "debugger/debugger.h"
#include "debugger/link_rules.h"
#include "documents/documents.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace quillet {

namespace {

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
    switch (ClassifyDroppedFile(path)) {
    case DroppedKind::kScript: OpenScriptPath(path.c_str()); break;
    case DroppedKind::kProgram: LaunchDebuggerWithProgram(path); break;
    case DroppedKind::kUnsupported:
        platform::ShowMessage(nullptr, text::kDropNotSupported, text::kDropNotSupportedTitle, MB_TASKMODAL);
        break;
    }
    DragFinish(drop);
    return 1;
}

}  // namespace quillet
