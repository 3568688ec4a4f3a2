// Window-free rules of the typing aids: the completion list text and how variables
// join it, the word-character sets, the token styles that stop the aids, and the
// decisions taken for a typed character (indentation, may the list open).
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Word-character sets (SCI_SETWORDCHARS). Each aid sets its own before it asks the
// editor for word positions.
inline constexpr char kCompletionWordChars[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789$#?_";
inline constexpr char kScanWordChars[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789*$#/?_.";
inline constexpr char kRestoreWordChars[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789*$#/?_";
inline constexpr char kTipWordChars[] =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789*$#?_";

// Comment, number, string, opcode, block comment and label: no completion, no call tip
// and no further variables on a scanned line.
bool IsStopStyle(int style);

// Characters after which the end of the styled text is remembered (blank, ",", LF,
// "/", ";", CR), and the wider set that triggers the typed-variable pick-up (those
// and "*", "+", "-").
bool IsStyledEndSeparator(int ch);
bool IsPickUpSeparator(int ch);

// The indentation a typed character asks for on its line.
enum class IndentChange {
    kNone,
    kLabel,  // column 0; the line counts as a label line from now on
    kBody,   // column 8
};
IndentChange IndentForTypedChar(int ch, bool autoIndentOn, bool labelLine);
inline constexpr int kBodyIndentColumns = 8;

// A typed "#" past this column does not open the list.
inline constexpr int kHashCompletionMaxColumn = 9;

// The text the completion list shows: the extended list when it is not blank, else
// the base list, without leading and trailing blanks.
std::string_view CompletionListText(std::string_view added, std::string_view base);

// Items joined by single spaces, sorted ascending ignoring case (letters compared as
// upper case, equal items keep their order), leading and trailing blanks removed.
std::string SortedItems(std::string_view spaceSeparated);

// True when an item of the list (split at single spaces) starts with `prefix`,
// ignoring case: the control's list, which hides itself when nothing matches, would
// stay open.
bool ListHasItemStartingWith(std::string_view list, std::string_view prefix);

// True when one of the list's items (split at single spaces) equals the name,
// ignoring case.
bool ListHasItem(std::string_view list, std::string_view name);

// The list after adding a typed variable: empty when the name is already an item
// (ignoring case), else the list with the name appended and sorted again.
std::string ListWithVariable(std::string_view current, std::string_view name);

// The extended list after a scan: the base list plus the scanned names, sorted.
// Empty when the names are blank (the list stays as it is).
std::string ListWithScannedVariables(std::string_view base, std::string_view names);

}  // namespace quillet
