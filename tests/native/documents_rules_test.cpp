// Window-free rules of the script documents: tab labels, the Open
// extension test, the Save name, the help word and the file error messages.
#include <gtest/gtest.h>

#include <string>

#include "documents/script_names.h"

namespace quillet {
namespace {

TEST(DocumentsRules, TabLabels) {
    struct Case { const char *path; const char *label; };
    const Case cases[] = {
        {"C:\\scripts\\unpack.txt", "unpack.txt"},
        {"C:\\scripts\\ my file.osc ", "my file.osc"},
        {"relative.txt", "relative.txt"},
        {"C:/mixed/slash.txt", "slash.txt"},
        {"C:\\work\\Untitled 4.txt", "Untitled 4.txt"},
        {"C:\\folder\\", ""},
    };
    for (const Case &c : cases) EXPECT_EQ(TabLabelForPath(c.path), c.label) << c.path;
}

TEST(DocumentsRules, OpenExtensionIsExactlyTxtOrOsc) {
    struct Case { std::string path; bool accepted; };
    const Case cases[] = {
        {"C:\\s\\a.txt", true},
        {"C:\\s\\b.osc", true},
        {"C:\\s\\a.TXT", false},
        {"C:\\s\\a.Osc", false},
        {"C:\\s\\a.txt.bak", false},
        {"C:\\s.txt\\noextension", false},
        {"C:\\s\\a.", false},
        {"C:\\s\\a.txtx", false},
        {"plain", false},
        {"C:\\" + std::string(253, 'x') + ".txt", true},   // 260 characters
        {"C:\\" + std::string(254, 'x') + ".txt", false},  // 261: beyond the name buffer
    };
    for (const Case &c : cases) EXPECT_EQ(HasOpenableExtension(c.path), c.accepted) << c.path;
}

TEST(DocumentsRules, SaveAppendsTxtUnlessTxtOrOscOccurs) {
    struct Case { const char *path; const char *saved; };
    const Case cases[] = {
        {"notes", "notes.txt"},
        {"notes.osc", "notes.osc"},
        {"notes.Txt", "notes.Txt"},
        {"my.txt.bak", "my.txt.bak"},
        {"C:\\a.OSC.dir\\notes", "C:\\a.OSC.dir\\notes"},
        {"Untitled 1", "Untitled 1.txt"},
        {"notes.tx", "notes.tx.txt"},
    };
    for (const Case &c : cases) EXPECT_EQ(SavePathFor(c.path), c.saved) << c.path;
}

TEST(DocumentsRules, HelpWordIsTheFirstRunOfLettersAndDigits) {
    struct Case { std::string range; const char *word; };
    const Case cases[] = {
        {" $result ", "result"},
        {"eax,", "eax"},
        {" GetProcAddress(", "GetProcAddress"},
        {" Get_Proc ", "Get"},
        {"[esp+", "esp"},
        {"  ", ""},
        {"", ""},
        {"$#?_", ""},
        {" 401000h ", "401000h"},
        {std::string("\0ab", 3), "ab"},
        {"\xC4\xE3mov ", "mov"},  // GBK bytes are not letters of the rule
    };
    for (const Case &c : cases) EXPECT_EQ(HelpWordFromRange(c.range), c.word) << c.range;
}

TEST(DocumentsRules, SystemErrorsMapToFileErrorCodes) {
    struct Case { unsigned long system; int code; const char *text; };
    const Case cases[] = {
        {2, 53, "File not found"},        {3, 76, "Path not found"},    {5, 70, "Permission denied"},
        {32, 70, "Permission denied"},    {112, 61, "Disk full"},       {39, 61, "Disk full"},
        {123, 64, "Bad file name"},       {21, 71, "Disk not ready"},   {4, 67, "Too many files"},
        {99999, 75, "Path/file access error"},
    };
    for (const Case &c : cases) {
        const FileError error = FileErrorFromSystem(c.system);
        EXPECT_EQ(error.code, c.code) << c.system;
        EXPECT_STREQ(error.text, c.text) << c.system;
    }
}

TEST(DocumentsRules, FileErrorMessageLayout) {
    EXPECT_EQ(FileErrorMessage("Following error occured while trying to save the file:", 70,
                               "The file could not be saved."),
              "Following error occured while trying to save the file:\r\nError: 70, Permission denied\r\n\r\n"
              "The file could not be saved.");
    EXPECT_STREQ(FileErrorText(58), "File already exists");
    EXPECT_STREQ(FileErrorText(1), "Path/file access error");
}

}  // namespace
}  // namespace quillet
