// Opening a 5 MB script with and without encoding recognition, in a real Scintilla
// control under Wine (or Windows), in the same run: the file's bytes streamed into the
// control in blocks as the program's open does, then (with recognition) the bytes
// judged in place and the encoding given to the control. Three texts of the same size:
// the corpus scripts one after the other (mixed encodings: the detector decides), the
// same made plain ASCII (the whole text is walked), and that ASCII text with one
// UTF-8 character at its very end. Prints the medians, their difference, and the
// recognition step timed on its own (what it adds, without the noise of two opens).
//
// Usage: encoding_bench.exe [rounds] [corpus folder]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/corpus_script.h"
#include "documents/document_parts.h"
#include "documents/encoding_rules.h"
#include "platform/editor.h"

namespace {

using quillet::Editor;

constexpr std::size_t kTextSize = 5 * 1024 * 1024;
constexpr std::size_t kBlock = 128 * 1024;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The program's open: an empty control, room for the whole text, the bytes in blocks.
void Load(const Editor &editor, const std::string &bytes) {
    editor.Call(SCI_CLEARALL);
    editor.Call(SCI_SETUNDOCOLLECTION, 0);
    editor.Call(SCI_ALLOCATE, bytes.size() + kBlock);
    for (std::size_t at = 0; at < bytes.size(); at += kBlock) {
        const std::size_t size = std::min(kBlock, bytes.size() - at);
        editor.Call(SCI_APPENDTEXT, size, reinterpret_cast<sptr_t>(bytes.data() + at));
    }
    editor.Call(SCI_EMPTYUNDOBUFFER);
    editor.Call(SCI_SETUNDOCOLLECTION, 1);
}

// Recognition as the open does it: the bytes judged where the control keeps them.
const char *Recognise(const Editor &editor) {
    const auto *bytes = reinterpret_cast<const char *>(editor.Call(SCI_GETCHARACTERPOINTER));
    const auto length = static_cast<std::size_t>(editor.Call(SCI_GETLENGTH));
    const auto id = quillet::RecogniseEncoding(std::string_view(bytes, length));
    const quillet::EncodingId shown = id ? *id : quillet::EncodingId::kAnsi;
    quillet::ApplyEncodingLook(editor, shown);
    return quillet::LookOf(shown).name;
}

}  // namespace

int main(int argc, char **argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string corpus = argc > 2 ? argv[2] : QUILLET_CORPUS_DIR;
    std::string mixed = quillet::bench::CorpusScript(corpus, 1000000);
    while (!mixed.empty() && mixed.size() < kTextSize) mixed += mixed;
    mixed.resize(kTextSize);
    std::string ascii = mixed;
    for (char &c : ascii)
        if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    std::string utf8Last = ascii;
    utf8Last.replace(utf8Last.size() - 2, 2, "\xD0\x9F");

    HWND frame = CreateWindowExA(0, "STATIC", "encoding", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    quillet::LoadEditingComponent();
    HWND control = CreateWindowExA(0, "Scintilla", "", WS_CHILD | WS_VISIBLE, 0, 0, 880, 660, frame, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    const Editor editor(control);
    if (!editor.IsOpen()) {
        std::fprintf(stderr, "no Scintilla control\n");
        return 1;
    }
    struct Text {
        const char *name;
        const std::string &bytes;
    };
    const Text texts[] = {{"corpus mix", mixed}, {"ASCII", ascii}, {"UTF-8 at the end", utf8Last}};
    std::printf("%d rounds, texts of %.2f MB; medians in ms\n", rounds, kTextSize / 1048576.0);
    for (const Text &text : texts) {
        std::vector<double> plain, recognised, alone;
        const char *name = "";
        for (int round = 0; round < rounds; ++round) {
            LARGE_INTEGER a{}, b{}, c{}, d{}, e{};
            quillet::ApplyEncodingLook(editor, quillet::EncodingId::kAnsi);
            QueryPerformanceCounter(&a);
            Load(editor, text.bytes);
            QueryPerformanceCounter(&b);
            plain.push_back(Milliseconds(a, b));
            QueryPerformanceCounter(&c);
            Load(editor, text.bytes);
            QueryPerformanceCounter(&d);
            name = Recognise(editor);
            QueryPerformanceCounter(&e);
            recognised.push_back(Milliseconds(c, e));
            alone.push_back(Milliseconds(d, e));
        }
        // The difference of the two opens carries their noise; the recognition step
        // timed on its own inside the second open is what the open adds.
        std::printf("%-18s open %8.2f  open with recognition %8.2f  (difference %6.2f)  recognition itself %6.2f  (%s)\n",
                    text.name, Median(plain), Median(recognised), Median(recognised) - Median(plain), Median(alone),
                    name);
    }
    DestroyWindow(frame);
    return 0;
}
