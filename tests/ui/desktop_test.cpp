// The busy cursor and the clipboard as plain text.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <thread>

#include "tests/ui/gui_harness.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

class DesktopTest : public ::testing::Test {
  protected:
    void SetUp() override { gui::UseWindowLayer(); }
    static const QCursor* Override() { return QGuiApplication::overrideCursor(); }
};

TEST_F(DesktopTest, BusyCursorShowsWhileItLivesAndNestsOnTheWindowThread) {
    ASSERT_EQ(Override(), nullptr);
    {
        const BusyCursor outer;
        ASSERT_NE(Override(), nullptr);
        EXPECT_EQ(Override()->shape(), Qt::WaitCursor);
        { const BusyCursor inner; }
        ASSERT_NE(Override(), nullptr);
        EXPECT_EQ(Override()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(Override(), nullptr);
}

TEST_F(DesktopTest, BusyCursorOnAnotherThreadDoesNothing) {
    std::thread([] { const BusyCursor busy; }).join();
    EXPECT_EQ(Override(), nullptr);
}

Bytes Utf16Block(std::u16string_view units) {
    Bytes block;
    for (char16_t unit : units) {
        block.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        block.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    block.insert(block.end(), {0, 0});
    return block;
}

TEST_F(DesktopTest, AnsiTextGoesOutUpToItsFirstZeroAndComesBackAsAUnicodeBlock) {
    // "验证码 42" in GBK, its zero byte, then bytes that are not part of the text.
    const Bytes block = {0xD1, 0xE9, 0xD6, 0xA4, 0xC2, 0xEB, ' ', '4', '2', 0, 'x', 'y'};
    PutClipboardAnsiText(block);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("验证码 42"));
    EXPECT_EQ(ClipboardUnicodeText(), Utf16Block(u"验证码 42"));

    PutClipboardAnsiText(Bytes{0});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
    EXPECT_EQ(ClipboardUnicodeText(), Utf16Block(u""));
}

TEST_F(DesktopTest, NoUnicodeBlockWithoutText) {
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(ClipboardUnicodeText(), Bytes());

    auto* picture = new QMimeData;
    picture->setImageData(QImage(2, 2, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(picture);
    EXPECT_EQ(ClipboardUnicodeText(), Bytes());
}

}  // namespace
}  // namespace smsdock
