#include "http/headers.h"

#include "text/text_ops.h"

namespace smsdock {

namespace {

// Each piece between dashes capitalised; the dashes stay where they are, leading, doubled and
// trailing ones included (a plain split would lose an empty last piece).
Text CapitalizeName(const Text& name) {
    if (PositionOf(name, "-") == -1) return CapitalizeFirst(name);
    Text result;
    int pieceStart = 1;
    for (;;) {
        const int dash = PositionOf(name, "-", pieceStart);
        const int pieceEnd = dash == -1 ? TextLength(name) + 1 : dash;
        result += CapitalizeFirst(TextMid(name, pieceStart, pieceEnd - pieceStart));
        if (dash == -1) break;
        result += "-";
        pieceStart = dash + 1;
    }
    return result;
}

}  // namespace

Text NormalizeHeaders(const Text& block) {
    Text result;
    for (const Text& line : SplitText(block, "\r\n")) {
        const int colon = PositionOf(line, ":");
        if (colon == -1) continue;
        result += CapitalizeName(TextLeft(line, colon - 1));
        result += TextMid(line, colon, TextLength(line));
        result += "\r\n";
    }
    return TextLeft(result, TextLength(result) - 2);
}

Text CapitalizeFirst(const Text& word) {
    return ToUpperCase(TextLeft(word, 1)) + TextMid(word, 2, TextLength(word));
}

Text HeaderValue(const Text& line) {
    const int colon = PositionOf(line, ":");
    if (colon == -1) return Text();
    return TrimSpaces(TextMid(line, colon + 1, TextLength(line)));
}

}  // namespace smsdock
