// Typed access to the frame's named properties.
#include "platform/frame_state.h"

#include <initializer_list>

#include "core/texts.h"

namespace quillet {

namespace {

template <typename T>
T *Get(HWND frame, const char *name) {
    return frame ? static_cast<T *>(GetPropA(frame, name)) : nullptr;
}

void Set(HWND frame, const char *name, const void *value) {
    if (frame) SetPropA(frame, name, const_cast<void *>(value));
}

}  // namespace

namespace {
HWND programFrame = nullptr;
}  // namespace

HWND ProgramFrame() { return programFrame && IsWindow(programFrame) ? programFrame : nullptr; }
void RegisterProgramFrame(HWND frame) { programFrame = frame; }

FrameHandles *GetFrameHandles(HWND frame) { return Get<FrameHandles>(frame, text::kPropHandles); }
void PublishFrameHandles(HWND frame, FrameHandles *handles) { Set(frame, text::kPropHandles, handles); }

HWND GetMdiClient(HWND frame) { return static_cast<HWND>(Get<void>(frame, text::kPropClient)); }
void PublishMdiClient(HWND frame, HWND client) { Set(frame, text::kPropClient, client); }

SettingsRecord *GetSettings(HWND frame) { return Get<SettingsRecord>(frame, text::kPropSettings); }
void PublishSettings(HWND frame, SettingsRecord *settings) { Set(frame, text::kPropSettings, settings); }

HWND GetDebuggerWindow(HWND frame) { return static_cast<HWND>(Get<void>(frame, text::kPropDebugger)); }
void PublishDebuggerWindow(HWND frame, HWND debugger) { Set(frame, text::kPropDebugger, debugger); }

const char *GetKeywordList(HWND frame) { return Get<const char>(frame, text::kPropKeyword); }
void PublishKeywordList(HWND frame, const char *list) { Set(frame, text::kPropKeyword, list); }

// "KEYWORDADDED" and "keywordadded" are one property: names are atoms, compared
// without regard to case.
const char *GetKeywordAdded(HWND frame) { return Get<const char>(frame, text::kPropKeywordAdded); }
void PublishKeywordAdded(HWND frame, const char *list) { Set(frame, text::kPropKeywordAdded, list); }

TipTable *GetTipTable(HWND frame) { return Get<TipTable>(frame, text::kPropTips); }
void PublishTipTable(HWND frame, TipTable *tips) { Set(frame, text::kPropTips, tips); }

const char *GetStatusNote(HWND frame) { return Get<const char>(frame, text::kPropStatusText); }
void PublishStatusNote(HWND frame, const char *note) { Set(frame, text::kPropStatusText, note); }

void RemoveFrameProperties(HWND frame) {
    for (const char *name : {text::kPropClient, text::kPropSettings, text::kPropHandles, text::kPropTips,
                             text::kPropKeyword, text::kPropKeywordAdded, text::kPropDebugger,
                             text::kPropStatusText})
        RemovePropA(frame, name);
}

}  // namespace quillet
