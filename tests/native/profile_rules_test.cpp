// Changes to a settings file's text as the profile functions make them: every line the
// change does not touch keeps its bytes (comments, odd spacing, LF-only ends, a last
// line without an end), names match without regard to case or surrounding blanks, and
// the first matching section is the one changed.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/profile_rules.h"

namespace quillet {
namespace {

const std::string kFile =
    "; kept comment\r\n"
    "[fonts]\r\n"
    "fname=Arial\r\n"
    " FSize = 14\r\n"
    "\r\n"
    "[Bookmarks]\n"
    "BMfile1=C:\\a.txt\n"
    "BM1=3,4\n"
    "[fonts]\r\n"
    "fsize=99\r\n"
    "[last]\r\n"
    "k=v";

TEST(ProfileRules, KeyChangesTouchOnlyTheirLine) {
    struct Case {
        const char *what;
        const char *section;
        const char *key;
        std::optional<std::string> value;
        std::string expected;
    };
    const std::string head = "; kept comment\r\n[fonts]\r\nfname=Arial\r\n";
    const std::string bookmarksOn = "[Bookmarks]\nBMfile1=C:\\a.txt\nBM1=3,4\n[fonts]\r\nfsize=99\r\n[last]\r\n";
    const Case cases[] = {
        {"value replaced, the file's spelling of the key kept", "FONTS", "fsize", std::string(" 20"),
         head + "FSize= 20\r\n\r\n" + bookmarksOn + "k=v"},
        {"key removed", "fonts", "fname", std::nullopt,
         "; kept comment\r\n[fonts]\r\n FSize = 14\r\n\r\n" + bookmarksOn + "k=v"},
        {"new key after the section's last filled line", " fonts ", "cfname", std::string("Courier"),
         head + " FSize = 14\r\ncfname=Courier\r\n\r\n" + bookmarksOn + "k=v"},
        {"new key in the last section, which had no line end", "last", "n", std::string("1"),
         head + " FSize = 14\r\n\r\n" + bookmarksOn + "k=v\r\nn=1\r\n"},
        {"new section appended", "Encodings", "1", std::string("C:\\b.txt|1251"),
         kFile + "\r\n[Encodings]\r\n1=C:\\b.txt|1251\r\n"},
        {"missing key removed: nothing changes", "fonts", "none", std::nullopt, kFile},
        {"missing section removed: nothing changes", "none", "", std::nullopt, kFile},
        {"whole section removed", "bookmarks", "", std::nullopt,
         head + " FSize = 14\r\n\r\n[fonts]\r\nfsize=99\r\n[last]\r\nk=v"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WithProfileKey(kFile, c.section, c.key, c.value), c.expected) << c.what;
}

// A section written whole (the breakpoint list, the remembered encodings): its lines
// are replaced, the blank line closing it stays, and a section that is not there yet
// comes at the end; a realistic sequence on a file that starts empty.
TEST(ProfileRules, SectionsAreReplacedWhole) {
    EXPECT_EQ(WithProfileSection(kFile, "fonts", std::string("fname=Tahoma\0fsize= 9\0\0", 23)),
              "; kept comment\r\n[fonts]\r\nfname=Tahoma\r\nfsize= 9\r\n\r\n[Bookmarks]\nBMfile1=C:\\a.txt\nBM1=3,4\n"
              "[fonts]\r\nfsize=99\r\n[last]\r\nk=v");
    EXPECT_EQ(WithProfileSection(kFile, "last", std::string("\0", 1)),
              "; kept comment\r\n[fonts]\r\nfname=Arial\r\n FSize = 14\r\n\r\n[Bookmarks]\nBMfile1=C:\\a.txt\n"
              "BM1=3,4\n[fonts]\r\nfsize=99\r\n[last]\r\n");

    std::string file;
    file = WithProfileKey(file, "Flags", "Close2Exit", std::string("1"));
    file = WithProfileSection(file, "Plugin ODbgScript", std::string("bp1=C:\\s.txt|10|jmp A\0\0", 23));
    file = WithProfileKey(file, "flags", "close2exit", std::string("0"));
    file = WithProfileSection(file, "plugin odbgscript", std::string("bp1=C:\\s.txt|15|jmp A\0\0", 23));
    EXPECT_EQ(file, "[Flags]\r\nClose2Exit=0\r\n[Plugin ODbgScript]\r\nbp1=C:\\s.txt|15|jmp A\r\n");
}

}  // namespace
}  // namespace quillet
