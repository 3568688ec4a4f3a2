// The pattern conversion of copied listing lines.
#include "editing/pattern_paste_rules.h"

#include <cstring>
#include <vector>

#include "platform/text.h"

namespace quillet {

namespace {

// Structure marks and punctuation of the listing, read as blanks; a colon (segment
// prefixes, "SS:[EBP+8]") is dropped altogether. Tabs count as blanks too, and so do
// the entry mark "$" and the backward-jump arrow "^", which never belong to the bytes.
constexpr char kSeparators[] = "><|/\\.,-_\t$^";

bool IsHexToken(std::string_view token) {
    if (token.empty()) return false;
    for (const char c : token)
        if (!std::strchr("0123456789abcdefABCDEF", c) || c == '\0') return false;
    return true;
}

bool IsOperandGroup(std::string_view token) { return token.size() % 2 == 0 && IsHexToken(token); }

// The line with separators turned into blanks and colons removed, split at runs of
// blanks into its first four tokens (more are never looked at).
std::vector<std::string_view> FirstTokens(std::string_view line, std::string &storage) {
    storage.clear();
    for (const char c : line) {
        if (c == ':') continue;
        storage += (c != '\0' && std::strchr(kSeparators, c)) ? ' ' : c;
    }
    std::vector<std::string_view> tokens;
    std::string_view rest(storage);
    while (tokens.size() < 4) {
        const auto start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        const auto end = rest.find(' ');
        tokens.push_back(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end);
    }
    return tokens;
}

}  // namespace

std::string PatternOfListingLine(std::string_view line) {
    std::string storage;
    const std::vector<std::string_view> tokens = FirstTokens(line, storage);
    if (tokens.size() < 2) return {};
    std::string share(tokens[1]);
    if (tokens.size() > 2 && IsOperandGroup(tokens[2])) {
        share.append(tokens[2].size(), '?');
        if (tokens.size() > 3 && IsOperandGroup(tokens[3])) share.append(tokens[3].size(), '?');
    }
    return share;
}

std::string PatternFromListing(std::string_view listing) {
    std::string joined;
    while (!listing.empty()) {
        const auto end = listing.find_first_of("\r\n");
        joined += PatternOfListingLine(listing.substr(0, end));
        if (end == std::string_view::npos) break;
        const bool crlf = listing[end] == '\r' && end + 1 < listing.size() && listing[end + 1] == '\n';
        listing.remove_prefix(end + (crlf ? 2 : 1));
    }
    return joined.empty() ? joined : "#" + joined + "#";
}

bool IsBlankListing(std::string_view listing) { return TrimBlanks(listing).empty(); }

}  // namespace quillet
