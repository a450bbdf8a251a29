// The start-up check of a current version against notice posts on the loopback blog: what is
// listed, shown and armed, and in which order. (The forced update and an unreadable post end
// or start the whole program; startup_process_test.cpp runs those in a child process.)

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>

#include "app/state/globals.h"
#include "app/state/window_names.h"
#include "tests/notice/check_harness.h"
#include "tests/notice/notice_fixture.h"
#include "tests/ui/gui_harness.h"
#include "ui/controls.h"
#include "ui/window_layer.h"

namespace smsdock {
namespace {

using gui::Find;
using gui::Gbk;
using testing::NoticePost;
using testing::NoticeSites;

const QSize kBuiltInNoticePicture(260, 220);

int Rows() {
    return Find<QTableView>(kMainWindow, "超级列表框1")->model()->rowCount();
}

QSize PictureOf(const char* box) {
    return Find<PictureBox>(kMainWindow, box)->Picture().size();
}

bool TimerRunning() {
    return Find<QTimer>(kMainWindow, "时钟1")->isActive();
}

bool PopupOpen() {
    return gui::OpenWindow(kUpdatePopup) != nullptr;
}

// Whether `upper` is stacked above `lower`, its sibling.
bool Above(const char* upper, const char* lower) {
    const QObjectList& stack = Find(kMainWindow, upper)->parentWidget()->children();
    return stack.indexOf(Find(kMainWindow, upper)) > stack.indexOf(Find(kMainWindow, lower));
}

class StartupCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::LoadMainWindowWithoutWorker();
        LatestVersion.Release();
        JumpLink.Release();
        TimerPeriod = 0;
        privacyHint_ = Caption(kMainWindow, "透明标签4");
    }
    void TearDown() override { testing::CloseWindows(); }

    NoticeSites& sites_ = NoticeSites::Get();
    Text privacyHint_;
};

TEST_F(StartupCheckTest, CurrentVersionListsThePageThenWaitsForTheNoticeBoxBeforeTheRest) {
    NoticePost post = sites_.UsualPost();
    post.period = "30000";
    post.marker = true;
    sites_.Serve(post);
    // The picture must be raised by the check, not merely stay where it was built.
    BringToTop(kMainWindow, "透明标签4");
    const int listings = sites_.RequestsFor("/dl/1.html");

    bool boxChecked = false;
    const auto events = testing::RunCheck([&](QMessageBox& box) {
        boxChecked = true;
        // Shown after the first page was listed and the advert picture fetched, and before
        // the timer, the notice picture, the pop-up window and the notice label change.
        EXPECT_EQ(Rows(), NoticeSites::kNumbersPerPage);
        EXPECT_EQ(PictureOf("图片框2"), NoticeSites::kAdvertPictureSize);
        EXPECT_FALSE(Visible(kMainWindow, "图片框2"));
        EXPECT_EQ(Period(kMainWindow, "时钟1"), 0);
        EXPECT_EQ(PictureOf("图片框1"), kBuiltInNoticePicture);
        EXPECT_FALSE(PopupOpen());
        EXPECT_EQ(Caption(kMainWindow, "透明标签4"), privacyHint_);
        // No owner, and the main window keeps working meanwhile.
        EXPECT_EQ(box.parentWidget(), nullptr);
        EXPECT_EQ(box.windowModality(), Qt::NonModal);
        // (At its left edge, which the raised notice label does not cover.)
        gui::Press(Find(kMainWindow, "图片框1"), QPoint(2, 110));
    });
    ASSERT_TRUE(boxChecked);
    EXPECT_EQ(events, (std::vector<std::string>{"box 信息：|今日公告：号码已更新",
                                                "open http://jump.invalid/page"}));

    EXPECT_EQ(sites_.RequestsFor("/dl/1.html"), listings + 1);
    EXPECT_EQ(Rows(), NoticeSites::kNumbersPerPage);
    EXPECT_EQ(Period(kMainWindow, "时钟1"), 30000);
    EXPECT_TRUE(TimerRunning());
    EXPECT_TRUE(Visible(kMainWindow, "图片框1"));
    EXPECT_EQ(PictureOf("图片框1"), NoticeSites::kNoticePictureSize);
    EXPECT_TRUE(Above("图片框1", "透明标签4"));
    EXPECT_EQ(Caption(kMainWindow, "透明标签4"), Gbk("今日公告：号码已更新"));
    EXPECT_EQ(LatestVersion.Get(), Text("1.8"));
    EXPECT_EQ(JumpLink.Get(), Text("http://jump.invalid/page"));
    EXPECT_EQ(TimerPeriod, 30000);
    // The pop-up window outlives the worker, which has ended.
    QTest::qWait(50);
    EXPECT_TRUE(PopupOpen());
}

