// Document windows in a real MDI frame: untitled numbering, the tab strip and the frame
// layout, activation from a tab label, and the close question.
#include "tests/win32/documents_fixture.h"

namespace quillet::testing_documents {
namespace {

using DocumentWindow = DocumentsFixture;

TEST_F(DocumentWindow, UntitledNumbersCountUpAndRestartWhenAllAreClosed) {
    HWND first = NewDocument();
    HWND second = NewDocument();
    HWND third = NewDocument();
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(Title(first), "Untitled 1");
    EXPECT_EQ(Title(second), "Untitled 2");
    EXPECT_EQ(Title(third), "Untitled 3");
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"Untitled 1", "Untitled 2", "Untitled 3"}));
    EXPECT_EQ(ActiveDocument(), third);
    EXPECT_TRUE(IsZoomed(third));
    ASSERT_NE(ActiveEditorWindow(), nullptr);
    EXPECT_EQ(GetDlgCtrlID(ActiveEditorWindow()), kIdEditor);
    EXPECT_TRUE(ActiveEditor().IsOpen());

    // Closing some does not give their numbers back.
    SendMessageA(second, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"Untitled 1", "Untitled 3"}));
    EXPECT_EQ(Title(NewDocument()), "Untitled 4");
    EXPECT_TRUE(messages_.empty()) << "unmodified documents close without a question";

    CloseAll();
    EXPECT_TRUE(Documents().empty());
    EXPECT_TRUE(TabLabels().empty());
    EXPECT_EQ(ActiveDocument(), nullptr);
    EXPECT_FALSE(ActiveEditor().IsOpen());
    EXPECT_EQ(Title(NewDocument()), "Untitled 1");
}

TEST_F(DocumentWindow, TabStripAppearsWithTheFirstDocumentAndLeavesWithTheLast) {
    EXPECT_FALSE(IsWindowVisible(handles_.tabStrip));
    HWND document = NewDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(IsWindowVisible(handles_.tabStrip));
    RECT strip = PlaceInFrame(handles_.tabStrip);
    RECT client = PlaceInFrame(Client());
    EXPECT_EQ(strip.top, 45);
    EXPECT_EQ(strip.bottom - strip.top, 30);
    EXPECT_EQ(client.top, 75);

    // A frame resize keeps the strip's band while a document is open.
    SetWindowPos(frame_, nullptr, 0, 0, 950, 650, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(PlaceInFrame(Client()).top, 75);
    RECT frameClient{};
    GetClientRect(frame_, &frameClient);
    EXPECT_EQ(PlaceInFrame(handles_.tabStrip).right - PlaceInFrame(handles_.tabStrip).left, frameClient.right);

    SendMessageA(document, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(handles_.tabStrip));
    client = PlaceInFrame(Client());
    EXPECT_EQ(client.top, 45);
    RECT status{};
    GetWindowRect(handles_.statusBar, &status);
    EXPECT_EQ(client.bottom, frameClient.bottom - (status.bottom - status.top));
}

TEST_F(DocumentWindow, EditorFillsTheDocumentAndFollowsItsSize) {
    HWND document = NewDocument();
    HWND editor = GetDlgItem(document, kIdEditor);
    ASSERT_NE(editor, nullptr);
    char className[32] = "";
    GetClassNameA(editor, className, sizeof className);
    EXPECT_STREQ(className, "Scintilla");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(editor, GWL_STYLE)) & 0x1C4u, 0x1C4u);
    EXPECT_TRUE(GetWindowLongA(editor, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    RECT area{}, placed{};
    GetClientRect(document, &area);
    GetWindowRect(editor, &placed);
    MapWindowPoints(nullptr, document, reinterpret_cast<POINT *>(&placed), 2);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
    EXPECT_EQ(placed.right, area.right);
    EXPECT_EQ(placed.bottom, area.bottom);

    // Focus given to the document passes to its editor.
    SetFocus(document);
    Pump();
    EXPECT_EQ(GetFocus(), editor);
}

TEST_F(DocumentWindow, TabBringsItsDocumentForward) {
    const std::string a = Path("alpha.txt"), b = Path("beta.osc");
    WriteBytes(a, "alpha");
    WriteBytes(b, "beta");
    OpenScriptPath(a.c_str());
    OpenScriptPath(b.c_str());
    ASSERT_EQ(Documents().size(), 2u);
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"alpha.txt", "beta.osc"}));
    EXPECT_EQ(Title(ActiveDocument()), b);
    EXPECT_EQ(SendMessageA(handles_.tabStrip, TCM_GETCURSEL, 0, 0), 1);

    HWND alpha = ActivateTabDocument(frame_, 0);
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(Title(alpha), a);
    EXPECT_EQ(ActiveDocument(), alpha);
    EXPECT_TRUE(IsWindowVisible(alpha));
    EXPECT_EQ(SendMessageA(handles_.tabStrip, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ActivateTabDocument(frame_, 5), nullptr);
    EXPECT_EQ(ActiveDocument(), alpha);
}

