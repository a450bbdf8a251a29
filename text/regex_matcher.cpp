#include "text/regex_matcher.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/code_page.h"
#include "text/ecma_pattern.h"
#include "text/text_ops.h"

namespace smsdock {

namespace {

struct CodeFree {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataFree {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct MatchContextFree {
    void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct JitStackFree {
    void operator()(pcre2_jit_stack* stack) const { pcre2_jit_stack_free(stack); }
};
using CodePtr = std::unique_ptr<pcre2_code, CodeFree>;
using MatchDataPtr = std::unique_ptr<pcre2_match_data, MatchDataFree>;
using MatchContextPtr = std::unique_ptr<pcre2_match_context, MatchContextFree>;
using JitStackPtr = std::unique_ptr<pcre2_jit_stack, JitStackFree>;

// Bounds on one attempt to find the next match, so that a pattern that backtracks without end
// (such as "(a+)+b" over a long run of "a") ends as a failed search within a fraction of a
// second. The system's own patterns over a whole page stay far below them.
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kDepthLimit = 1'000'000;
constexpr PCRE2_SIZE kJitStackStart = 32 * 1024;
constexpr PCRE2_SIZE kJitStackMax = 4 * 1024 * 1024;

constexpr std::uint32_t kUnset = std::numeric_limits<std::uint32_t>::max();

// "#引号", which the callers write for a double quote inside a pattern.
const Text kQuoteMarker("#\xD2\xFD\xBA\xC5");

bool IsHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

struct RegexMatcher::Engine {
    Text pattern;
    CodePtr code;  // null when the pattern is malformed
    std::uint32_t groupCount = 0;
};

struct RegexMatcher::Matches {
    std::u16string subject;  // the searched text as the engine saw it
    std::size_t groupCount = 0;
    std::size_t count = 0;
    // For each match, groupCount + 1 [start, end) pairs of UTF-16 offsets, the whole match
    // first; kUnset for a group that did not take part.
    std::vector<std::uint32_t> offsets;

    bool Span(std::size_t match, std::size_t group, std::uint32_t& start,
              std::uint32_t& end) const {
        if (match >= count || group > groupCount) return false;
        const std::size_t at = 2 * (match * (groupCount + 1) + group);
        start = offsets[at];
        end = offsets[at + 1];
        return start != kUnset;
    }
    std::u16string_view Piece(std::uint32_t start, std::uint32_t end) const {
        return std::u16string_view(subject).substr(start, end - start);
    }
};

namespace {

// Runs the compiled pattern over the subject of matches and records every match, left to right,
// each search going on where the last match ended, and one character further after an empty
// match (so matches never overlap and the search always moves on). False when the engine gives
// up, for instance at the match limit.
bool CollectMatches(const pcre2_code* code, bool global, RegexMatcher::Matches& matches) {
    MatchDataPtr data(pcre2_match_data_create_from_pattern(code, nullptr));
    MatchContextPtr context(pcre2_match_context_create(nullptr));
    if (!data || !context) return false;
    pcre2_set_match_limit(context.get(), kMatchLimit);
    pcre2_set_depth_limit(context.get(), kDepthLimit);
    JitStackPtr stack(pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr));
    if (stack) pcre2_jit_stack_assign(context.get(), nullptr, stack.get());

