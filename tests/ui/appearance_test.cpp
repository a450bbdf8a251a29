// What the window layer sets up for the desktop: the program's icon and a default font that
// has the Chinese characters.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QIcon>
#include <string_view>

#include "tests/ui/gui_harness.h"

namespace smsdock {
namespace {

// The icon is a resource of a static library, which the linker drops unless something keeps it.
TEST(AppearanceTest, TheProgramIconComesInEverySizeTheDesktopLooksFor) {
    gui::UseWindowLayer();
    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        EXPECT_EQ(icon.pixmap(QSize(size, size), 1.0).size(), QSize(size, size)) << size;
    }
}

// The face the default font resolves to draws the Chinese texts itself, without falling back
// glyph by glyph; the build machine has a CJK font (scripts/debian-packages.txt).
TEST(AppearanceTest, TheDefaultFontHasTheChineseCharacters) {
    gui::UseWindowLayer();
    const QFont font = QApplication::font();
    EXPECT_EQ(QFontInfo(font).pixelSize(), 12);
    const QFontMetrics metrics(font);
    for (const char32_t c : std::u32string_view(U"短信码头获取号码（）：↓"))
        EXPECT_TRUE(metrics.inFontUcs4(c)) << std::hex << static_cast<unsigned>(c);
}

}  // namespace
}  // namespace smsdock
