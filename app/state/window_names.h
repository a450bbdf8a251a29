#pragma once

// The names by which handlers address the program's two windows.

#include <string_view>

namespace smsdock {

inline constexpr std::string_view kMainWindow = "MainWindow";
inline constexpr std::string_view kUpdatePopup = "UpdatePopup";

}  // namespace smsdock