    const std::u16string& text = matches.subject;
    const auto subject = reinterpret_cast<PCRE2_SPTR>(text.data());
    const PCRE2_SIZE length = text.size();
    const std::size_t pairs = matches.groupCount + 1;
    std::uint32_t options = 0;
    PCRE2_SIZE offset = 0;
    while (offset <= length) {
        const int rc =
            pcre2_match(code, subject, length, offset, options, data.get(), context.get());
        // The first call has checked that the subject is valid UTF-16; the later ones start at
        // character boundaries of the same subject.
        options = PCRE2_NO_UTF_CHECK;
        if (rc == PCRE2_ERROR_NOMATCH) break;
        if (rc <= 0) return false;

        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
        for (std::size_t g = 0; g < pairs; ++g) {
            const bool set = g < static_cast<std::size_t>(rc) && ovector[2 * g] != PCRE2_UNSET;
            matches.offsets.push_back(set ? static_cast<std::uint32_t>(ovector[2 * g]) : kUnset);
            matches.offsets.push_back(set ? static_cast<std::uint32_t>(ovector[2 * g + 1])
                                          : kUnset);
        }
        ++matches.count;
        if (!global) break;

        const PCRE2_SIZE end = ovector[1];
        if (end > ovector[0]) {
            offset = end;
        } else if (end >= length) {
            break;
        } else {
            offset = end + 1;
            if (IsHighSurrogate(text[end]) && offset < length && IsLowSurrogate(text[offset])) {
                ++offset;
            }
        }
    }
    return true;
}

// Text of group (0: the whole match) of the 0-based match, with its 0-based byte position in
// the GBK subject when asked for.
Text PieceText(const RegexMatcher::Matches* matches, int match, int group, int* position) {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    if (!matches || match < 0 || group < 0 ||
        !matches->Span(static_cast<std::size_t>(match), static_cast<std::size_t>(group), start,
                       end)) {
        if (position) *position = -2;
        return Text();
    }
    if (position) {
        // The GBK length of everything before the piece: its exact byte position, where a
        // search for its text could land on an earlier occurrence.
        *position = Utf16StringToGbk(matches->Piece(0, start)).size();
    }
    return Utf16StringToGbk(matches->Piece(start, end));
}

// Appends the replacement for match to out, with the tokens of ECMAScript's String.replace:
// "$$", "$&", "$`", "$'" and "$n" / "$nn" for groups 1..99 (two digits when that names a group,
// else one digit when that does, else the text stays as written).
void AppendReplacement(std::u16string& out, std::u16string_view replacement,
                       const RegexMatcher::Matches& matches, std::size_t match) {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    matches.Span(match, 0, start, end);
    auto appendGroup = [&](std::size_t group) {
        std::uint32_t s = 0;
        std::uint32_t e = 0;
        if (matches.Span(match, group, s, e)) out += matches.Piece(s, e);
    };
    auto digit = [&](std::size_t i) {
        return i < replacement.size() && replacement[i] >= u'0' && replacement[i] <= u'9'
                   ? static_cast<int>(replacement[i] - u'0')
                   : -1;
    };
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        const char16_t c = replacement[i];
        const char16_t next = i + 1 < replacement.size() ? replacement[i + 1] : u'\0';
        if (c != u'$' || next == u'\0') {
            out += c;
        } else if (next == u'$') {
            out += u'$';
            ++i;
        } else if (next == u'&') {
            out += matches.Piece(start, end);
            ++i;
        } else if (next == u'`') {
            out += matches.Piece(0, start);
            ++i;
        } else if (next == u'\'') {
            out += matches.Piece(end, static_cast<std::uint32_t>(matches.subject.size()));
            ++i;
        } else if (const int first = digit(i + 1); first >= 0) {
            const int second = digit(i + 2);
            const std::size_t two = second >= 0 ? std::size_t(first * 10 + second) : 0;
            if (two >= 1 && two <= matches.groupCount) {
                appendGroup(two);
                i += 2;
            } else if (first >= 1 && std::size_t(first) <= matches.groupCount) {
                appendGroup(std::size_t(first));
                i += 1;
            } else {
                out += c;
            }
        } else {
            out += c;
        }
    }
}

}  // namespace

RegexMatcher::RegexMatcher() = default;
RegexMatcher::~RegexMatcher() = default;
RegexMatcher::RegexMatcher(const RegexMatcher& other) = default;
RegexMatcher& RegexMatcher::operator=(const RegexMatcher& other) = default;

bool RegexMatcher::Search(const Text& pattern, const Text& text, bool caseSensitive, bool multiline,
                          bool global, bool expandQuoteMarker) {
    engine_.reset();
    matches_.reset();
    subject_ = text;

    auto engine = std::make_shared<Engine>();
    engine->pattern = expandQuoteMarker ? ReplaceText(pattern, kQuoteMarker, "\"") : pattern;
    const std::optional<std::u16string> translated =
        EcmaPatternToPcre2(GbkToUtf16String(engine->pattern), multiline);
    if (translated) {
        // UTF mode so that a Chinese character is one character. No PCRE2_UCP: \d, \w and \b
        // stay ASCII as in ECMAScript. Unset groups match empty in back-references, as there.
        // Lines, "." and "\s" are spelt out by the translation.
        const std::uint32_t options =
            PCRE2_UTF | PCRE2_MATCH_UNSET_BACKREF | (caseSensitive ? 0u : PCRE2_CASELESS);
        int error = 0;
        PCRE2_SIZE errorOffset = 0;
        engine->code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated->data()),
                                         translated->size(), options, &error, &errorOffset,
                                         nullptr));
    }
    if (engine->code) {
        // Where JIT is not available the match runs in the interpreter instead.
        pcre2_jit_compile(engine->code.get(), PCRE2_JIT_COMPLETE);
        pcre2_pattern_info(engine->code.get(), PCRE2_INFO_CAPTURECOUNT, &engine->groupCount);
    }
    engine_ = engine;
    if (!engine->code) return false;

    auto matches = std::make_shared<Matches>();
    matches->subject = GbkToUtf16String(text);
    matches->groupCount = engine->groupCount;
    if (!CollectMatches(engine->code.get(), global, *matches)) return false;
    matches_ = std::move(matches);
    return true;
}

Text RegexMatcher::PatternText() const {
    return engine_ ? engine_->pattern : Text();
}

Text RegexMatcher::ReplaceMatches(const Text& replacement) const {
    if (!engine_ || !engine_->code || !matches_) return Text();
    const Matches& matches = *matches_;
    if (matches.count == 0) return subject_;
    const std::u16string units = GbkToUtf16String(replacement);
    std::u16string out;
    std::uint32_t done = 0;
    for (std::size_t m = 0; m < matches.count; ++m) {
        std::uint32_t start = 0;
        std::uint32_t end = 0;
        matches.Span(m, 0, start, end);
        out += matches.Piece(done, start);
        AppendReplacement(out, units, matches, m);
        done = end;
    }
    out += matches.Piece(done, static_cast<std::uint32_t>(matches.subject.size()));
    return Utf16StringToGbk(out);
}

int RegexMatcher::MatchCount() const {
    if (!matches_) return 0;
    return static_cast<int>(
        std::min<std::size_t>(matches_->count, std::numeric_limits<int>::max()));
}

Text RegexMatcher::MatchText(int i, int* position) const {
    return PieceText(matches_.get(), i - 1, 0, position);
}

Text RegexMatcher::SubmatchText(int i, int k, int* position) const {
    if (k < 1) {
        if (position) *position = -2;
        return Text();
    }
    return PieceText(matches_.get(), i - 1, k, position);
}

int RegexMatcher::SubmatchCount() const {
    return matches_ && matches_->count > 0 ? static_cast<int>(matches_->groupCount) : 0;
}

}  // namespace smsdock
