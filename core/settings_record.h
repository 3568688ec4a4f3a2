// The in-memory settings and editing state that the frame publishes as "setting".
// Window-free plain data, so the settings key table can name its fields.
#pragma once

#include <string>

namespace quillet {

// The in-memory settings and editing state (property "setting"). Each setting that
// the program consults while it runs has its field here, loaded at start-up and
// written through the settings store together with the file, so the record is the one
// truth while the program runs; no feature reads those keys from the file. The keys
// without a field are read once where they are used: the skin (at start-up), the
// stored window placement (the loader keeps the clamped values), the custom colour set
// and its colours (the colour dialog and styling), and the lists kept in the file
// (bookmarks, encodings). Texts are held whole: a path cut to a fixed size would name
// another file.
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
    int scriptChecksOff;  // "ScriptChecks" "Off": 1 turns the script checks off
};

}  // namespace quillet
