#include "app/windows.h"

#include <string>

#include "app/branding.h"
#include "app/state/window_names.h"

namespace smsdock {

namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kMagenta = 0xFF00FF;
constexpr Colour kBlack = 0x000000;
constexpr Colour kOrange = 0x0080FF;  // 255, 128, 0
constexpr Colour kWhite = 0xFFFFFF;

// The usage notes: a line break, then six lines with an empty line between each two.
std::string UsageNotes() {
    const char* lines[] = {
        "在使用前你应该知晓上面的电话号码短信内容所有人都可以查看",
        "请不要用这些电话号码接收重要内容",
        "上面的电话号码只用于注册一些网站，防止被骚扰",
        "他人可以通过此电话号码找回密码，所以注册时应注意个人信息",
        "由此造成经济损失概不负责",
        "在使用时即代表以上条款已同意",
    };
    std::string notes = "\r\n";
    for (const char* line : lines) {
        if (notes.size() > 2) notes += "\r\n\r\n";
        notes += line;
    }
    return notes;
}

constexpr const char* kPrivacyHint =
    "\r\n保护您的隐私\r\n\r\n防止信息泄露\r\n\r\n使用须知必看\r\n\r\n\r\n\r\n↓↓↓↓↓↓";

WindowDescription BuildMainWindow() {
    using K = ControlKind;
    WindowDescription window{
        .name = std::string(kMainWindow),
        .caption = branding::kMainWindowCaption,
        .left = 50,
        .top = 50,
        // Every control whole: the lowest, 透明标签1, ends at 745.
        .clientWidth = 608,
        .clientHeight = 745,
        .controls = {},
    };
    window.controls = {
        {.kind = K::TransparentLabel,
         .name = "透明标签5",
         .left = 10,
         .top = 503,
         .width = 590,
         .height = 24,
         .text = "获取短信时会有一点点卡顿属于正常现象   耐心等待即可",
         .fontHeight = 16,
         .bold = true,
         .textColour = kRed},
        {.kind = K::HyperlinkLabel,
         .name = "超级链接框1",
         .left = 456,
         .top = 13,
         .width = 141,
         .height = 24,
         .text = "点击联系作者",
         .linkTarget = branding::kContactLink,
         .fontHeight = 16,
         .bold = true},
        {.kind = K::GroupBox,
         .name = "分组框1",
         .left = 7,
         .top = 3,
         .width = 200,
         .height = 40,
         .text = "选择号码类型"},
        {.kind = K::RadioButton,
         .name = "单选框2",
         .left = 112,
         .top = 13,
         .width = 80,
         .height = 24,
         .parent = "分组框1",
         .text = "国外平台",
         .checked = false},
        {.kind = K::RadioButton,
         .name = "单选框1",
         .left = 9,
         .top = 13,
         .width = 80,
         .height = 24,
         .parent = "分组框1",
         .text = "国内平台",
         .checked = true},
        {.kind = K::TransparentLabel,
         .name = "透明标签6",
         .left = 7,
         .top = 238,
         .width = 344,
         .height = 24,
         .text = "请勿频繁双击列表获取短信，会被拉黑！",
         .fontHeight = 16,
         .bold = true,
         .textColour = kRed},
        {.kind = K::Timer,
         .name = "时钟2",
         .left = 576,
         .top = 384,
         .width = 26,
         .height = 26,
         .period = 200},
        {.kind = K::Timer,
         .name = "时钟1",
         .left = 296,
         .top = 376,
         .width = 26,
         .height = 26,
         .period = 0},
        {.kind = K::TransparentLabel,
         .name = "透明标签3",
         .left = 528,
         .top = 699,
         .width = 80,
         .height = 28,
         .text = "版本号：1.8",
         .textColour = kBlack},
        {.kind = K::TransparentLabel,
         .name = "透明标签2",
         .left = 8,
         .top = 538,
         .width = 592,
         .height = 26,
         .text = "使用须知",
         .fontHeight = 20,
         .bold = true,
         .textColour = kRed},
        {.kind = K::TransparentLabel,
         .name = "透明标签1",
         .left = 0,
         .top = 553,
         .width = 608,
         .height = 192,
         .text = UsageNotes(),
         .fontHeight = 14,
         .textColour = kMagenta},
        {.kind = K::Label,
         .name = "标签1",
         .left = 208,
         .top = 12,
         .width = 70,
         .height = 24,
         .text = "选择页数：",
         .fontHeight = 16},
        {.kind = K::ComboBox,
         .name = "组合框1",
         .left = 282,
         .top = 11,
         .width = 80,
         .height = 40,
         .fontHeight = 20},
        {.kind = K::Button,
         .name = "按钮1",
         .left = 363,
         .top = 9,
         .width = 80,
         .height = 30,
         .text = "获取号码"},
        {.kind = K::ListView,
         .name = "超级列表框2",
         .left = 0,
         .top = 301,
         .width = 608,
         .height = 203,
         .fontHeight = 12,
         .textColour = kOrange,
         .backColour = kWhite,
         .columns = {{"序号", 36}, {"最近的短信内容", 416}, {"时间", 135}}},
        {.kind = K::Label,
         .name = "标签2",
         .left = 1,
         .top = 268,
         .width = 607,
         .height = 33,
         .text = "",
         .fontHeight = 16},
        {.kind = K::ListView,
         .name = "超级列表框1",
         .left = 0,
         .top = 48,
         .width = 348,
         .height = 189,
         .fontHeight = 12,
         .textColour = kOrange,
         .backColour = kWhite,
         .columns = {{"序号", 36}, {"电话号码", 100}, {"说明", 200}}},
        {.kind = K::PictureBox,
         .name = "图片框1",
         .left = 347,
         .top = 48,
         .width = 260,
         .height = 220,
         .picture = branding::kSupportPicture},
        {.kind = K::PictureBox,
         .name = "图片框2",
         .left = 0,
         .top = 530,
         .width = 608,
         .height = 200,
         .visible = false,
         .picture = branding::kBannerPicture},
        {.kind = K::TransparentLabel,
         .name = "透明标签4",
         .left = 352,
         .top = 48,
         .width = 256,
         .height = 216,
         .text = kPrivacyHint,
         .fontHeight = 19,
         .textColour = kRed},
    };
    return window;
}

WindowDescription BuildUpdatePopup() {
    using K = ControlKind;
    return {
        .name = std::string(kUpdatePopup),
        .caption = branding::kUpdatePopupCaption,
        .left = 50,
        .top = 50,
        .clientWidth = 304,
        .clientHeight = 284,
        .controls =
            {
                {.kind = K::TransparentLabel,
                 .name = "透明标签1",
                 .left = 0,
                 .top = 224,
                 .width = 296,
                 .height = 60,
                 .text = "加微信第一时间获得软件更新",
                 .fontHeight = 20,
                 .bold = true,
                 .textColour = kRed},
                {.kind = K::PictureBox,
                 .name = "图片框1",
                 .left = 0,
                 .top = 0,
                 .width = 304,
                 .height = 240,
                 .picture = branding::kContactPicture},
            },
    };
}

}  // namespace

const WindowDescription& MainWindowDescription() {
    static const WindowDescription description = BuildMainWindow();
    return description;
}

const WindowDescription& UpdatePopupDescription() {
    static const WindowDescription description = BuildUpdatePopup();
    return description;
}

}  // namespace smsdock
