// The .urf skin file: its in-memory form and the parser that reads it (window-free,
// shared by appface.dll and the native unit tests). skin/FORMAT.md describes the format.
#pragma once

#include <cstddef>
#include <cstdint>

namespace urf {

constexpr std::size_t kMaxFileSize = 64 * 1024;   // larger files are refused unread
constexpr std::size_t kMaxLineLength = 512;       // bytes per line, without the line end
constexpr std::size_t kMaxNameLength = 63;        // [skin] name=

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Colour &o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Colour &o) const { return !(*this == o); }
};

// Everything a skin decides; every colour is required in the file.
struct Skin {
    char name[kMaxNameLength + 1] = {};
    struct {
        Colour background;  // the frame's own client area (gaps between the bars)
        Colour workspace;   // the MDI client behind the documents
        Colour edge;        // the sunken edge around the MDI client
        Colour menubar;     // menu bar background (menu text stays the system colour)
        Colour statusbar;   // status bar background
    } frame;
    struct {
        Colour top, bottom;  // vertical gradient of the tool bar band
        Colour line;         // one-pixel line along the band's bottom
        bool flat = false;   // buttons drawn flat on the band instead of raised grey faces
    } toolbar;
    struct {
        Colour background;    // the strip behind the tabs
        Colour tab;           // an unselected tab
        Colour text;          // an unselected tab's label
        Colour selected;      // the selected tab and the band under the tabs
        Colour selectedText;  // the selected tab's label
        Colour edge;          // tab outlines and the strip's sunken edge
    } tabs;
};

enum class Error {
    None,
    TooLarge,          // file larger than kMaxFileSize
    Signature,         // first line is not "URF 1"
    BadByte,           // NUL or another control character (binary data)
    LineTooLong,       // a line longer than kMaxLineLength
    Syntax,            // a line that is neither comment, [section] nor key=value
    KeyOutsideSection, // key=value before the first [section]
    DuplicateSection,
    DuplicateKey,
    BadColour,         // not #RRGGBB
    BadValue,          // a malformed boolean, or an empty or too long name
    MissingSection,
    MissingKey,
};

struct Result {
    Error error = Error::None;
    unsigned line = 0;  // 1-based line of the fault; 0 when it concerns the whole file
    Skin skin;          // complete only when error == Error::None
    bool ok() const { return error == Error::None; }
};

// Parses `size` bytes (need not be zero-terminated). Never reads past data + size.
Result Parse(const char *data, std::size_t size);

// "#RRGGBB", exactly six hex digits in either case.
bool ParseColour(const char *text, std::size_t length, Colour *out);

// A short English description of an error, for diagnostics.
const char *ErrorText(Error error);

}  // namespace urf
