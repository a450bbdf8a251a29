#include "http/cookies.h"

#include "text/extract.h"
#include "text/text_ops.h"

namespace smsdock {

namespace {

bool IsDeleted(const Text& entry) {
    return TextRight(entry, 8) == "=deleted";
}

Text CutEnd(const Text& text, int n) {
    return TextLeft(text, TextLength(text) - n);
}

}  // namespace

Text MergeCookies(Text& old, Text& fresh) {
    old = RemoveSpaces(old);
    fresh = RemoveSpaces(fresh);

    const TextArray oldEntries = SplitText(old, ";");
    TextArray entries = SplitText(fresh, ";");
    for (const Text& o : oldEntries) {
        if (!ContainsCookieName(entries, CookieName(o))) entries.push_back(o);
    }

    old = Text();
    for (const Text& entry : entries) {
        if (!IsDeleted(entry)) old += entry + "; ";
    }
    old = CutEnd(old, 2);
    old = JoinUnique(old, "; ", true);
    return old;
}

Text CookieName(const Text& entry) {
    const int equals = PositionOf(entry, "=");
    return equals == -1 ? TrimSpaces(entry) : TrimSpaces(TextLeft(entry, equals - 1));
}

bool ContainsCookieName(const TextArray& list, const Text& name) {
    for (const Text& element : list) {
        if (CookieName(element) == name) return true;
    }
    return false;
}

Text JoinUnique(const Text& text, const Text& separator, bool bySeparator) {
    TextArray pieces;
    if (bySeparator) {
        pieces = SplitText(text, separator);
    } else {
        SplitCharacters(text, pieces);
    }
    TextArray seen;
    Text result;
    for (const Text& piece : pieces) {
        if (IndexOfText(seen, piece) != -1) continue;
        seen.push_back(piece);
        result += piece + separator;
    }
    return CutEnd(result, TextLength(separator));
}

int SplitCharacters(const Text& text, TextArray& list) {
    list.clear();
    const int length = TextLength(text);
    for (int i = 0; i < length;) {
        const unsigned char byte = text.at(i);
        const bool pair =
            i + 1 < length && (byte >= 129 || (byte == '\r' && text.at(i + 1) == '\n'));
        const int width = pair ? 2 : 1;
        list.push_back(Text(text.view().substr(i, width)));
        i += width;
    }
    return static_cast<int>(list.size());
}

int IndexOfText(const TextArray& list, const Text& text) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == text) return static_cast<int>(i) + 1;
    }
    return -1;
}

Text CollectResponseCookies(const Text& rawHeaders) {
    Text cookies;
    for (const Text& line : SplitText(rawHeaders, "\r\n")) {
        if (TextLeftOf(line, ": ") != "Set-Cookie") continue;
        const Text cookie = PositionOf(line, ";") != -1
                                ? TrimSpaces(TextBetween(line, "Set-Cookie:", ";"))
                                : TrimSpaces(ReplaceText(line, "Set-Cookie:", "", 1, -1, false));
        cookies += cookie + "; ";
    }
    return CutEnd(cookies, 2);
}

}  // namespace smsdock