// Two scripts of the same name in different folders: equal labels, but each tab finds
// and closes its own document, and the record keeps each path.
TEST_F(DocumentWindow, SameNameScriptsKeepTheirOwnTabs) {
    CreateDirectoryA(Path("a").c_str(), nullptr);
    CreateDirectoryA(Path("b").c_str(), nullptr);
    const std::string first = Path("a\\unpack.osc"), second = Path("b\\unpack.osc");
    WriteBytes(first, "first");
    WriteBytes(second, "second");
    OpenScriptPath(first.c_str());
    OpenScriptPath(second.c_str());
    const std::vector<HWND> documents = Documents();
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"unpack.osc", "unpack.osc"}));

    HWND secondDocument = ActiveDocument();
    ASSERT_NE(GetDocumentRecord(secondDocument), nullptr);
    EXPECT_EQ(GetDocumentRecord(secondDocument)->path, second);
    HWND firstDocument = ActivateTabDocument(frame_, 0);
    ASSERT_NE(firstDocument, secondDocument);
    EXPECT_EQ(GetDocumentRecord(firstDocument)->path, first);
    EXPECT_EQ(ActiveEditor().Text(), "first");
    EXPECT_EQ(ActivateTabDocument(frame_, 1), secondDocument);
    EXPECT_EQ(ActiveEditor().Text(), "second");

    // Closing the second (active) one leaves the first one's tab, selected.
    SendMessageA(secondDocument, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(secondDocument));
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"unpack.osc"}));
    EXPECT_EQ(ActivateTabDocument(frame_, 0), firstDocument);
    EXPECT_EQ(ActiveEditor().Text(), "first");
}

TEST_F(DocumentWindow, ClosingAModifiedDocumentAsksAndNoDiscards) {
    HWND document = NewDocument();
    ActiveEditor().CallText(SCI_APPENDTEXT, 5, "draft");
    answers_.push_back(IDNO);
    EXPECT_TRUE(SendMessageA(document, WM_CLOSE, 0, 0));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Save current changes? Untitled 1");
    EXPECT_EQ(messages_[0].title, "Quilletor");
    EXPECT_EQ(messages_[0].style, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_FALSE(IsWindow(document));
    EXPECT_TRUE(saveRequests_.empty());
}

TEST_F(DocumentWindow, ClosingAndAnsweringYesSavesUnderTheChosenName) {
    HWND document = NewDocument();
    ActiveEditor().CallText(SCI_APPENDTEXT, 4, "kept");
    answers_.push_back(IDYES);
    saveNames_.push_back(Path("kept"));
    EXPECT_TRUE(SendMessageA(document, WM_CLOSE, 0, 0));
    EXPECT_FALSE(IsWindow(document));
    EXPECT_EQ(ReadBytes(Path("kept.txt")), "kept");
    EXPECT_TRUE(TabLabels().empty());
}

TEST_F(DocumentWindow, YesThenCancelKeepsTheDocumentAndStopsTheFrameClose) {
    HWND first = NewDocument();
    HWND second = NewDocument();
    Editor(GetDlgItem(first, kIdEditor)).CallText(SCI_APPENDTEXT, 6, "unsafe");
    // The walk reaches `second` (active, unmodified) and then `first`, which asks.
    answers_.push_back(IDYES);
    saveNames_.push_back("");  // the Save As dialog is cancelled
    EXPECT_FALSE(CloseAllDocuments(Client()));
    EXPECT_FALSE(IsWindow(second));
    ASSERT_TRUE(IsWindow(first));
    EXPECT_EQ(Editor(GetDlgItem(first, kIdEditor)).Text(), "unsafe");
    EXPECT_TRUE(Editor(GetDlgItem(first, kIdEditor)).Call(SCI_GETMODIFY));
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"Untitled 1"}));
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0].text, "Save current changes? Untitled 1");
    EXPECT_EQ(messages_[1].text, "nofile is saved");
    EXPECT_EQ(messages_[1].title, "sorry");

    // A later close with No lets the frame go.
    answers_.push_back(IDNO);
    EXPECT_TRUE(CloseAllDocuments(Client()));
    EXPECT_TRUE(Documents().empty());
}

TEST_F(DocumentWindow, ClosingAsksAboutTheDocumentBeingClosedNotTheActiveOne) {
    HWND background = NewDocument();
    Editor(GetDlgItem(background, kIdEditor)).CallText(SCI_APPENDTEXT, 3, "bg!");
    HWND active = NewDocument();
    ASSERT_EQ(ActiveDocument(), active);
    answers_.push_back(IDNO);
    SendMessageA(background, WM_CLOSE, 0, 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Save current changes? Untitled 1");
    EXPECT_FALSE(IsWindow(background));
    EXPECT_TRUE(IsWindow(active));
    EXPECT_EQ(TabLabels(), (std::vector<std::string>{"Untitled 2"}));
}

}  // namespace
}  // namespace quillet::testing_documents
