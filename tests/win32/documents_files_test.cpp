// Open, Save and Save As with real files: naming rules, lossless bytes, replacing a
// longer file, failures that keep the old file and the modified state, and opening a
// path that is already open.
#include "tests/win32/documents_fixture.h"
#include "platform/profile.h"
#include "platform/settings_store.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace quillet::testing_documents {
namespace {

using DocumentFiles = DocumentsFixture;

// Open offers and accepts only .txt and .osc scripts; the open and save dialogs start
// in the script folder once one is set.
TEST_F(DocumentFiles, OpenAndSaveDialogsStartInTheScriptFolderAndAcceptScriptsOnly) {
    for (const char *name : {"a.txt", "b.osc", "c.TXT"}) WriteBytes(Path(name), name);
    openNames_ = {Path("a.txt"), Path("b.osc"), Path("c.TXT"), ""};
    OpenScriptCommand(frame_);
    OpenScriptCommand(frame_);
    OpenScriptCommand(frame_);
    OpenScriptCommand(frame_);  // cancelled: nothing happens
    ASSERT_EQ(Documents().size(), 2u);
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"a.txt", "b.osc"}));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "file is not supported by Quillet");
    EXPECT_EQ(messages_[0].title, "File not supported");
    EXPECT_EQ(messages_[0].style, static_cast<UINT>(MB_TASKMODAL));

    ASSERT_EQ(openRequests_.size(), 4u);
    const DialogRequest &request = openRequests_[0];
    EXPECT_EQ(request.owner, frame_);
    EXPECT_EQ(request.title, "Select Script File");
    EXPECT_EQ(request.filter, std::string("Script\0*.txt;*.osc\0", 19));
    EXPECT_TRUE(request.flags & OFN_EXPLORER);
    EXPECT_EQ(request.initialDir, "");  // no script folder set
    EXPECT_EQ(request.initialFile, "");

    // Once a script folder is set, the open and save dialogs start in it.
    settings_.scriptFolder = folder_;
    OpenScriptCommand(frame_);  // cancelled
    ASSERT_EQ(openRequests_.size(), 5u);
    EXPECT_EQ(openRequests_[4].initialDir, folder_);

    NewDocument();
    saveNames_ = {""};
    EXPECT_FALSE(SaveScript(1));
    ASSERT_EQ(saveRequests_.size(), 1u);
    EXPECT_EQ(saveRequests_[0].initialDir, folder_);
    EXPECT_EQ(saveRequests_[0].initialFile, ".txt");
    EXPECT_EQ(saveRequests_[0].title, "Select Script File");
    EXPECT_EQ(saveRequests_[0].owner, frame_);
}

TEST_F(DocumentFiles, SaveAsNamesFollowTheTxtRule) {
    struct Case { const char *typed; const char *written; };
    const Case cases[] = {
        {"notes", "notes.txt"}, {"notes.osc", "notes.osc"}, {"other.Txt", "other.Txt"}, {"my.txt.bak", "my.txt.bak"},
    };
    for (const Case &c : cases) {
        HWND document = NewDocument();
        ActiveEditor().CallText(SCI_APPENDTEXT, 4, "text");
        saveNames_.push_back(Path(c.typed));
        EXPECT_TRUE(SaveScript(1)) << c.typed;
        EXPECT_EQ(ReadBytes(Path(c.written)), "text") << c.typed;
        EXPECT_EQ(Title(document), Path(c.written));
        EXPECT_EQ(TabLabels().back(), c.written);
        EXPECT_FALSE(ActiveEditor().Call(SCI_GETMODIFY));
    }
    EXPECT_FALSE(Exists(Path("notes.osc.txt")));
    EXPECT_TRUE(messages_.empty());
}

