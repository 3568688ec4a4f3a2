// The in-memory settings and editing state that the frame publishes as "setting".
// Window-free plain data, so the settings key table can name its fields.
#pragma once

#include <string>

namespace quillet {

// The in-memory settings and editing state (property "setting"). Every stored key has
// its field here, written through the settings store together with the file, so the
// record is the one truth while the program runs. Texts are held whole: a path cut to
// a fixed size would name another file.
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
    std::string editorFontFace;
    std::string debuggerPath;
    std::string commentFontFace;
    std::string scriptFolder;
    std::string tempFolder;
    int labelLineFlag;
    int selectionStart;
    int selectionEnd;
    int callTipsSwitch;
    int autoCompleteSwitch;
    int typedVariablesSwitch;
    int customColorFlag;
};

}  // namespace quillet
