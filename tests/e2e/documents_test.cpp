// End to end: script documents. Every script of the corpus opened through the File Open
// dialog and saved under a new name through "Save AS" of the editor menu, byte for byte;
// the tab strip showing, switching and hiding as documents open and close.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "driver/session.h"

using namespace qdriver;

namespace {

bool IsScriptName(const std::string &name) {
    auto endsWith = [&](const char *tail) {
        size_t n = strlen(tail);
        return name.size() > n && name.compare(name.size() - n, n, tail) == 0;
    };
    return endsWith(".txt") || endsWith(".osc");
}

std::vector<std::string> CorpusScripts() {
    std::vector<std::string> scripts;
    for (const std::string &name : ListFiles(CorpusFolder())) {
        if (IsScriptName(name)) scripts.push_back(name);
    }
    return scripts;
}

// Closes the active document as the system menu would, and answers a save question
// with "No" (a test that expects none checks `asked`).
bool CloseActiveDocument(Session &quillet, bool *asked) {
    HWND document = quillet.ActiveDocument();
    if (!document) return false;
    size_t before = quillet.Documents().size();
    PostMessageA(document, WM_CLOSE, 0, 0);
    *asked = false;
    return WaitUntil([&] {
        for (HWND box : TopWindows(quillet.Pid(), "#32770")) {
            if (IsWindowVisible(box) && Text(box) == "Quilletor") {
                *asked = true;
                PressButton(box, IDNO);
            }
        }
        return quillet.Documents().size() < before;
    }, kStepTimeout);
}

// The code page of an encoding named in the status bar.
UINT CodePageNamed(const std::string &name) {
    if (name == "UTF-8" || name == "UTF-8 BOM") return CP_UTF8;
    if (name == "GBK") return 936;
    if (name == "Big5") return 950;
    if (name == "Shift-JIS") return 932;
    if (name == "EUC-KR") return 949;
    if (name == "Johab") return 1361;
    if (name.rfind("Windows-", 0) == 0) return static_cast<UINT>(std::stoul(name.substr(8)));
    return CP_ACP;
}

// Whether the active editor shows `bytes`: the characters read back through the control
// are those bytes decoded with the encoding that the status bar names.
bool ShowsBytes(Session &quillet, const std::string &bytes) {
    const UINT codePage = CodePageNamed(StatusPartText(quillet.StatusBar(), 1));
    std::wstring expected(bytes.size() + 1, L'\0');
    expected.resize(static_cast<size_t>(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                            &expected[0], static_cast<int>(expected.size()))));
    HWND editor = quillet.ActiveEditor();
    std::wstring shown(static_cast<size_t>(SendMessageW(editor, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    shown.resize(static_cast<size_t>(
        SendMessageW(editor, WM_GETTEXT, shown.size(), reinterpret_cast<LPARAM>(&shown[0]))));
    return shown == expected;
}

std::string Joined(const std::vector<std::string> &items) {
    std::string text;
    for (const std::string &item : items) text += "[" + item + "]";
    return text;
}

}  // namespace

TEST(Documents, EveryCorpusScriptOpensAndSavesUnderANewNameByteForByte) {
    const std::string corpus = CorpusFolder();
    ASSERT_FALSE(corpus.empty()) << "corpus not found beside the source tree";
    const std::vector<std::string> scripts = CorpusScripts();
    ASSERT_FALSE(scripts.empty());
    FreshFolder folder;
    ASSERT_TRUE(folder.Ok()) << folder.Error();
    const std::string saved = folder.Path() + "saved\\";
    ASSERT_TRUE(CreateDirectoryA(saved.c_str(), nullptr));
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");
    HWND tabs = quillet.TabStrip();
    ASSERT_TRUE(tabs);

    std::vector<std::string> savedPaths, savedNames;
    for (size_t i = 0; i < scripts.size(); ++i) {
        const std::string &name = scripts[i];
        SCOPED_TRACE(name);
        const std::string source = corpus + name;
        std::string bytes;
        ASSERT_TRUE(ReadBytes(source, &bytes));

        ASSERT_EQ(quillet.OpenThroughDialog(source), "");
        ASSERT_TRUE(WaitUntil([&] { return quillet.Documents().size() == i + 1; }, kStepTimeout))
            << "the script did not open as document " << i + 1;
        HWND document = quillet.ActiveDocument();
        HWND editor = quillet.ActiveEditor();
        ASSERT_TRUE(document && editor);
        EXPECT_EQ(Text(document), source) << "a file's document is titled with its full path";
        EXPECT_TRUE(IsWindowVisible(tabs));
        std::vector<std::string> labels = TabLabels(tabs);
        ASSERT_EQ(labels.size(), i + 1);
        EXPECT_EQ(labels.back(), name) << "the new tab is labelled with the file name and comes last";
        EXPECT_EQ(TabSelection(tabs), static_cast<int>(i));
        EXPECT_TRUE(ShowsBytes(quillet, bytes))
            << "the editor does not show the file's bytes in " << StatusPartText(quillet.StatusBar(), 1);

        const std::string copyName = "copy-" + name;
        const std::string target = saved + copyName;
        ASSERT_EQ(quillet.SaveAsThroughMenu(target), "");
        EXPECT_TRUE(WaitUntil([&] { return Text(document) == target; }, kStepTimeout))
            << "after Save AS the document is titled \"" << Text(document) << "\"";
        std::string written;
        EXPECT_TRUE(WaitUntil([&] { return ReadBytes(target, &written) && written.size() == bytes.size(); },
                              kStepTimeout))
            << "saved " << written.size() << " bytes of " << bytes.size();
        EXPECT_TRUE(written == bytes) << "the saved file differs from its source";
        labels = TabLabels(tabs);
        ASSERT_EQ(labels.size(), i + 1);
        EXPECT_EQ(labels[i], copyName) << "Save AS relabels the document's tab";
        savedPaths.push_back(target);
        savedNames.push_back(copyName);
    }
    EXPECT_EQ(Joined(TabLabels(tabs)), Joined(savedNames));

    // The recent-files list holds the last nine files opened or saved, newest first.
    const std::string recent = folder.File("mru.ini");
    std::vector<std::string> touched;  // newest first
    for (size_t i = scripts.size(); i-- > 0 && touched.size() < 9;) {
        touched.push_back(savedPaths[i]);
        touched.push_back(corpus + scripts[i]);
    }
    touched.resize(std::min<size_t>(touched.size(), 9));
    // The last save may still be writing the list.
    WaitUntil([&] { return IniRead(recent, "LastOpened", "File1") == touched[0]; }, kStepTimeout);
    for (size_t slot = 1; slot <= touched.size(); ++slot) {
        std::string key = "File" + std::to_string(slot);
        EXPECT_EQ(IniRead(recent, "LastOpened", key.c_str()), touched[slot - 1]) << key;
    }
    EXPECT_FALSE(IniHasKey(recent, "LastOpened", "File10"));

    // A file of another kind is refused and nothing opens.
    for (const std::string &name : ListFiles(corpus)) {
        if (IsScriptName(name)) continue;
        SCOPED_TRACE(name);
        ASSERT_EQ(quillet.OpenThroughDialog(corpus + name), "");
        HWND box = quillet.WaitDialog("File not supported");
        ASSERT_TRUE(box) << "no \"File not supported\" message";
        EXPECT_EQ(MessageBoxText(box), "file is not supported by Quillet");
        PressButton(box, IDOK);
        EXPECT_TRUE(WaitGone(box, kStepTimeout));
        EXPECT_EQ(quillet.Documents().size(), scripts.size());
        EXPECT_EQ(TabCount(tabs), static_cast<int>(scripts.size()));
        break;
    }

    // Closing removes each document's tab; saved documents close without a question.
    while (!quillet.Documents().empty()) {
        std::string closing = BaseName(Text(quillet.ActiveDocument()));
        bool asked = false;
        ASSERT_TRUE(CloseActiveDocument(quillet, &asked)) << "the document " << closing << " did not close";
        EXPECT_FALSE(asked) << closing << " asked to be saved right after Save AS";
        std::vector<std::string> labels = TabLabels(tabs);
        EXPECT_EQ(labels.size(), quillet.Documents().size());
        EXPECT_EQ(std::count(labels.begin(), labels.end(), closing), 0) << closing << " kept its tab";
    }
    EXPECT_FALSE(IsWindowVisible(tabs)) << "the tab strip stays after the last document closed";
    EXPECT_EQ(RectIn(quillet.Frame(), quillet.MdiClient()).top, 45);
    DWORD code = 99;
    EXPECT_TRUE(quillet.Close(&code));
    EXPECT_EQ(code, 0u);
}

TEST(Documents, TabStripShowsSwitchesAndHides) {
    const std::string corpus = CorpusFolder();
    const std::vector<std::string> scripts = CorpusScripts();
    ASSERT_GE(scripts.size(), 2u);
    FreshFolder folder;
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");
    HWND frame = quillet.Frame();
    HWND tabs = quillet.TabStrip();
    HWND client = quillet.MdiClient();

    const std::string first = scripts[0], second = scripts[1];
    ASSERT_EQ(quillet.OpenThroughDialog(corpus + first), "");
    ASSERT_TRUE(WaitUntil([&] { return TabCount(tabs) == 1; }, kStepTimeout));
    ASSERT_EQ(quillet.OpenThroughDialog(corpus + second), "");
    ASSERT_TRUE(WaitUntil([&] { return TabCount(tabs) == 2; }, kStepTimeout));
    EXPECT_EQ(Joined(TabLabels(tabs)), Joined({first, second}));
    EXPECT_TRUE(IsWindowVisible(tabs));
    RECT strip = RectIn(frame, tabs);
    EXPECT_EQ(strip.top, 45);
    EXPECT_EQ(strip.bottom - strip.top, 30);
    EXPECT_EQ(RectIn(frame, client).top, 75) << "the MDI client makes room for the tab strip";
    EXPECT_EQ(TabSelection(tabs), 1);
    EXPECT_EQ(Text(quillet.ActiveDocument()), corpus + second);
    EXPECT_TRUE(IsZoomed(quillet.ActiveDocument())) << "documents open maximised";

    // A click on the first tab brings its document forward.
    RECT tab = {};
    ASSERT_TRUE(TabRect(tabs, 0, &tab));
    POINT centre = {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2};
    ClientToScreen(tabs, &centre);
    ASSERT_TRUE(ClickAt(centre));
    EXPECT_TRUE(WaitUntil([&] { return Text(quillet.ActiveDocument()) == corpus + first; }, kStepTimeout))
        << "active after the click: " << Text(quillet.ActiveDocument());
    EXPECT_EQ(TabSelection(tabs), 0);
    std::string bytes;
    ASSERT_TRUE(ReadBytes(corpus + first, &bytes));
    EXPECT_TRUE(ShowsBytes(quillet, bytes)) << "the first document does not show its file";
    Sleep(300);  // let the editor finish painting before the picture
    SaveScreenshot("two-documents.png", frame);

    // New scripts are numbered while any tab is open.
    SendCommand(frame, ui::kCmdNew);
    SendCommand(frame, ui::kCmdNew);
    EXPECT_EQ(Joined(TabLabels(tabs)), Joined({first, second, "Untitled 1", "Untitled 2"}));
    EXPECT_EQ(Text(quillet.ActiveDocument()), "Untitled 2");
    EXPECT_EQ(TabSelection(tabs), 3);

    while (!quillet.Documents().empty()) {
        bool asked = false;
        ASSERT_TRUE(CloseActiveDocument(quillet, &asked));
        EXPECT_FALSE(asked) << "an unchanged document asked to be saved";
        EXPECT_EQ(TabCount(tabs), static_cast<int>(quillet.Documents().size()));
        if (!quillet.Documents().empty()) {
            // The selected tab names the document now in front.
            std::vector<std::string> labels = TabLabels(tabs);
            int selected = TabSelection(tabs);
            ASSERT_TRUE(selected >= 0 && selected < static_cast<int>(labels.size()));
            EXPECT_EQ(labels[selected], BaseName(Text(quillet.ActiveDocument())));
        }
    }
    EXPECT_FALSE(IsWindowVisible(tabs));
    EXPECT_EQ(RectIn(frame, client).top, 45) << "the MDI client takes the tab strip's room back";

    // With every tab gone the numbering starts again.
    SendCommand(frame, ui::kCmdNew);
    EXPECT_EQ(Joined(TabLabels(tabs)), Joined({"Untitled 1"}));
    EXPECT_TRUE(IsWindowVisible(tabs));
    EXPECT_EQ(RectIn(frame, client).top, 75);
    DWORD code = 99;
    EXPECT_TRUE(quillet.Close(&code));
    EXPECT_EQ(code, 0u);
}

// Typed text reaches the file: a new script closed with changes asks to be saved and
// goes through Save As (".txt" added to a name without it); a plain Save writes the
// edits of an opened script over its file.
TEST(Documents, TypedTextIsSavedOnCloseAndByPlainSave) {
    const std::vector<std::string> scripts = CorpusScripts();
    ASSERT_FALSE(scripts.empty());
    FreshFolder folder;
    Session quillet(folder);
    ASSERT_EQ(quillet.Launch(), "");
    HWND frame = quillet.Frame();
    HWND tabs = quillet.TabStrip();
    // Autocompletion off, so that Return ends a line instead of choosing from a list,
    // and no automatic indentation, so the lines are saved as typed.
    SendCommand(frame, ui::kCmdAutoCompleteSwitch);
    SendCommand(frame, ui::kCmdNoAutoIndentation);

    ASSERT_EQ(quillet.NewScript(), "");
    HWND editor = quillet.ActiveEditor();
    TypeText(editor, "var count\nmov count, 1\n");
    ASSERT_TRUE(SyncEditor(editor));
    const char *const lineEnds[] = {"\r\n", "\r", "\n"};  // SCI_GETEOLMODE 0, 1, 2
    LRESULT eolMode = Send(editor, 2030);
    ASSERT_TRUE(eolMode >= 0 && eolMode <= 2);
    const std::string eol = lineEnds[eolMode];
    const std::string typed = "var count" + eol + "mov count, 1" + eol;
    EXPECT_EQ(Text(editor), typed);

    PostMessageA(quillet.ActiveDocument(), WM_CLOSE, 0, 0);
    HWND question = quillet.WaitDialog("Quilletor");
    ASSERT_TRUE(question) << "closing a changed script did not ask to save it";
    EXPECT_EQ(MessageBoxText(question), "Save current changes? Untitled 1");
    PressButton(question, IDYES);
    ASSERT_EQ(quillet.AnswerFileDialog(folder.File("notes")), "");
    std::string written;
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(folder.File("notes.txt"), &written) && written == typed; },
                          kStepTimeout))
        << "notes.txt holds \"" << written << "\"";
    EXPECT_FALSE(FileExists(folder.File("notes")));
    EXPECT_TRUE(WaitUntil([&] { return quillet.Documents().empty(); }, kStepTimeout));
    EXPECT_FALSE(IsWindowVisible(tabs));
    EXPECT_EQ(IniRead(folder.File("mru.ini"), "LastOpened", "File1"), folder.File("notes.txt"));

    // A plain Save writes the opened file again, with what was typed at its start.
    std::string original;
    ASSERT_TRUE(ReadBytes(CorpusFolder() + scripts[0], &original));
    const std::string script = folder.File("plain.osc");
    ASSERT_TRUE(WriteBytes(script, original));
    ASSERT_EQ(quillet.OpenScript(script), "");
    editor = quillet.ActiveEditor();
    TypeText(editor, "//");
    ASSERT_TRUE(SyncEditor(editor));
    SendCommand(frame, ui::kCmdSave);
    EXPECT_TRUE(ReadBytes(script, &written) && written == "//" + original)
        << "plain.osc holds " << written.size() << " bytes, expected " << original.size() + 2;

    bool asked = false;
    ASSERT_TRUE(CloseActiveDocument(quillet, &asked));
    EXPECT_FALSE(asked) << "a saved script asked to be saved again";

    // Save of a new script asks for a name exactly as Save As does, and that file is
    // the script's from then on.
    ASSERT_EQ(quillet.NewScript(), "");
    editor = quillet.ActiveEditor();
    TypeText(editor, "ret\n");
    ASSERT_TRUE(SyncEditor(editor));
    ASSERT_TRUE(PostCommand(frame, ui::kCmdSave));
    ASSERT_EQ(quillet.AnswerFileDialog(folder.File("\xd0\xbd\xd0\xbe\xd0\xb2\xd1\x8b\xd0\xb9")), "")
        << "Save of a new script did not ask for a name";
    const std::string named = folder.File("\xd0\xbd\xd0\xbe\xd0\xb2\xd1\x8b\xd0\xb9.txt");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytes(named, &written) && written == Text(editor); }, kStepTimeout))
        << "the chosen file holds \"" << written << "\"";
    EXPECT_EQ(Text(quillet.ActiveDocument()), named);
    EXPECT_FALSE(FileExists(folder.File("Untitled 1.txt")));
    ASSERT_TRUE(CloseActiveDocument(quillet, &asked));
    EXPECT_FALSE(asked) << "the saved new script asked to be saved again";
    DWORD code = 99;
    EXPECT_TRUE(quillet.Close(&code));
    EXPECT_EQ(code, 0u);
}