// A new script has no file: Save asks for a name as Save As does (never writing
// "Untitled 1.txt" into whatever folder is current), and then saves to that file.
TEST_F(DocumentFiles, PlainSaveOfANewScriptAsksForANameAsSaveAsDoes) {
    HWND document = NewDocument();
    ActiveEditor().CallText(SCI_APPENDTEXT, 3, "new");
    saveNames_ = {"", Path("\xd0\xbd\xd0\xbe\xd0\xb2\xd1\x8b\xd0\xb9")};
    EXPECT_FALSE(SaveScript(0));  // cancelled: nothing is written, the script stays new
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "nofile is saved");
    EXPECT_EQ(Title(document), "Untitled 1");
    EXPECT_EQ(DocumentPath(document), "");

    EXPECT_TRUE(SaveScript(0));
    const std::string saved = Path("\xd0\xbd\xd0\xbe\xd0\xb2\xd1\x8b\xd0\xb9.txt");
    EXPECT_EQ(ReadBytes(saved), "new");
    EXPECT_EQ(DocumentPath(document), saved);
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"\xd0\xbd\xd0\xbe\xd0\xb2\xd1\x8b\xd0\xb9.txt"}));
    EXPECT_FALSE(Exists(Path("Untitled 1.txt")));
    ASSERT_EQ(saveRequests_.size(), 2u);
    EXPECT_EQ(saveRequests_[1].title, "Select Script File");
    EXPECT_EQ(saveRequests_[1].initialFile, ".txt");

    // From now on Save writes that file without asking.
    ActiveEditor().CallText(SCI_APPENDTEXT, 1, "!");
    EXPECT_TRUE(SaveScript(0));
    EXPECT_EQ(ReadBytes(saved), "new!");
    EXPECT_EQ(saveRequests_.size(), 2u);
}

// Open, edit and Save: the file then holds exactly the editor's bytes, whatever was on
// disk before (a longer file, bytes written meanwhile), and keeps its hidden mark.
TEST_F(DocumentFiles, SavedFilesHoldExactlyTheEditorsBytes) {
    std::string mixed("zero\0byte\r\nCRLF\nLF\rCR\r\n\xC4\xE3\xBA\xC3 GBK\n", 40);
    mixed += std::string("\0\0tail", 6);
    std::string large;
    large.reserve(5u << 20);
    for (int line = 0; large.size() < (5u << 20); ++line) large += "mov eax, " + std::to_string(line) + "\r\n";
    struct Case {
        const char *name;
        std::string onDisk;
        DWORD attributes;       // set before opening, expected after saving
        const char *replaceBy;  // the whole text is set to this (nullptr: kept)
        const char *append;
        const char *meanwhile;  // written to the file between opening and saving (nullptr: none)
        std::string saved;
    };
    const Case cases[] = {
        {"long.txt", std::string(5000, 'L'), 0, "short", "", nullptr, "short"},
        {"bytes.txt", mixed, 0, nullptr, "", "overwritten meanwhile", mixed},
        {"large.osc", large, 0, nullptr, "end", nullptr, large + "end"},
        {"hidden.txt", "old", FILE_ATTRIBUTE_HIDDEN, "new", "", nullptr, "new"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path(c.name);
        WriteBytes(path, c.onDisk);
        if (c.attributes) ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.attributes));
        OpenScriptPath(path.c_str());
        ASSERT_EQ(Title(ActiveDocument()), path);
        EXPECT_EQ(ActiveEditor().Call(SCI_GETLENGTH), static_cast<sptr_t>(c.onDisk.size()));
        EXPECT_TRUE(ActiveEditor().Text() == c.onDisk);
        EXPECT_FALSE(ActiveEditor().Call(SCI_GETMODIFY));
        if (c.replaceBy) ActiveEditor().SetText(c.replaceBy);
        ActiveEditor().CallText(SCI_APPENDTEXT, std::strlen(c.append), c.append);
        if (c.meanwhile) WriteBytes(path, c.meanwhile);
        EXPECT_TRUE(SaveScript(0));
        EXPECT_TRUE(ReadBytes(path) == c.saved);
        EXPECT_EQ(GetFileAttributesA(path.c_str()) & c.attributes, c.attributes);
    }
    EXPECT_TRUE(messages_.empty());
}

