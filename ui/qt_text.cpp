#include "ui/qt_text.h"

#include <string_view>

#include "text/code_page.h"

namespace smsdock {

QString ToQString(const Text& text) {
    return QString::fromStdU16String(GbkToUtf16String(text));
}

Text ToText(const QString& string) {
    return Utf16StringToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(string.utf16()),
                                                static_cast<std::size_t>(string.size())));
}

}  // namespace smsdock
