// Parser of the .urf skin file (see skin/FORMAT.md). Window-free: compiled into
// appface.dll and into quillet_portable for the native tests.
#include "urf_format.h"

#include <cstring>

namespace urf {
namespace {

enum class ValueKind { Colour, Bool, Name };

// One known key: where it lives, what it holds and where it goes in the Skin.
struct KeyRule {
    const char *section;
    const char *key;
    ValueKind kind;
    bool required;
    void *(*field)(Skin &);
};

#define URF_FIELD(expr) [](Skin &s) -> void * { return &(s.expr); }
const KeyRule kKeys[] = {
    {"skin", "name", ValueKind::Name, true, URF_FIELD(name)},
    {"frame", "background", ValueKind::Colour, true, URF_FIELD(frame.background)},
    {"frame", "workspace", ValueKind::Colour, true, URF_FIELD(frame.workspace)},
    {"frame", "edge", ValueKind::Colour, true, URF_FIELD(frame.edge)},
    {"frame", "menubar", ValueKind::Colour, true, URF_FIELD(frame.menubar)},
    {"frame", "statusbar", ValueKind::Colour, true, URF_FIELD(frame.statusbar)},
    {"toolbar", "top", ValueKind::Colour, true, URF_FIELD(toolbar.top)},
    {"toolbar", "bottom", ValueKind::Colour, true, URF_FIELD(toolbar.bottom)},
    {"toolbar", "line", ValueKind::Colour, true, URF_FIELD(toolbar.line)},
    {"toolbar", "flat", ValueKind::Bool, false, URF_FIELD(toolbar.flat)},
    {"tabs", "background", ValueKind::Colour, true, URF_FIELD(tabs.background)},
    {"tabs", "tab", ValueKind::Colour, true, URF_FIELD(tabs.tab)},
    {"tabs", "text", ValueKind::Colour, true, URF_FIELD(tabs.text)},
    {"tabs", "selected", ValueKind::Colour, true, URF_FIELD(tabs.selected)},
    {"tabs", "selectedtext", ValueKind::Colour, true, URF_FIELD(tabs.selectedText)},
    {"tabs", "edge", ValueKind::Colour, true, URF_FIELD(tabs.edge)},
};
#undef URF_FIELD
constexpr int kKeyCount = sizeof kKeys / sizeof kKeys[0];

const char *const kSections[] = {"skin", "frame", "toolbar", "tabs"};
constexpr int kSectionCount = sizeof kSections / sizeof kSections[0];
constexpr int kUnknownSection = -1;

const char kSignature[] = "URF 1";

// A piece of the input: never zero-terminated, never read past its length.
struct Span {
    const char *p;
    std::size_t n;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

Span Trim(Span s) {
    while (s.n > 0 && IsBlank(s.p[0])) { ++s.p; --s.n; }
    while (s.n > 0 && IsBlank(s.p[s.n - 1])) --s.n;
    return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(Span s, const char *word) {
    std::size_t len = std::strlen(word);
    if (s.n != len) return false;
    for (std::size_t i = 0; i < len; ++i)
        if (LowerAscii(s.p[i]) != word[i]) return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Control characters other than tab, CR and LF mean binary data, not a skin.
bool IsForbiddenByte(unsigned char c) { return c == 0x7f || (c < 0x20 && c != '\t' && c != '\r' && c != '\n'); }

bool ParseBool(Span s, bool *out) {
    if (EqualsNoCase(s, "yes") || EqualsNoCase(s, "true") || EqualsNoCase(s, "1")) { *out = true; return true; }
    if (EqualsNoCase(s, "no") || EqualsNoCase(s, "false") || EqualsNoCase(s, "0")) { *out = false; return true; }
    return false;
}

class Parser {
public:
    Parser(const char *data, std::size_t size) : data_(data), size_(size) {}

    Result Run() {
        if (size_ > kMaxFileSize) return Fail(Error::TooLarge, 0);
        std::size_t pos = 0;
        // A UTF-8 byte order mark, as some editors write, is allowed before the signature.
        if (size_ >= 3 && std::memcmp(data_, "\xEF\xBB\xBF", 3) == 0) pos = 3;
        unsigned lineNo = 0;
        while (pos < size_ || lineNo == 0) {
            ++lineNo;
            std::size_t end = pos;
            while (end < size_ && data_[end] != '\n') ++end;
            Span line{data_ + pos, end - pos};
            pos = end < size_ ? end + 1 : end;
            if (line.n > 0 && line.p[line.n - 1] == '\r') --line.n;
            if (line.n > kMaxLineLength) return Fail(Error::LineTooLong, lineNo);
            for (std::size_t i = 0; i < line.n; ++i)
                if (IsForbiddenByte(static_cast<unsigned char>(line.p[i]))) return Fail(Error::BadByte, lineNo);
            if (lineNo == 1) {
                Span sig = Trim(line);
                if (sig.n != sizeof kSignature - 1 || std::memcmp(sig.p, kSignature, sig.n) != 0)
                    return Fail(Error::Signature, 1);
                continue;
            }
            Error e = Line(Trim(line));
            if (e != Error::None) return Fail(e, lineNo);
        }
        for (int s = 0; s < kSectionCount; ++s)
            if (!(sectionsSeen_ & (1u << s))) return Fail(Error::MissingSection, 0);
        for (int k = 0; k < kKeyCount; ++k)
            if (kKeys[k].required && !(keysSeen_ & (1u << k))) return Fail(Error::MissingKey, 0);
        result_.error = Error::None;
        result_.line = 0;
        return result_;
    }

private:
    Result Fail(Error e, unsigned line) {
        Result r;
        r.error = e;
        r.line = line;
        return r;
    }

    Error Line(Span line) {
        if (line.n == 0 || line.p[0] == ';' || line.p[0] == '#') return Error::None;
        if (line.p[0] == '[') {
            if (line.p[line.n - 1] != ']' || line.n < 3) return Error::Syntax;
            Span name = Trim(Span{line.p + 1, line.n - 2});
            section_ = kUnknownSection;
            inSection_ = true;
            for (int s = 0; s < kSectionCount; ++s) {
                if (!EqualsNoCase(name, kSections[s])) continue;
                if (sectionsSeen_ & (1u << s)) return Error::DuplicateSection;
                sectionsSeen_ |= 1u << s;
                section_ = s;
            }
            return Error::None;
        }
        const char *eq = static_cast<const char *>(std::memchr(line.p, '=', line.n));
        if (!eq) return Error::Syntax;
        Span key = Trim(Span{line.p, static_cast<std::size_t>(eq - line.p)});
        Span value = Trim(Span{eq + 1, line.n - static_cast<std::size_t>(eq - line.p) - 1});
        if (key.n == 0) return Error::Syntax;
        if (!inSection_) return Error::KeyOutsideSection;
        if (section_ == kUnknownSection) return Error::None;  // sections of later versions
        for (int k = 0; k < kKeyCount; ++k) {
            if (std::strcmp(kKeys[k].section, kSections[section_]) != 0 || !EqualsNoCase(key, kKeys[k].key)) continue;
            if (keysSeen_ & (1u << k)) return Error::DuplicateKey;
            keysSeen_ |= 1u << k;
            return Store(kKeys[k], value);
        }
        return Error::None;  // keys of later versions are ignored
    }

    Error Store(const KeyRule &rule, Span value) {
        void *field = rule.field(result_.skin);
        switch (rule.kind) {
        case ValueKind::Colour:
            return ParseColour(value.p, value.n, static_cast<Colour *>(field)) ? Error::None : Error::BadColour;
        case ValueKind::Bool:
            return ParseBool(value, static_cast<bool *>(field)) ? Error::None : Error::BadValue;
        case ValueKind::Name: {
            if (value.n == 0 || value.n > kMaxNameLength) return Error::BadValue;
            char *name = static_cast<char *>(field);
            std::memcpy(name, value.p, value.n);
            name[value.n] = '\0';
            return Error::None;
        }
        }
        return Error::BadValue;
    }

    const char *data_;
    std::size_t size_;
    Result result_;
    int section_ = kUnknownSection;
    bool inSection_ = false;
    unsigned sectionsSeen_ = 0;
    unsigned keysSeen_ = 0;
};

static_assert(kKeyCount <= 32 && kSectionCount <= 32, "seen-sets are 32-bit masks");

}  // namespace

bool ParseColour(const char *text, std::size_t length, Colour *out) {
    if (!text || length != 7 || text[0] != '#') return false;
    int d[6];
    for (int i = 0; i < 6; ++i) {
        d[i] = HexDigit(text[i + 1]);
        if (d[i] < 0) return false;
    }
    out->r = static_cast<std::uint8_t>(d[0] * 16 + d[1]);
    out->g = static_cast<std::uint8_t>(d[2] * 16 + d[3]);
    out->b = static_cast<std::uint8_t>(d[4] * 16 + d[5]);
    return true;
}

Result Parse(const char *data, std::size_t size) {
    if (!data) size = 0;
    return Parser(data ? data : "", size).Run();
}

const char *ErrorText(Error error) {
    switch (error) {
    case Error::None: return "no error";
    case Error::TooLarge: return "file too large";
    case Error::Signature: return "first line is not \"URF 1\"";
    case Error::BadByte: return "control character or binary data";
    case Error::LineTooLong: return "line too long";
    case Error::Syntax: return "line is not a comment, [section] or key=value";
    case Error::KeyOutsideSection: return "key before the first section";
    case Error::DuplicateSection: return "section given twice";
    case Error::DuplicateKey: return "key given twice";
    case Error::BadColour: return "colour is not #RRGGBB";
    case Error::BadValue: return "bad value";
    case Error::MissingSection: return "required section missing";
    case Error::MissingKey: return "required key missing";
    }
    return "unknown error";
}

}  // namespace urf
