// Recoding between the system's code page and an editor's bytes (see editor_text.h).
#include "platform/editor_text.h"

namespace quillet {

namespace {

std::wstring Widen(std::string_view bytes, UINT codePage) {
    if (bytes.empty() || bytes.size() > 0x7FFFFFF) return {};
    const int size = static_cast<int>(bytes.size());
    const int wideLength = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, &wide[0], wideLength);
    return wide;
}

// Bytes of code page `from` as bytes of code page `to`, through UTF-16.
std::string Recode(std::string_view bytes, UINT from, UINT to) {
    if (bytes.empty() || from == to) return std::string(bytes);
    const std::wstring wide = Widen(bytes, from);
    const int wideLength = static_cast<int>(wide.size());
    if (wideLength == 0) return std::string(bytes);
    const int length = WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string(bytes);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, &result[0], length, nullptr, nullptr);
    return result;
}

UINT CodePageOfCharacterSet(int characterSet) {
    switch (characterSet) {
    case ANSI_CHARSET: return 1252;
    case EASTEUROPE_CHARSET: return 1250;
    case RUSSIAN_CHARSET: return 1251;
    case GREEK_CHARSET: return 1253;
    case TURKISH_CHARSET: return 1254;
    case HEBREW_CHARSET: return 1255;
    case ARABIC_CHARSET: return 1256;
    case BALTIC_CHARSET: return 1257;
    case VIETNAMESE_CHARSET: return 1258;
    case THAI_CHARSET: return 874;
    case SHIFTJIS_CHARSET: return 932;
    case GB2312_CHARSET: return 936;
    case HANGUL_CHARSET: return 949;
    case CHINESEBIG5_CHARSET: return 950;
    case JOHAB_CHARSET: return 1361;
    default: return 0;
    }
}

}  // namespace

UINT TextCodePageOf(const Editor &editor) {
    if (!editor.IsOpen()) return CP_ACP;
    const auto codePage = static_cast<UINT>(editor.Call(SCI_GETCODEPAGE));
    if (codePage == CP_UTF8) return CP_UTF8;
    UINT textCodePage = CodePageOfCharacterSet(static_cast<int>(editor.Call(SCI_STYLEGETCHARACTERSET, STYLE_DEFAULT)));
    if (textCodePage == 0) textCodePage = codePage;
    return textCodePage == 0 || textCodePage == GetACP() ? CP_ACP : textCodePage;
}

std::string SystemTextAsEditorBytes(const Editor &editor, std::string_view text) {
    return Recode(text, CP_ACP, TextCodePageOf(editor));
}

std::wstring EditorBytesAsWideText(const Editor &editor, std::string_view bytes) {
    return Widen(bytes, TextCodePageOf(editor));
}

bool WideTextAsEditorBytes(const Editor &editor, std::wstring_view text, std::string *bytes) {
    if (text.empty()) {
        bytes->clear();
        return true;
    }
    if (text.size() > 0x7FFFFFF) return false;
    const UINT codePage = TextCodePageOf(editor);
    const int wideLength = static_cast<int>(text.size());
    // UTF-8 holds every character, but not a lone half of a surrogate pair; other code
    // pages report a character they lack through the default-character flag.
    const DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL *lacking = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(codePage, flags, text.data(), wideLength, nullptr, 0, nullptr, lacking);
    if (length <= 0 || usedDefault) return false;
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), wideLength, &result[0], length, nullptr, nullptr);
    *bytes = std::move(result);
    return true;
}

}  // namespace quillet
