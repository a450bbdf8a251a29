#pragma once

// Small windows for the window-layer tests: one control of each kind, and a pop-up. Every
// bound event is written to an EventLog with the state the handler saw.

#include <string>
#include <vector>

#include "ui/window_description.h"

namespace smsdock::gui {

inline constexpr const char* kTestWindow = "TestWindow";
inline constexpr const char* kTestPopup = "TestPopup";

struct LoggedEvent {
    std::string control;
    Event event;
    int selectedRow;  // of 列表 when the handler ran
    EventArgs args;
};

// The events raised since the last Clear, in order.
std::vector<LoggedEvent>& EventLog();

// Controls: 标签 (label), 透明 (transparent label), 链接 (hyperlink to kLinkTarget), 按钮,
// 分组 with the radio buttons 甲 (checked) and 乙, 组合 (combo), 列表 (list, 3 columns),
// 图片 (picture box), 时钟 (timer, stopped).
WindowDescription TestWindowDescription();
// Every event of TestWindow, each logging itself.
std::vector<EventBinding> TestWindowEvents();
// A pop-up with one label, 提示; its created event is logged as control "popup".
WindowDescription TestPopupDescription();
std::vector<EventBinding> TestPopupEvents();

inline constexpr const char* kLinkTarget = "https://smsdock.example/test-link";

// Registers both test windows and loads TestWindow, waiting until it is exposed.
void LoadTestWindow();

}  // namespace smsdock::gui
