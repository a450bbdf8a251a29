// A left press on the notice picture 图片框1 opens JumpLink, through the window layer's filter.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/state/globals.h"
#include "app/state/window_names.h"
#include "tests/notice/check_harness.h"
#include "tests/ui/gui_harness.h"

namespace smsdock {
namespace {

TEST(PictureLinkTest, PressOpensOnlyAWebLink) {
    testing::LoadMainWindowWithoutWorker();
    struct Case {
        std::optional<const char*> link;  // nullopt: before the check has stored one
        std::vector<std::string> opened;
    };
    const Case cases[] = {
        {std::nullopt, {}},  // "" is not "无", but the window layer opens nothing for it
        {"\xCE\xDE", {}},    // "无"
        {"http://jump.invalid/page", {"open http://jump.invalid/page"}},
        {"file:///etc/passwd", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link.value_or("(never written)"));
        if (c.link) {
            JumpLink.Set(*c.link);
        } else {
            JumpLink.Release();
        }
        std::vector<std::string> events;
        {
            testing::UrlLog urls(events);
            gui::Press(gui::Find(kMainWindow, "图片框1"), QPoint(30, 40));
        }
        EXPECT_EQ(events, c.opened);
    }
    testing::CloseWindows();
}

}  // namespace
}  // namespace smsdock
