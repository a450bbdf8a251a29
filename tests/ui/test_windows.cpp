#include "tests/ui/test_windows.h"

#include <QTest>

#include "tests/ui/gui_harness.h"
#include "ui/window_layer.h"

namespace smsdock::gui {

std::vector<LoggedEvent>& EventLog() {
    static std::vector<LoggedEvent> log;
    return log;
}

WindowDescription TestWindowDescription() {
    using K = ControlKind;
    WindowDescription window{.name = kTestWindow,
                             .caption = "测试窗口",
                             .left = 10,
                             .top = 10,
                             .clientWidth = 400,
                             .clientHeight = 300};
    window.controls = {
        {.kind = K::Label,
         .name = "标签",
         .left = 0,
         .top = 0,
         .width = 100,
         .height = 20,
         .text = "标签文字",
         .fontHeight = 16},
        {.kind = K::TransparentLabel,
         .name = "透明",
         .left = 100,
         .top = 0,
         .width = 100,
         .height = 20,
         .text = "透明文字",
         .textColour = 0x0000FF},
        {.kind = K::HyperlinkLabel,
         .name = "链接",
         .left = 200,
         .top = 0,
         .width = 100,
         .height = 20,
         .text = "链接",
         .linkTarget = kLinkTarget},
        {.kind = K::Button,
         .name = "按钮",
         .left = 300,
         .top = 0,
         .width = 100,
         .height = 30,
         .text = "按钮"},
        {.kind = K::GroupBox,
         .name = "分组",
         .left = 0,
         .top = 30,
         .width = 200,
         .height = 40,
         .text = "分组"},
        {.kind = K::RadioButton,
         .name = "甲",
         .left = 5,
         .top = 12,
         .width = 80,
         .height = 24,
         .parent = "分组",
         .text = "甲",
         .checked = true},
        {.kind = K::RadioButton,
         .name = "乙",
         .left = 100,
         .top = 12,
         .width = 80,
         .height = 24,
         .parent = "分组",
         .text = "乙"},
        {.kind = K::ComboBox,
         .name = "组合",
         .left = 200,
         .top = 30,
         .width = 100,
         .height = 40,
         .fontHeight = 20},
        {.kind = K::ListView,
         .name = "列表",
         .left = 0,
         .top = 80,
         .width = 300,
         .height = 150,
         .fontHeight = 12,
         .textColour = 0x0080FF,
         .backColour = 0xFFFFFF,
         .columns = {{"序号", 40}, {"内容", 150}, {"时间", 90}}},
        {.kind = K::PictureBox,
         .name = "图片",
         .left = 300,
         .top = 80,
         .width = 100,
         .height = 100},
        {.kind = K::Timer, .name = "时钟", .period = 0},
    };
    return window;
}

std::vector<EventBinding> TestWindowEvents() {
    auto logger = [](std::string control, Event event) {
        return EventBinding{
            control, event, [control, event](const EventArgs& args) {
                EventLog().push_back({control, event, SelectedRow(kTestWindow, "列表"), args});
            }};
    };
    return {
        logger("", Event::Created),
        logger("按钮", Event::Clicked),
        logger("甲", Event::Clicked),
        logger("乙", Event::Clicked),
        logger("列表", Event::Clicked),
        logger("列表", Event::DoubleClicked),
        logger("图片", Event::LeftButtonDown),
        logger("时钟", Event::Tick),
    };
}

WindowDescription TestPopupDescription() {
    return {.name = kTestPopup,
            .caption = "弹窗",
            .left = 30,
            .top = 30,
            .clientWidth = 200,
            .clientHeight = 100,
            .controls = {{.kind = ControlKind::Label,
                          .name = "提示",
                          .left = 0,
                          .top = 0,
                          .width = 200,
                          .height = 30,
                          .text = "提示"}}};
}

std::vector<EventBinding> TestPopupEvents() {
    return {{"", Event::Created, [](const EventArgs&) {
                 EventLog().push_back({"popup", Event::Created, -1, {}});
             }}};
}

void LoadTestWindow() {
    UseWindowLayer();
    RegisterWindow(TestWindowDescription(), TestWindowEvents());
    RegisterWindow(TestPopupDescription(), TestPopupEvents());
    LoadWindow(kTestWindow);
    if (QWidget* window = OpenWindow(kTestWindow)) (void)QTest::qWaitForWindowExposed(window);
    EventLog().clear();
}

}  // namespace smsdock::gui