// A script of many read blocks: zero bytes, code page bytes and every kind of line end,
// with a CR LF pair split at each power-of-two offset, arrive whole; the lines count as
// the editor counts them when the text is set at once; opening leaves nothing to undo.
TEST_F(DocumentFiles, ScriptOfManyBlocksLoadsLosslesslyWithNothingToUndo) {
    const std::string pattern("mov eax, 1\r\n\0\xC4\xE3\xBA\xC3\n;cr\rlog \"\xFF\"\r\n", 36);
    std::string bytes;
    while (bytes.size() < (1u << 20) + 100) bytes += pattern;
    for (size_t split = 1u << 10; split <= (1u << 20); split <<= 1) {
        bytes[split - 1] = '\r';
        bytes[split] = '\n';
    }
    const std::string path = Path("blocks.osc");
    WriteBytes(path, bytes);
    OpenScriptPath(path.c_str());
    ASSERT_EQ(Documents().size(), 1u);
    const Editor editor = ActiveEditor();
    EXPECT_TRUE(editor.Text() == bytes);
    EXPECT_FALSE(editor.Call(SCI_GETMODIFY));
    EXPECT_FALSE(editor.Call(SCI_CANUNDO));

    const sptr_t lines = editor.Call(SCI_GETLINECOUNT);
    editor.SetText(bytes);
    EXPECT_EQ(lines, editor.Call(SCI_GETLINECOUNT));
}

TEST_F(DocumentFiles, OpeningAnOpenPathOnlyActivatesItAndKeepsItsEdits) {
    const std::string a = Path("first.txt"), b = Path("second.txt");
    WriteBytes(a, "first");
    WriteBytes(b, "second");
    OpenScriptPath(a.c_str());
    HWND first = ActiveDocument();
    ActiveEditor().CallText(SCI_APPENDTEXT, 7, " edited");
    OpenScriptPath(b.c_str());
    ASSERT_NE(ActiveDocument(), first);

    const std::string other = ToUpperAscii(a);
    OpenScriptPath(other.c_str());
    EXPECT_EQ(Documents().size(), 2u);
    EXPECT_EQ(ActiveDocument(), first);
    EXPECT_EQ(ActiveEditor().Text(), "first edited");
    EXPECT_TRUE(ActiveEditor().Call(SCI_GETMODIFY));
    EXPECT_EQ(SendMessageA(handles_.tabStrip, TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(DocumentFiles, OpeningAMissingPathCreatesAnEmptyScript) {
    const std::string path = Path("fresh.txt");
    OpenScriptPath(path.c_str());
    EXPECT_TRUE(Exists(path));
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(ActiveEditor().Call(SCI_GETLENGTH), 0);
    EXPECT_EQ(Title(ActiveDocument()), path);
}

TEST_F(DocumentFiles, FileHeldOpenReportsTheOpenError) {
    const std::string path = Path("held.txt");
    WriteBytes(path, "held");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    OpenScriptPath(path.c_str());
    CloseHandle(held);
    EXPECT_TRUE(Documents().empty());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text,
              "Following error occured while trying to open the file:\r\nError: 70, Permission denied\r\n\r\n"
              "The file could not be opened.");
    EXPECT_EQ(messages_[0].title, "open file error!");
}

TEST_F(DocumentFiles, SaveAsRelabelsTheSavedDocumentsOwnTab) {
    CreateDirectoryA(Path("one").c_str(), nullptr);
    CreateDirectoryA(Path("two").c_str(), nullptr);
    const std::string a = Path("one\\same.txt"), b = Path("two\\same.txt");
    WriteBytes(a, "one");
    WriteBytes(b, "two");
    OpenScriptPath(a.c_str());
    OpenScriptPath(b.c_str());
    saveNames_.push_back(Path("renamed.txt"));
    EXPECT_TRUE(SaveScript(1));
    // Tabs carry their documents: the saved one's tab takes the new name, even though
    // the other tab has the same label.
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"same.txt", "renamed.txt"}));
    EXPECT_EQ(Title(ActiveDocument()), Path("renamed.txt"));
    DeleteFileA(a.c_str());
    DeleteFileA(b.c_str());
    RemoveDirectoryA(Path("one").c_str());
    RemoveDirectoryA(Path("two").c_str());
}

// The files (not folders) in a folder whose names match a pattern, sorted.
std::vector<std::string> FilesIn(const std::string &folder, const char *pattern = "*") {
    std::vector<std::string> found;
    WIN32_FIND_DATAA entry{};
    HANDLE search = FindFirstFileA((folder + pattern).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) found.emplace_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::sort(found.begin(), found.end());
    return found;
}

