// Window-free rules about script documents (titles, labels, names, help word, errors).
#include "documents/script_names.h"

#include "core/texts.h"
#include "platform/text.h"

namespace quillet {

std::string UntitledTitle(int counter) {
    return std::string(text::kUntitled) + " " + std::to_string(counter);
}

std::string_view TrimmedFileName(std::string_view title) {
    return TrimBlanks(FileNamePart(TrimBlanks(title)));
}

std::string TabLabelForPath(std::string_view path) { return std::string(TrimmedFileName(path)); }

bool HasOpenableExtension(std::string_view path) {
    // The chosen name lives in a 260-byte buffer: a longer path has no extension.
    if (path.size() > 260) return false;
    const std::string_view name = FileNamePart(path);
    const auto dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot + 1);
    return extension == "txt" || extension == "osc";
}

std::string SavePathFor(std::string_view path) {
    const std::string upper = ToUpperAscii(path);
    std::string result(path);
    if (upper.find(".TXT") == std::string::npos && upper.find(".OSC") == std::string::npos) result += ".txt";
    return result;
}

std::string HelpWordFromRange(std::string_view range) {
    // The rule is the expression "[\x20]*[a-z0-9]+" (case-free), trimmed: in effect
    // the first run of ASCII letters and digits.
    const std::string_view trimmed = TrimBlanks(range);
    auto isWordChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    std::size_t begin = 0;
    while (begin < trimmed.size() && !isWordChar(trimmed[begin])) ++begin;
    std::size_t end = begin;
    while (end < trimmed.size() && isWordChar(trimmed[end])) ++end;
    return std::string(trimmed.substr(begin, end - begin));
}

namespace {

struct CodeText {
    int code;
    const char *text;
};
constexpr CodeText kFileErrors[] = {
    {52, "Bad file name or number"}, {53, "File not found"},    {54, "Bad file mode"},
    {55, "File is open"},            {57, "Device I/O error"},  {58, "File already exists"},
    {61, "Disk full"},               {62, "Input past end"},    {64, "Bad file name"},
    {67, "Too many files"},          {68, "Device unavailable"}, {70, "Permission denied"},
    {71, "Disk not ready"},          {72, "Disk media error"},  {75, "Path/file access error"},
    {76, "Path not found"},
};

// System error numbers (winerror.h), kept here so this file stays window-free.
struct SystemToCode {
    unsigned long systemError;
    int code;
};
constexpr SystemToCode kSystemErrors[] = {
    {2, 53},    // ERROR_FILE_NOT_FOUND
    {3, 76},    // ERROR_PATH_NOT_FOUND
    {4, 67},    // ERROR_TOO_MANY_OPEN_FILES
    {5, 70},    // ERROR_ACCESS_DENIED
    {6, 52},    // ERROR_INVALID_HANDLE
    {12, 54},   // ERROR_INVALID_ACCESS
    {15, 68},   // ERROR_INVALID_DRIVE
    {19, 70},   // ERROR_WRITE_PROTECT
    {20, 68},   // ERROR_BAD_UNIT
    {21, 71},   // ERROR_NOT_READY
    {23, 72},   // ERROR_CRC
    {25, 72},   // ERROR_SEEK
    {27, 72},   // ERROR_SECTOR_NOT_FOUND
    {29, 57},   // ERROR_WRITE_FAULT
    {30, 57},   // ERROR_READ_FAULT
    {31, 57},   // ERROR_GEN_FAILURE
    {32, 70},   // ERROR_SHARING_VIOLATION: the file is held open by another program
    {33, 70},   // ERROR_LOCK_VIOLATION
    {38, 62},   // ERROR_HANDLE_EOF
    {39, 61},   // ERROR_HANDLE_DISK_FULL
    {53, 76},   // ERROR_BAD_NETPATH
    {55, 68},   // ERROR_DEV_NOT_EXIST
    {67, 76},   // ERROR_BAD_NET_NAME
    {80, 58},   // ERROR_FILE_EXISTS
    {112, 61},  // ERROR_DISK_FULL
    {123, 64},  // ERROR_INVALID_NAME
    {161, 76},  // ERROR_BAD_PATHNAME
    {183, 58},  // ERROR_ALREADY_EXISTS
    {206, 64},  // ERROR_FILENAME_EXCED_RANGE
    {267, 76},  // ERROR_DIRECTORY
    {1392, 72}, // ERROR_FILE_CORRUPT
};

}  // namespace

const char *FileErrorText(int code) {
    for (const CodeText &entry : kFileErrors)
        if (entry.code == code) return entry.text;
    return "Path/file access error";
}

FileError FileErrorFromSystem(unsigned long systemError) {
    int code = 75;  // anything else: a path or file access error
    for (const SystemToCode &entry : kSystemErrors)
        if (entry.systemError == systemError) code = entry.code;
    return {code, FileErrorText(code)};
}

std::string FileErrorMessage(const char *head, int code, const char *tail) {
    std::string message(head);
    message += "\r\n";
    message += text::kErrorLabel;
    message += FormatProfileNumber(code, true);
    message += ", ";
    message += FileErrorText(code);
    message += "\r\n\r\n";
    message += tail;
    return message;
}

}  // namespace quillet
