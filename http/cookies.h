#pragma once

// Cookie texts: entries name=value separated by ";" (sent and handed back as "a=1; b=2").
// Names are compared exactly, letter case included; an entry ending in "=deleted" is a cookie
// the server removed.

#include "text/text.h"

namespace smsdock {

// Merges the cookies a response set (fresh) into the caller's cookies (old): fresh entries
// first in their order, then the old entries whose names fresh does not set, with deleted
// entries and exact repeats dropped and every space removed. Both arguments are rewritten:
// fresh loses its spaces and old becomes the merged text, which is also returned.
Text MergeCookies(Text& old, Text& fresh);

// The entry's name: the text before its first "=" (the whole entry without one), trimmed.
Text CookieName(const Text& entry);

// Whether some element's CookieName equals name exactly.
bool ContainsCookieName(const TextArray& list, const Text& name);

// The pieces of text (split at separator, or into characters when bySeparator is false)
// without repeats, first occurrences kept in place, joined with separator.
Text JoinUnique(const Text& text, const Text& separator, bool bySeparator);

// Empties list and fills it with the characters of text: a lead byte of 129 or more and the
// byte after it, or CR LF, form one element; any other byte forms one. Returns the count.
int SplitCharacters(const Text& text, TextArray& list);

// 1-based index of the first element equal to text byte for byte, -1 when there is none.
int IndexOfText(const TextArray& list, const Text& text);

// The cookies set by raw response headers: the name=value part of every line named exactly
// "Set-Cookie" (followed by ": "), in order, joined with "; ".
Text CollectResponseCookies(const Text& rawHeaders);

}  // namespace smsdock
