#include "http/url.h"

#include <algorithm>

#include "text/extract.h"
#include "text/text_ops.h"

namespace smsdock {

namespace {

Text CutPort(const Text& host) {
    const int colon = PositionOf(host, ":");
    return colon == -1 ? host : TextLeft(host, colon - 1);
}

Text HostBySchemes(const Text& url, bool mainDomain) {
    Text h = ToLowerCase(url);
    if (TextRight(h, 1) != "/") h += "/";
    if (TextLeft(h, 8) == "https://") {
        h = TextBetween(h, "https://", "/");
    } else {
        if (PositionOf(h, "http://") == -1) h = "http://" + h;
        h = TextBetween(h, "http://", "/");
    }
    if (mainDomain) {
        const TextArray pieces = SplitText(h, ".");
        const auto n = pieces.size();
        if (n >= 2) h = pieces[n - 2] + "." + pieces[n - 1];
    }
    return h;
}

Text HostByLabels(const Text& url, bool mainDomain, int labelCount) {
    const int n = std::max(labelCount, 0);
    Text h = ToLowerCase(url);
    h = ReplaceText(h, "http://", "");
    h = ReplaceText(h, "https://", "");
    if (const int slash = PositionOf(h, "/"); slash != -1) h = TextLeft(h, slash - 1);

    // dots[k] is D(k+1): the (k+1)-th dot counted from the right, never the final character.
    auto dotFromRight = [&h](int k) {
        int dot = TextLength(h);
        for (int i = 0; i <= k && dot != -1; ++i)
            dot = LastPositionOf(h, ".", dot);
        return dot;
    };
    auto textAfter = [&h](int dot) { return TextMid(h, dot + 1, TextLength(h)); };

    if (mainDomain) {
        if (const int d = dotFromRight(n); d != -1) h = textAfter(d);
    } else if (dotFromRight(n) != -1) {
        if (const int d = dotFromRight(n + 1); d != -1) h = textAfter(d);
    }
    return h;
}

}  // namespace

Text UrlHost(const Text& url, bool mainDomain, bool keepPort, std::optional<int> labelCount) {
    Text h =
        labelCount ? HostByLabels(url, mainDomain, *labelCount) : HostBySchemes(url, mainDomain);
    return keepPort ? h : CutPort(h);
}

int UrlPort(const Text& url) {
    const Text q = UrlHost(url, false, true);
    if (PositionOf(q, ":") != -1) {
        const int last = LastPositionOf(q, ":");
        return TextToInt(TextMid(q, last + 1, TextLength(q)));
    }
    return ToLowerCase(TextLeft(url, 5)) == "https" ? 443 : 80;
}

Text UrlPath(const Text& url) {
    const Text q = UrlHost(url);
    const int a = PositionOf(url, q, 1, true);
    const int b = PositionOf(url, "/", a);
    return b == -1 ? Text("/") : TextMid(url, b, TextLength(url));
}

}  // namespace smsdock