// The window thread keeps switching platforms and listing while the worker lists, fetches and
// shows its box, from a timer that also fires inside the box's wait.
TEST_F(StartupCheckTest, WindowThreadSwitchesAndListsWhileTheWorkerRuns) {
    sites_.Serve(sites_.UsualPost());
    int clicks = 0;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&clicks] {
        QWidget* control = Find(kMainWindow, ++clicks % 2 ? "单选框2" : "按钮1");
        gui::Click(control, QPoint(8, control->height() / 2));
    });
    clicker.start(5);
    const auto events = testing::RunCheck([](QMessageBox&) { QTest::qWait(50); });
    clicker.stop();

    EXPECT_GT(clicks, 2);
    EXPECT_EQ(events, (std::vector<std::string>{"box 信息：|今日公告：号码已更新"}));
    EXPECT_EQ(LatestVersion.Get(), Text("1.8"));
}

TEST_F(StartupCheckTest, AdvertTimerRaisesAnEmptyPictureWhenTheAdvertFetchFailed) {
    NoticePost post = sites_.UsualPost();
    post.notice = "无";
    post.advert = sites_.MissingUrl();  // 404 with a text body
    post.period = "40";
    sites_.Serve(post);
    EXPECT_TRUE(testing::RunCheck().empty());
    EXPECT_TRUE(Find<PictureBox>(kMainWindow, "图片框2")->Picture().isNull());

    for (int tick = 0; tick < 2; ++tick) {
        // Whatever was raised above it since, each tick puts it back on top.
        SetVisible(kMainWindow, "图片框2", false);
        BringToTop(kMainWindow, "透明标签1");
        BringToTop(kMainWindow, "透明标签2");
        ASSERT_TRUE(gui::WaitUntil([] { return Visible(kMainWindow, "图片框2"); }));
        EXPECT_TRUE(Above("图片框2", "透明标签1"));
        EXPECT_TRUE(Above("图片框2", "透明标签2"));
    }
    EXPECT_TRUE(Find<PictureBox>(kMainWindow, "图片框2")->Picture().isNull());
}

// One post that differs from the usual one, and what must follow from it.
struct Variant {
    const char* name;
    std::function<void(NoticePost&, const NoticeSites&)> change;
    std::vector<std::string> events;  // boxes and opened pages
    std::function<void(const Text& privacyHint)> expect;
    friend void PrintTo(const Variant& v, std::ostream* out) { *out << v.name; }
};

const char* const kUsualBox = "box 信息：|今日公告：号码已更新";

