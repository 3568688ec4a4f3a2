// The document record kept in each document window.
#include "documents/document_record.h"

#include "documents/script_names.h"

namespace quillet {

void AttachDocumentRecord(HWND document, DocumentRecord *record) {
    // The window holds the record as its file part, which every layer may read.
    SetWindowLongPtrA(document, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(static_cast<DocumentFile *>(record)));
}

void ReleaseDocumentRecord(HWND document) {
    delete GetDocumentRecord(document);
    SetWindowLongPtrA(document, GWLP_USERDATA, 0);
}

DocumentRecord *GetDocumentRecord(HWND document) {
    // Every document window's file part is the start of a DocumentRecord.
    return static_cast<DocumentRecord *>(GetDocumentFile(document));
}

std::uint64_t TextDigest(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    for (std::size_t length = bytes.size(), i = 0; i < sizeof length; ++i, length >>= 8)
        hash = (hash ^ (length & 0xFF)) * 1099511628211ull;
    return hash;
}

namespace {

// The editor's text without a copy (the control's own buffer, made contiguous).
std::string_view EditorBytes(const Editor &editor) {
    const auto length = static_cast<std::size_t>(editor.Call(SCI_GETLENGTH));
    const auto *bytes = reinterpret_cast<const char *>(editor.Call(SCI_GETCHARACTERPOINTER));
    return bytes ? std::string_view(bytes, length) : std::string_view();
}

}  // namespace

void NoteFileHoldsText(HWND document) {
    DocumentRecord *record = GetDocumentRecord(document);
    const Editor editor(EditorOfDocument(document));
    if (record && editor.IsOpen()) record->fileDigest = TextDigest(EditorBytes(editor));
}

bool TextDiffersFromFile(HWND document) {
    const DocumentRecord *record = GetDocumentRecord(document);
    const Editor editor(EditorOfDocument(document));
    if (!record || !editor.IsOpen()) return false;
    return !record->fileDigest || *record->fileDigest != TextDigest(EditorBytes(editor));
}

std::string DocumentName(HWND document) {
    const DocumentRecord *record = GetDocumentRecord(document);
    if (!record) return {};
    return record->path.empty() ? UntitledTitle(record->untitledNumber) : record->path;
}

}  // namespace quillet