// Temporary files the save left in a folder.
std::vector<std::string> LeftoverTemporaries(const std::string &folder) { return FilesIn(folder, "~q*.tmp"); }

// Fills the rest of a disk; returns the filler file's handle (close and delete it to
// make room again).
HANDLE FillDisk(const std::string &path) {
    HANDLE filler = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string block(4096, 'f');
    for (DWORD size : {4096u, 1u}) {
        DWORD written = 0;
        while (WriteFile(filler, block.data(), size, &written, nullptr) && written == size) {}
    }
    return filler;
}

// The settings file on a full disk: a write that makes it longer than a page (where it
// used to be cut short, or left at 0 bytes) keeps the old file whole, is reported once,
// and stays in effect; once there is room, the next write stores everything.
void ExpectSettingsFileKeptOnAFullDisk(std::string disk, std::vector<ShownMessage> &messages,
                                       const std::string &ownFolder) {
    for (char &ch : disk) if (ch == '/') ch = '\\';
    platform::SetExeFolderForTests(disk);
    platform::ResetProfileWriteReport();
    const std::string ini = disk + text::kSettingsFile;
    const std::string tail = "[fonts]\r\nfname=Arial\r\n";
    std::string old = "[NoAUTOIdentation]\r\nOff= 0\r\n[Bookmarks]\r\n";
    for (int slot = 1;; ++slot) {
        const std::string line =
            "BMfile" + std::to_string(slot) + "=C:\\\xd1\x81\xd0\xba\xd1\x80\xd0\xb8\xd0\xbf\xd1\x82\\s.txt\r\n";
        if (old.size() + line.size() + tail.size() + 3 > 4082) break;
        old += line;
    }
    old += tail;
    old += std::string(4082 - old.size() - 2, ';') + "\r\n";  // a comment fills it up to 4,082 bytes
    ASSERT_EQ(old.size(), 4082u);
    WriteBytes(ini, old);
    HANDLE filler = FillDisk(disk + "filler");
    messages.clear();
    WriteSetting(setting::kNoAutoIndent, 1);
    WriteSettingEntryText(text::kSecBookmarks, "BMfile99", "C:\\\xe8\x84\x9a\xe6\x9c\xac.txt");
    EXPECT_EQ(ReadBytes(ini), old);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, text::kSettingsNotWrittenTitle);
    EXPECT_NE(messages[0].text.find(ini), std::string::npos) << messages[0].text;
    EXPECT_EQ(ReadSetting(setting::kNoAutoIndent), 1);  // in effect for the run
    EXPECT_TRUE(LeftoverTemporaries(disk).empty());

    CloseHandle(filler);
    DeleteFileA((disk + "filler").c_str());
    WriteSetting(setting::kDocumentationLookup, 1);
    const std::string now = ReadBytes(ini);
    EXPECT_NE(now.find("Off= 1\r\n"), std::string::npos);
    EXPECT_NE(now.find("BMfile99=C:\\\xe8\x84\x9a\xe6\x9c\xac.txt\r\n"), std::string::npos);
    EXPECT_NE(now.find("[fonts]\r\nfname=Arial\r\n"), std::string::npos);
    EXPECT_EQ(GetPrivateProfileIntA("MSDNHELP", "On", 0, ini.c_str()), 1u);
    EXPECT_EQ(messages.size(), 1u);
    DeleteFileA(ini.c_str());
    platform::SetExeFolderForTests(ownFolder);
}

