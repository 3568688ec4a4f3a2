// The in-memory settings and editing state that the frame publishes as "setting".
// Window-free plain data, so the settings key table can name its fields.
#pragma once

namespace quillet {

// The in-memory settings and editing state (property "setting"). Fixed layout:
// 32-bit integers and zero-terminated texts of 260 bytes.
struct SettingsRecord {
    int closeFlag;
    int frameWidth;
    int frameHeight;
    int frameLeft;
    int frameTop;
    int commentHighlightOff;
    int commentFontSize;
    int commentFontStyle;
    int editorFontSize;
    int editorFontStyle;
    int codePage;
    int noAutoIndent;
    int documentationLookup;
    char editorFontFace[260];
    char debuggerPath[260];
    char commentFontFace[260];
    char scriptFolder[260];
    char tempFolder[260];
    int labelLineFlag;
    int selectionStart;
    int selectionEnd;
    int callTipsSwitch;
    int autoCompleteSwitch;
    int typedVariablesSwitch;
    int customColorFlag;
};

}  // namespace quillet
