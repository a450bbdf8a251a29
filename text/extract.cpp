#include "text/extract.h"

#include <string>
#include <string_view>

#include "text/text_ops.h"

namespace smsdock {
namespace {

// A copy of text with the ASCII capitals A..Z lowered, byte by byte.
std::string FoldedCopy(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// A marker with every quote marker turned into the double quote it stands for.
Text ResolveQuotes(const Text& marker) {
    return ReplaceText(marker, kQuoteMarker, "\"", 1, -1, true);
}

}  // namespace

Text TextBetween(const Text& text, const Text& left, const Text& right, int start,
                 bool ignoreCase) {
    const Text leftMarker = ResolveQuotes(left);
    const Text rightMarker = ResolveQuotes(right);
    // PositionOf treats start 0 like 1, so both search from the beginning.
    int p = PositionOf(text, leftMarker, start, ignoreCase);
    if (p == -1) return Text();
    p += leftMarker.size();
    const int q = PositionOf(text, rightMarker, p, ignoreCase);
    if (q == -1) return Text();
    // An empty right marker "matches" at 1, before p: TextMid then gives the empty text.
    return TextMid(text, p, q - p);
}

Text TextLeftOf(const Text& text, const Text& marker, int start, bool ignoreCase) {
    const int p = PositionOf(text, marker, start < 1 ? 1 : start, ignoreCase);
    if (p == -1) return Text();
    return TextLeft(text, p - 1);
}

Text TextRightOfLast(const Text& text, const Text& marker, std::optional<int> start,
                     bool ignoreCase) {
    // An absent start searches the whole text, as a start of length + 1 would.
    const int p = LastPositionOf(text, marker, start, ignoreCase);
    if (p == -1) return Text();
    return TextRight(text, text.size() - marker.size() - p + 1);
}

int FindText(const Text& text, const Text& sought, int start, bool ignoreCase) {
    if (start == 0) start = 1;
    // Starts outside 1..length + 1 have no meaning here; they find nothing.
    if (start < 1 || start - 1 > text.size()) return -1;
    if (text.empty() || sought.empty()) return -1;
    const std::size_t from = static_cast<std::size_t>(start) - 1;
    const std::size_t found = ignoreCase
                                  ? FoldedCopy(text.view()).find(FoldedCopy(sought.view()), from)
                                  : text.view().find(sought.view(), from);
    return found == std::string_view::npos ? -1 : static_cast<int>(found + 1);
}

}  // namespace smsdock
