// The code-page conversions over arbitrary bytes: UTF-8 pages to GBK, UTF-16 to GBK, and back.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_input.h"
#include "text/code_page.h"

using namespace smsdock;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    const Bytes bytes(data, data + size);

    Utf8ToAnsi(Text(raw));
    Utf16ToGbk(bytes);
    Utf16ToText(bytes, kCodePageUtf8);
    const Text gbk(raw);
    TextToUtf16(gbk, kCodePageGbk);
    TextToUtf16(gbk, kCodePageUtf8);
    GbkToUtf16String(gbk);
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    Utf16StringToGbk(units);
    Utf16StringToGbkComposed(units);
    return 0;
}
