// The clipboard routines of the copy actions: what goes out as GBK text comes back through the
// Unicode read as the same GBK text.

#include "retrieval/clipboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "tests/ui/gui_harness.h"

namespace smsdock {
namespace {

using gui::Gbk;

class ClipboardTest : public ::testing::Test {
  protected:
    void SetUp() override { gui::UseWindowLayer(); }
};

TEST_F(ClipboardTest, TextComesBackExactlyAsWritten) {
    for (const char* utf8 : {" 12345678901 ", "+1 5550100 ", "", "【示例网】您的验证码是 482913",
                             "Tom &amp; Jerry <b>7731</b>"}) {
        SCOPED_TRACE(utf8);
        SetClipboardText(Gbk(utf8));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(utf8));
        EXPECT_EQ(GetClipboardText(), Gbk(utf8));
    }
}

TEST_F(ClipboardTest, ReadsWhatAnotherProgramLeftAsComposedGbk) {
    // e followed by a combining acute accent, as another program may put it.
    QGuiApplication::clipboard()->setText(QString::fromUtf16(u"caf\u0065\u0301 \u4E2D"));
    EXPECT_EQ(GetClipboardText(), Text("caf\xA8\xA6 \xD6\xD0"));

    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(GetClipboardText(), Text());
}

}  // namespace
}  // namespace smsdock
