// Window-free rules about script documents: titles of new scripts, tab labels, the
// extension test of the Open command, the name Save As writes, the help word taken
// around the caret, and the file error messages.
#pragma once

#include <string>
#include <string_view>


namespace quillet {

// "Untitled" followed by a blank and the counter: "Untitled 3".
std::string UntitledTitle(int counter);
// The tab label of a script with a file: the trimmed file name with extension of its
// path (a new script's tab shows its whole "Untitled N").
std::string TabLabelForPath(std::string_view path);
// The file-name part of a title as tabs compare it (trimmed before and after).
std::string_view TrimmedFileName(std::string_view title);

// The Open command accepts a chosen file only when the text after the last "." of its
// file name is exactly "txt" or "osc" (lower case). A path longer than 260 characters
// has no extension for this test.
bool HasOpenableExtension(std::string_view path);
// The path Save writes: ".txt" is appended when neither ".TXT" nor ".OSC" occurs
// anywhere in the path, in any letter case.
std::string SavePathFor(std::string_view path);

// The help word: the first run of ASCII letters and digits in the blank-trimmed text
// taken around the caret (the word widened by one character on each side); empty
// when there is none.
std::string HelpWordFromRange(std::string_view range);

// The file error code (and its text) shown for a system error number.
struct FileError {
    int code;
    const char *text;
};
FileError FileErrorFromSystem(unsigned long systemError);
// Text of a file error code; codes outside the table get "Path/file access error".
const char *FileErrorText(int code);
// The open or save failure message: head, "Error:" with the code after one blank,
// ", ", the error text, a blank line and the tail, lines joined by CR LF.
std::string FileErrorMessage(const char *head, int code, const char *tail);

}  // namespace quillet
