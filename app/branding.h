#pragma once

// Everything that names the product, in one place: the window captions, the hyperlink target
// and the homepage the built-in pictures point to (assets/make_pictures.sh draws the same one).

namespace smsdock::branding {

inline constexpr const char* kProjectName = "SmsDock";
inline constexpr const char* kProductName = "短信码头";
inline constexpr const char* kHomepage = "https://smsdock.example/";

// The project's name before the product's, the subtitle, eight spaces, the contact line.
inline constexpr const char* kMainWindowCaption =
    "SmsDock·短信码头 （接收验证码）        项目主页：smsdock.example";
inline constexpr const char* kUpdatePopupCaption = "SmsDock·短信码头";
// Where "点击联系作者" leads.
inline constexpr const char* kContactLink = "https://smsdock.example/contact";

// The built-in pictures, embedded as Qt resources.
inline constexpr const char* kSupportPicture = ":/pictures/support.png";  // 260 x 220
inline constexpr const char* kBannerPicture = ":/pictures/banner.jpg";    // 608 x 200
inline constexpr const char* kContactPicture = ":/pictures/contact.png";  // 430 x 430

}  // namespace smsdock::branding
