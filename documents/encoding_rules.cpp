// Encoding recognition and the encoding table (see encoding_rules.h).
#include "documents/encoding_rules.h"

#include <uchardet.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "core/texts.h"

namespace quillet {

namespace {

// Windows character sets (wingdi.h), named here so this file needs no windows.h.
constexpr int kDefaultCharset = 1, kAnsiCharset = 0, kShiftJisCharset = 128, kHangulCharset = 129,
              kJohabCharset = 130, kGb2312Charset = 134, kBig5Charset = 136, kGreekCharset = 161,
              kTurkishCharset = 162, kVietnameseCharset = 163, kHebrewCharset = 177, kArabicCharset = 178,
              kBalticCharset = 186, kRussianCharset = 204, kThaiCharset = 222, kEastEuropeCharset = 238;

// In the order of EncodingId. Double-byte encodings also set their character set: the
// editor draws their bytes through the font, which must know the code page too.
constexpr std::array<EncodingLook, kEncodingCount> kLooks{{
    {0, kDefaultCharset, text::kEncodingAnsi},
    {65001, kDefaultCharset, text::kEncodingUtf8},
    {65001, kDefaultCharset, text::kEncodingUtf8Bom},
    {936, kGb2312Charset, text::kEncodingGbk},
    {950, kBig5Charset, text::kEncodingBig5},
    {932, kShiftJisCharset, text::kEncodingShiftJis},
    {949, kHangulCharset, text::kEncodingEucKr},
    {1361, kJohabCharset, text::kEncodingJohab},
    {0, kEastEuropeCharset, text::kEncodingWindows1250},
    {0, kRussianCharset, text::kEncodingWindows1251},
    {0, kAnsiCharset, text::kEncodingWindows1252},
    {0, kGreekCharset, text::kEncodingWindows1253},
    {0, kTurkishCharset, text::kEncodingWindows1254},
    {0, kHebrewCharset, text::kEncodingWindows1255},
    {0, kArabicCharset, text::kEncodingWindows1256},
    {0, kBalticCharset, text::kEncodingWindows1257},
    {0, kVietnameseCharset, text::kEncodingWindows1258},
    {0, kThaiCharset, text::kEncodingWindows874},
}};

// The detector's names for what the editor can show byte for byte. ISO-8859-1 is the
// printable part of Windows-1252; the other ISO sets differ from their Windows
// neighbours in letters, and KOI8-R, IBM866, EUC-JP, EUC-TW and the like have no
// Windows character set at all: those are left to the language setting.
struct DetectorName {
    const char *name;
    EncodingId id;
};
constexpr DetectorName kDetectorNames[] = {
    {"GB18030", EncodingId::kGbk},        {"GB2312", EncodingId::kGbk},
    {"GBK", EncodingId::kGbk},            {"BIG5", EncodingId::kBig5},
    {"SHIFT_JIS", EncodingId::kShiftJis}, {"EUC-KR", EncodingId::kEucKr},
    {"UHC", EncodingId::kEucKr},          {"JOHAB", EncodingId::kJohab},
    {"WINDOWS-1250", EncodingId::kWindows1250}, {"WINDOWS-1251", EncodingId::kWindows1251},
    {"WINDOWS-1252", EncodingId::kWindows1252}, {"ISO-8859-1", EncodingId::kWindows1252},
    {"WINDOWS-1253", EncodingId::kWindows1253}, {"WINDOWS-1254", EncodingId::kWindows1254},
    {"WINDOWS-1255", EncodingId::kWindows1255}, {"WINDOWS-1256", EncodingId::kWindows1256},
    {"WINDOWS-1257", EncodingId::kWindows1257}, {"WINDOWS-1258", EncodingId::kWindows1258},
    {"WINDOWS-874", EncodingId::kWindows874},   {"TIS-620", EncodingId::kWindows874},
};

// The detector reads only the lines holding bytes above 127 (comments, strings), at most
// this much of them: enough to tell any script's language, and it keeps recognising a
// 5 MB file quick.
constexpr std::size_t kDetectorSample = 16 * 1024;

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

// Length of a UTF-8 sequence from its lead byte and the range its second byte must be
// in (which rules out overlong forms, surrogates and code points past U+10FFFF); 0 for
// a byte that cannot lead.
struct Lead {
    int length;
    unsigned char low, high;
};
Lead LeadOf(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
    if (byte == 0xE0) return {3, 0xA0, 0xBF};
    if (byte == 0xED) return {3, 0x80, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
    if (byte == 0xF0) return {4, 0x90, 0xBF};
    if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
    if (byte == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

enum class Utf8Verdict { kAscii, kUtf8, kOther };

// Walks the bytes once: plain ASCII, valid UTF-8 with a multi-byte sequence (the last
// sequence may be cut short by the end), or anything else.
Utf8Verdict JudgeUtf8(std::string_view bytes) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const std::size_t n = bytes.size();
    bool multiByte = false, high = false;
    std::size_t i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        high = true;
        const Lead lead = LeadOf(p[i]);
        if (lead.length == 0) return Utf8Verdict::kOther;
        std::size_t k = 1;
        for (; k < static_cast<std::size_t>(lead.length) && i + k < n; ++k) {
            const unsigned char low = k == 1 ? lead.low : 0x80, high = k == 1 ? lead.high : 0xBF;
            if (p[i + k] < low || p[i + k] > high) return Utf8Verdict::kOther;
        }
        if (k == static_cast<std::size_t>(lead.length)) multiByte = true;
        i += k;
    }
    if (multiByte) return Utf8Verdict::kUtf8;
    // Only a cut sequence at the end and no whole one: not enough to call it UTF-8.
    return high ? Utf8Verdict::kOther : Utf8Verdict::kAscii;
}

bool IsHigh(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// The detector's verdict on the lines that hold bytes above 127.
std::optional<EncodingId> Detect(std::string_view bytes) {
    std::string sample;
    for (auto high = std::find_if(bytes.begin(), bytes.end(), IsHigh);
         high != bytes.end() && sample.size() < kDetectorSample;) {
        const auto at = static_cast<std::size_t>(high - bytes.begin());
        const std::size_t before = bytes.find_last_of('\n', at);
        const std::size_t start = before == std::string_view::npos ? 0 : before + 1;
        const std::size_t after = bytes.find('\n', at);
        const std::size_t end = after == std::string_view::npos ? bytes.size() : after + 1;
        sample.append(bytes.substr(start, std::min(end - start, kDetectorSample)));
        high = std::find_if(bytes.begin() + static_cast<std::ptrdiff_t>(end), bytes.end(), IsHigh);
    }
    const std::unique_ptr<uchardet, void (*)(uchardet_t)> detector(uchardet_new(), uchardet_delete);
    if (!detector) return std::nullopt;
    if (uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) return std::nullopt;
    uchardet_data_end(detector.get());
    const char *name = uchardet_get_charset(detector.get());
    return EncodingForDetectorName(name ? name : "");
}

}  // namespace

const EncodingLook &LookOf(EncodingId id) {
    const auto index = static_cast<std::size_t>(id);
    return kLooks[index < kLooks.size() ? index : 0];
}

std::optional<EncodingId> EncodingNamed(std::string_view name) {
    for (std::size_t i = 0; i < kLooks.size(); ++i)
        if (EqualNoCase(kLooks[i].name, name)) return static_cast<EncodingId>(i);
    return std::nullopt;
}

EncodingId EncodingForCodePage(int codePage) {
    switch (codePage) {
    case 65001: return EncodingId::kUtf8;
    case 936: return EncodingId::kGbk;
    case 950: return EncodingId::kBig5;
    case 932: return EncodingId::kShiftJis;
    case 949: return EncodingId::kEucKr;
    case 1361: return EncodingId::kJohab;
    default: return EncodingId::kAnsi;
    }
}

std::optional<EncodingId> EncodingForDetectorName(std::string_view name) {
    for (const DetectorName &known : kDetectorNames)
        if (EqualNoCase(known.name, name)) return known.id;
    return std::nullopt;
}

std::optional<EncodingId> RecogniseEncoding(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return EncodingId::kUtf8Bom;
    switch (JudgeUtf8(bytes)) {
    case Utf8Verdict::kAscii: return std::nullopt;
    case Utf8Verdict::kUtf8: return EncodingId::kUtf8;
    case Utf8Verdict::kOther: break;
    }
    return Detect(bytes);
}

EncodingId ReopenedEncoding(EncodingId chosen, std::string_view bytes) {
    if (chosen != EncodingId::kUtf8 && chosen != EncodingId::kUtf8Bom) return chosen;
    return bytes.substr(0, 3) == "\xEF\xBB\xBF" ? EncodingId::kUtf8Bom : EncodingId::kUtf8;
}

std::optional<EncodingId> RememberedEncoding(const EncodingChoices &choices, std::string_view path) {
    for (const EncodingChoice &choice : choices)
        if (EqualNoCase(choice.file, path)) return EncodingNamed(choice.name);
    return std::nullopt;
}

EncodingChoices ChoicesAfterChoosing(const EncodingChoices &choices, std::string_view path, EncodingId id) {
    EncodingChoices result{{std::string(path), LookOf(id).name}};
    for (const EncodingChoice &choice : choices) {
        if (result.size() == kMaxEncodingChoices) break;
        if (!EqualNoCase(choice.file, path) && !choice.file.empty()) result.push_back(choice);
    }
    return result;
}

}  // namespace quillet
