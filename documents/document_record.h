// What a document window keeps about itself: its record, the document's identity.
// Title, tab label, saving, the close question, encodings and the recent files read it
// from here; features below documents/ read its file part (platform/active_document.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/encodings.h"
#include "platform/active_document.h"

namespace quillet {

// Kept in the document window from WM_CREATE to WM_NCDESTROY. Untitled means an empty
// path; then the number names it ("Untitled N").
struct DocumentRecord : DocumentFile {
    int untitledNumber = 0;  // N of "Untitled N"; 0 for a script with a file
    HWND editor = nullptr;   // its editing control (id 1029)
    // What its file held when last read or written (TextDigest), whatever the editor's
    // modified flag says since; none while untitled.
    std::optional<std::uint64_t> fileDigest;
};

// A digest of a text for telling whether a document still holds what its file holds:
// FNV-1a over the bytes and the length.
std::uint64_t TextDigest(std::string_view bytes);
// Notes that the document's file now holds the editor's current text.
void NoteFileHoldsText(HWND document);
// True when the document's text is not what its file held at the last read or write.
bool TextDiffersFromFile(HWND document);

// Gives a new document window its record (the window owns it until
// ReleaseDocumentRecord).
void AttachDocumentRecord(HWND document, DocumentRecord *record);
// Takes the record from a window being destroyed and deletes it.
void ReleaseDocumentRecord(HWND document);
// The record of a document window, or null for any other window.
DocumentRecord *GetDocumentRecord(HWND document);
// The document's file, or "Untitled N" for an untitled one: the name shown to the user.
std::string DocumentName(HWND document);

}  // namespace quillet
