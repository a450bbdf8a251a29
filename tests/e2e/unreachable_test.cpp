// With both number sites unreachable, every listing and retrieval still ends as it would on
// success, with empty lists and no message raised.

#include <gtest/gtest.h>

#include "app/state/globals.h"
#include "app/state/window_names.h"
#include "retrieval/number_listing.h"
#include "tests/e2e/main_window_fixture.h"
#include "tests/ui/gui_harness.h"
#include "ui/window_layer.h"

namespace smsdock::e2e {
namespace {

using gui::Gbk;

// Nothing listens on port 1 of the loopback address, and no test can listen there: each
// connection is refused at once.
class UnreachableEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { UseSites("https://127.0.0.1:1", "https://127.0.0.1:1"); }
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new UnreachableEnvironment);

class UnreachableSitesTest : public MainWindowTest {
  protected:
    // Rows from an earlier listing and retrieval, and a page in the selector.
    static void FillLists() {
        for (const char* list : {"超级列表框1", "超级列表框2"}) {
            const int row = InsertRow(kMainWindow, list);
            SetCellText(kMainWindow, list, row, 0, Text("1"));
            SetCellText(kMainWindow, list, row, 1, Gbk(" 12345678901 "));
        }
        AddItem(kMainWindow, "组合框1", Gbk("第1页"), 1);
        SetCurrentSelection(kMainWindow, "组合框1", 0);
    }
    static bool Empty(const char* list) { return ListRows(list).empty(); }
};

TEST_F(UnreachableSitesTest, ListingsEmptyTheListAndWriteTheirUsualTexts) {
    FillLists();
    ClickControl("按钮1");
    EXPECT_TRUE(Empty("超级列表框1"));
    EXPECT_EQ(Caption(kMainWindow, "标签2"), Gbk("已成功获取到第1页的号码"));

    FillLists();
    ClickControl("单选框2");
    EXPECT_TRUE(Empty("超级列表框1"));
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(PageCount.load(), 0);
    EXPECT_EQ(Caption(kMainWindow, "透明标签6"), Gbk("已切换至国外号码"));

    FillLists();
    ClickControl("单选框1");
    EXPECT_TRUE(Empty("超级列表框1"));
    EXPECT_EQ(Caption(kMainWindow, "透明标签6"), Gbk("已切换至国内号码"));
    EXPECT_EQ(popups_.Shown(), 1);  // still shown

    FillLists();
    ASSERT_TRUE(RunOnWorker(&LoadFirstDomesticPage));
    EXPECT_TRUE(Empty("超级列表框1"));
    EXPECT_EQ(CurrentSelection(kMainWindow, "组合框1"), 0);  // the old page stays
}

TEST_F(UnreachableSitesTest, RetrievalEmptiesTheMessagesAndWritesItsUsualStatus) {
    FillLists();
    DoubleClickRow("超级列表框1", 0);
    EXPECT_TRUE(Empty("超级列表框2"));
    EXPECT_EQ(CurrentNumber.Get(), Text("12345678901"));
    EXPECT_EQ(Caption(kMainWindow, "标签2"),
              Gbk("当前号码最近的短信获取成功-部分平台的短信无法获取"));
    EXPECT_FALSE(Empty("超级列表框1"));
}

}  // namespace
}  // namespace smsdock::e2e
