#include "text/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/unorm2.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>

namespace smsdock {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenNamed(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(name, &status));
    if (U_FAILURE(status)) return nullptr;
    return converter;
}

// A converter for a Windows code page number, or null when ICU has none for it. Characters the
// code page lacks are written as "?", as the Windows conversion functions write them.
ConverterPtr OpenCodePage(int codePage) {
    if (codePage == kCodePageAnsi) codePage = kCodePageGbk;
    if (codePage == kCodePageUtf8) return OpenNamed("UTF-8");
    if (codePage <= 0) return nullptr;

    ConverterPtr converter;
    UErrorCode status = U_ZERO_ERROR;
    if (codePage == kCodePageGbk) {
        converter = OpenNamed("windows-936");
        if (converter) ucnv_setSubstChars(converter.get(), "?", 1, &status);
        return converter;
    }
    const std::string number = std::to_string(codePage);
    converter = OpenNamed(("windows-" + number).c_str());
    if (!converter) converter = OpenNamed(("ibm-" + number).c_str());
    // The substitute is given as a character so that code pages without ASCII get their own "?".
    if (converter) ucnv_setSubstString(converter.get(), u"?", 1, &status);
    return converter;
}

// The converter for codePage. GBK and UTF-8, which every page and every match goes through, stay
// open per thread, as a converter must not be shared between threads; any other code page is
// opened into owner for this one call.
UConverter* ConverterFor(int codePage, ConverterPtr& owner) {
    if (codePage == kCodePageAnsi) codePage = kCodePageGbk;
    UConverter* converter = nullptr;
    if (codePage == kCodePageGbk) {
        thread_local ConverterPtr gbk = OpenCodePage(kCodePageGbk);
        converter = gbk.get();
    } else if (codePage == kCodePageUtf8) {
        thread_local ConverterPtr utf8 = OpenCodePage(kCodePageUtf8);
        converter = utf8.get();
    } else {
        owner = OpenCodePage(codePage);
        converter = owner.get();
    }
    return converter;
}

bool IsAscii(std::u16string_view units) {
    return std::all_of(units.begin(), units.end(), [](char16_t u) { return u < 0x80; });
}

// ASCII text is the same bytes in GBK and UTF-8; taking it without the converter keeps the many
// short reads of numbers and tags cheap.
std::string Narrowed(std::u16string_view units) {
    std::string bytes(units.size(), '\0');
    std::transform(units.begin(), units.end(), bytes.begin(),
                   [](char16_t u) { return static_cast<char>(u); });
    return bytes;
}

const UChar* AsUChars(const char16_t* units) {
    return reinterpret_cast<const UChar*>(units);
}
UChar* AsUChars(char16_t* units) {
    return reinterpret_cast<UChar*>(units);
}

std::u16string_view UpToZero(std::u16string_view units) {
    return units.substr(0, units.find(u'\0'));
}

// The UTF-16LE units of bytes up to the first zero unit; an odd last byte is ignored.
std::u16string UnitsOf(const Bytes& bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        units.push_back(unit);
    }
    return units;
}

// The units as UTF-16LE bytes with a terminating zero unit.
Bytes BytesOf(std::u16string_view units) {
    Bytes bytes(2 * (units.size() + 1), 0);
    for (std::size_t i = 0; i < units.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
    }
    return bytes;
}

