#pragma once

// RegexMatcher runs an ECMAScript-style pattern over GBK Text and keeps the matches of the last
// search. The pattern is matched against characters, not bytes: the text is decoded to UTF-16
// first, so "." and every class take one whole Chinese character, and every text handed back is
// GBK again. Indexes given to the class are 1-based. A malformed pattern, or a search that runs
// into the engine's match limit, ends as a failed search: false, no matches, empty texts.

#include <memory>

#include "text/text.h"

namespace smsdock {

class RegexMatcher {
public:
    RegexMatcher();
    ~RegexMatcher();
    // A copy shares the compiled engine and the matches, and holds a copy of the subject.
    RegexMatcher(const RegexMatcher& other);
    RegexMatcher& operator=(const RegexMatcher& other);

    // Replaces the results of any previous search. True when the engine produced a list of
    // matches, even an empty one.
    bool Search(const Text& pattern, const Text& text, bool caseSensitive = false,
                bool multiline = true, bool global = true, bool expandQuoteMarker = false);

    // The pattern of the last search; empty when there is no engine.
    Text PatternText() const;
    // The subject with the matches of the last pattern replaced; understands $1..$99, $&, $`,
    // $' and $$. Empty when there is no engine.
    Text ReplaceMatches(const Text& replacement = Text()) const;

    int MatchCount() const;
    // Text of match i. When position is given it receives the match's 0-based byte position in
    // the subject (found from the match's UTF-16 offset), or -2 when there is no such match.
    Text MatchText(int i, int* position = nullptr) const;
    // Text of group k of match i; empty for a group that did not take part or any index out of
    // range.
    Text SubmatchText(int i, int k, int* position = nullptr) const;
    // Number of groups of the first match; 0 when there is none.
    int SubmatchCount() const;

    struct Engine;
    struct Matches;

private:
    std::shared_ptr<const Engine> engine_;
    std::shared_ptr<const Matches> matches_;
    Text subject_;
};

}  // namespace smsdock