// Saves that fail before or after the temporary file is complete: each reports the
// system's error in the program's message, and the old file, the typed text, the
// modified state, the title and the folder (no other file left in it) stay as they were.
TEST_F(DocumentFiles, FailedSavesReportTheSystemErrorAndLoseNothing) {
    struct Case {
        const char *what;
        std::string folder;               // where the script lives
        std::function<HANDLE(const std::string &path)> interfere;  // returns a handle to close afterwards
        const char *error;                // "Error: NN, text" of the message
    };
    std::vector<Case> cases{
        // Refused before anything is written: the target is read-only.
        {"target read-only", folder_,
         [](const std::string &path) {
             EXPECT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
             return INVALID_HANDLE_VALUE;
         },
         "Error: 70, Permission denied"},
        // Written completely, then the replace fails: the target is held open by another program.
        {"target held open", folder_,
         [](const std::string &path) {
             return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
         },
         "Error: 70, Permission denied"},
    };
    // A folder on a small file system that the test run prepares (a 64 KiB tmpfs on Linux).
    if (const char *small = std::getenv("QUILLET_SMALL_DISK"); small && *small)
        cases.push_back({"disk full", std::string("Z:") + small + "\\", nullptr, "Error: 61, Disk full"});
    else  // where mounting is not allowed the case cannot run; say so rather than fail
        std::printf("note: QUILLET_SMALL_DISK is not set, the disk-full case did not run\n");

    for (Case &c : cases) {
        SCOPED_TRACE(c.what);
        for (char &ch : c.folder) if (ch == '/') ch = '\\';
        const std::string path = c.folder + "kept.txt";
        WriteBytes(path, "original");
        OpenScriptPath(path.c_str());
        // Large enough to fill the small disk.
        const std::string typed(200 * 1024, 'x');
        ActiveEditor().CallText(SCI_APPENDTEXT, typed.size(), typed.c_str());
        HANDLE held = c.interfere ? c.interfere(path) : INVALID_HANDLE_VALUE;
        messages_.clear();
        EXPECT_FALSE(SaveScript(0));
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].text, std::string("Following error occured while trying to save the file:\r\n") +
                                         c.error + "\r\n\r\nThe file could not be saved.");
        EXPECT_EQ(messages_[0].title, "Save file error!");
        EXPECT_EQ(messages_[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONEXCLAMATION));
        EXPECT_EQ(ReadBytes(path), "original");
        EXPECT_TRUE(ActiveEditor().Call(SCI_GETMODIFY));
        EXPECT_EQ(ActiveEditor().Call(SCI_GETLENGTH), static_cast<sptr_t>(8 + typed.size()));
        EXPECT_EQ(Title(ActiveDocument()), path);
        std::vector<std::string> left = FilesIn(c.folder);
        left.erase(std::remove(left.begin(), left.end(), "mru.ini"), left.end());  // the program's own list
        EXPECT_EQ(left, std::vector<std::string>{"kept.txt"});
        SendMessageA(ActiveDocument(), WM_CLOSE, 0, 0);  // answered No: nothing to save
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    if (const char *small = std::getenv("QUILLET_SMALL_DISK"); small && *small)
        ExpectSettingsFileKeptOnAFullDisk(std::string("Z:") + small + "\\", messages_, folder_);
}

// Save As of a new script to names Windows refuses (a folder that does not exist, a
// name of 300 characters the program could not open again): each is reported with the
// system's error, nothing is written, and the script keeps its text, title and tab.
TEST_F(DocumentFiles, SaveAsToAnUnusableNameReportsAndKeepsTheNewScript) {
    struct Case { std::string path; const char *error; };
    const Case cases[] = {
        {Path("no such folder\\x.txt"), "Error: 76, Path not found"},
        {folder_ + std::string(300 - folder_.size() - 4, 'n') + ".txt", "Error: 64, Bad file name"},
    };
    HWND document = NewDocument();
    ActiveEditor().CallText(SCI_APPENDTEXT, 4, "text");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.error);
        messages_.clear();
        saveNames_.push_back(c.path);
        EXPECT_FALSE(SaveScript(1));
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_NE(messages_[0].text.find(c.error), std::string::npos) << messages_[0].text;
        EXPECT_EQ(Title(document), "Untitled 1");
        EXPECT_EQ(TabLabels(), (std::vector<std::string>{"Untitled 1"}));
        EXPECT_EQ(ActiveEditor().Text(), "text");
        EXPECT_TRUE(ActiveEditor().Call(SCI_GETMODIFY));
        EXPECT_EQ(GetFileAttributesA(c.path.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(LeftoverTemporaries(folder_).empty());
    }
}

}  // namespace
}  // namespace quillet::testing_documents