std::u16string Decode(UConverter* converter, std::string_view bytes) {
    std::u16string units;
    if (!converter || bytes.empty()) return units;
    // One unit per byte covers the common code pages (a surrogate pair needs four UTF-8 bytes);
    // a converter that needs more says so and the conversion runs again with its count.
    int32_t capacity = static_cast<int32_t>(bytes.size());
    for (int attempt = 0; attempt < 2; ++attempt) {
        units.resize(static_cast<std::size_t>(capacity));
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(converter);
        const int32_t length =
            ucnv_toUChars(converter, AsUChars(units.data()), capacity, bytes.data(),
                          static_cast<int32_t>(bytes.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            capacity = length;
            continue;
        }
        if (U_FAILURE(status)) break;
        units.resize(static_cast<std::size_t>(length));
        return units;
    }
    return std::u16string();
}

// GBK bytes as UTF-16, the same units as Decode gives, faster for the ASCII that makes up most
// of a page: runs of ASCII are widened directly and only the runs between them go through the
// converter. In GBK a byte below 0x80 at a character boundary is always an ASCII character,
// and the converter keeps no state from one character to the next, so converting run by run
// gives what converting the whole text at once would. A run ends only before a byte below 0x80
// that is not the trail byte of a pair; 0x80 and 0xFF are characters of one byte, any other
// byte from 0x81 takes the byte after it (an invalid pair comes out of the converter exactly
// as it would inside the whole text).
std::u16string DecodeGbk(UConverter* converter, std::string_view bytes) {
    std::u16string units;
    if (!converter || bytes.empty()) return units;
    // Every GBK byte gives at most one unit.
    units.resize(bytes.size());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t at = 0;
    std::size_t written = 0;
    while (at < size) {
        while (at < size && in[at] < 0x80)
            units[written++] = static_cast<char16_t>(in[at++]);
        const std::size_t start = at;
        while (at < size && in[at] >= 0x80)
            at += in[at] == 0x80 || in[at] == 0xFF ? 1 : 2;
        at = std::min(at, size);
        if (at == start) continue;
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(converter);
        const int32_t length = ucnv_toUChars(
            converter, AsUChars(units.data() + written), static_cast<int32_t>(size - written),
            bytes.data() + start, static_cast<int32_t>(at - start), &status);
        // Not expected; the whole text through the converter instead.
        if (U_FAILURE(status)) return Decode(converter, bytes);
        written += static_cast<std::size_t>(length);
    }
    units.resize(written);
    return units;
}

std::string Encode(UConverter* converter, std::u16string_view units) {
    std::string bytes;
    if (!converter || units.empty()) return bytes;
    int32_t capacity = UCNV_GET_MAX_BYTES_FOR_STRING(static_cast<int32_t>(units.size()),
                                                     ucnv_getMaxCharSize(converter));
    for (int attempt = 0; attempt < 2; ++attempt) {
        bytes.resize(static_cast<std::size_t>(capacity));
        UErrorCode status = U_ZERO_ERROR;
        ucnv_reset(converter);
        const int32_t length =
            ucnv_fromUChars(converter, bytes.data(), capacity, AsUChars(units.data()),
                            static_cast<int32_t>(units.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            capacity = length;
            continue;
        }
        if (U_FAILURE(status)) break;
        bytes.resize(static_cast<std::size_t>(length));
        return bytes;
    }
    return std::string();
}

// The units composed to NFC (a base character and its combining marks become the precomposed
// character where one exists).
std::u16string Composed(std::u16string_view units) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status)) return std::u16string(units);
    const int32_t length = static_cast<int32_t>(units.size());
    if (unorm2_spanQuickCheckYes(nfc, AsUChars(units.data()), length, &status) == length &&
        U_SUCCESS(status)) {
        return std::u16string(units);
    }
    std::u16string composed;
    int32_t capacity = length;
    for (int attempt = 0; attempt < 2; ++attempt) {
        composed.resize(static_cast<std::size_t>(capacity));
        status = U_ZERO_ERROR;
        const int32_t written = unorm2_normalize(nfc, AsUChars(units.data()), length,
                                                 AsUChars(composed.data()), capacity, &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            capacity = written;
            continue;
        }
        if (U_FAILURE(status)) break;
        composed.resize(static_cast<std::size_t>(written));
        return composed;
    }
    return std::u16string(units);
}

}  // namespace

Text Utf8ToAnsi(const Text& text) {
    if (text.empty()) return Text();
    ConverterPtr unusedUtf8;
    ConverterPtr unusedGbk;
    UConverter* utf8 = ConverterFor(kCodePageUtf8, unusedUtf8);
    UConverter* gbk = ConverterFor(kCodePageGbk, unusedGbk);
    if (!utf8 || !gbk) return Text();

    // One pass from UTF-8 straight to GBK, with ICU's small pivot buffer in between. No UTF-8
    // sequence gives more GBK bytes than it has itself (a character takes one or two bytes, an
    // invalid sequence one "?"), so the input length always suffices.
    std::string out(static_cast<std::size_t>(text.size()), '\0');
    char* target = out.data();
    const char* source = text.c_str();
    UChar pivot[1024];
    UChar* pivotSource = pivot;
    UChar* pivotTarget = pivot;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_convertEx(gbk, utf8, &target, out.data() + out.size(), &source, source + text.size(),
                   pivot, &pivotSource, &pivotTarget, pivot + std::size(pivot), true, true,
                   &status);
    if (U_FAILURE(status)) {
        // Not expected; convert through a whole UTF-16 copy instead.
        return Text(Encode(gbk, Decode(utf8, text.view())));
    }
    out.resize(static_cast<std::size_t>(target - out.data()));
    return Text(std::move(out));
}

Text Utf16ToGbk(const Bytes& bytes) {
    return Utf16StringToGbkComposed(UnitsOf(bytes));
}

Bytes TextToUtf16(const Text& text, int codePage) {
    if (text.empty()) return Bytes();
    ConverterPtr owner;
    UConverter* converter = ConverterFor(codePage, owner);
    if (!converter) return Bytes();
    return BytesOf(UpToZero(Decode(converter, text.view())));
}

Text Utf16ToText(const Bytes& bytes, int codePage) {
    ConverterPtr owner;
    UConverter* converter = ConverterFor(codePage, owner);
    if (!converter) return Text();
    const std::u16string units = UnitsOf(bytes);
    const bool asciiKept =
        codePage == kCodePageAnsi || codePage == kCodePageGbk || codePage == kCodePageUtf8;
    if (asciiKept && IsAscii(units)) return Text(Narrowed(units));
    return Text(Encode(converter, units));
}

Bytes ZeroedBytes(int size) {
    if (size <= 0) return Bytes();
    try {
        return Bytes(static_cast<std::size_t>(size), 0);
    } catch (const std::bad_alloc&) {
        return Bytes();
    }
}

std::u16string GbkToUtf16String(const Text& text) {
    ConverterPtr owner;
    return DecodeGbk(ConverterFor(kCodePageGbk, owner), text.view());
}

Text Utf16StringToGbk(std::u16string_view units) {
    units = UpToZero(units);
    if (IsAscii(units)) return Text(Narrowed(units));
    ConverterPtr owner;
    return Text(Encode(ConverterFor(kCodePageGbk, owner), units));
}

Text Utf16StringToGbkComposed(std::u16string_view units) {
    units = UpToZero(units);
    if (IsAscii(units)) return Text(Narrowed(units));
    ConverterPtr owner;
    return Text(Encode(ConverterFor(kCodePageGbk, owner), Composed(units)));
}

}  // namespace smsdock