const Variant kVariants[] = {
    {"NoNotice",
     [](NoticePost& p, const NoticeSites&) { p.notice = "无"; },
     {},
     [](const Text& hint) { EXPECT_EQ(Caption(kMainWindow, "透明标签4"), hint); }},
    {"NoticeKeyMissing",  // "" is not "无": an empty box, and the label emptied
     [](NoticePost& p, const NoticeSites&) { p.notice.reset(); },
     {"box 信息：|"},
     [](const Text&) { EXPECT_EQ(Caption(kMainWindow, "透明标签4"), Text()); }},
    {"NoticeCutAtItsHyphen",
     [](NoticePost& p, const NoticeSites&) { p.notice = "第一行-第二行"; },
     {"box 信息：|第一行"},
     [](const Text&) { EXPECT_EQ(Caption(kMainWindow, "透明标签4"), Gbk("第一行")); }},
    {"NoNoticePicture",
     [](NoticePost& p, const NoticeSites&) { p.picture = "无"; },
     {kUsualBox},
     [](const Text&) {
         EXPECT_EQ(PictureOf("图片框1"), kBuiltInNoticePicture);
         EXPECT_FALSE(Above("图片框1", "透明标签4"));
     }},
    {"NoticePictureKeyMissing",  // shown and raised, with no picture
     [](NoticePost& p, const NoticeSites&) { p.picture.reset(); },
     {kUsualBox},
     [](const Text&) {
         EXPECT_TRUE(Visible(kMainWindow, "图片框1"));
         EXPECT_TRUE(Find<PictureBox>(kMainWindow, "图片框1")->Picture().isNull());
         EXPECT_TRUE(Above("图片框1", "透明标签4"));
     }},
    {"NoAdvertPicture",  // "无" is fetched like any URL, fails, and empties the box
     [](NoticePost& p, const NoticeSites&) { p.advert = "无"; },
     {kUsualBox},
     [](const Text&) {
         EXPECT_TRUE(Find<PictureBox>(kMainWindow, "图片框2")->Picture().isNull());
         EXPECT_FALSE(Visible(kMainWindow, "图片框2"));
     }},
    {"MarkerInTheHead",
     [](NoticePost& p, const NoticeSites&) { p.marker = true; },
     {kUsualBox},
     [](const Text&) { EXPECT_TRUE(PopupOpen()); }},
    {"NoMarker",
     [](NoticePost& p, const NoticeSites&) { p.marker = false; },
     {kUsualBox},
     [](const Text&) { EXPECT_FALSE(PopupOpen()); }},
    {"MarkerOfAnotherBlog",
     [](NoticePost& p, const NoticeSites&) {
         p.marker = true;
         p.markerOrigin = "http://other.invalid";
     },
     {kUsualBox},
     [](const Text&) { EXPECT_FALSE(PopupOpen()); }},
    {"Period30000",
     [](NoticePost& p, const NoticeSites&) { p.period = "30000"; },
     {kUsualBox},
     [](const Text&) {
         EXPECT_EQ(Period(kMainWindow, "时钟1"), 30000);
         EXPECT_TRUE(TimerRunning());
     }},
    {"Period0",
     [](NoticePost& p, const NoticeSites&) { p.period = "0"; },
     {kUsualBox},
     [](const Text&) {
         EXPECT_EQ(Period(kMainWindow, "时钟1"), 0);
         EXPECT_FALSE(TimerRunning());
     }},
    {"PeriodNotANumber",
     [](NoticePost& p, const NoticeSites&) { p.period = "abc"; },
     {kUsualBox},
     [](const Text&) {
         EXPECT_EQ(TimerPeriod, 0);
         EXPECT_FALSE(TimerRunning());
     }},
};

class StartupCheckVariant : public StartupCheckTest,
                            public ::testing::WithParamInterface<Variant> {};

TEST_P(StartupCheckVariant, AppliesThePost) {
    BringToTop(kMainWindow, "透明标签4");
    NoticePost post = sites_.UsualPost();
    GetParam().change(post, sites_);
    sites_.Serve(post);
    EXPECT_EQ(testing::RunCheck(), GetParam().events);
    // The first page is listed whatever the post says.
    EXPECT_EQ(Rows(), NoticeSites::kNumbersPerPage);
    GetParam().expect(privacyHint_);
}

INSTANTIATE_TEST_SUITE_P(Posts, StartupCheckVariant, ::testing::ValuesIn(kVariants),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace smsdock
