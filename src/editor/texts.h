// The texts the editor shows to the person, each in one place.
#pragma once

#include <string_view>

namespace tagloom::text {

// The application's title: the caption of a message without a title of its own.
inline constexpr std::string_view kAppTitle = "Tagloom";

inline constexpr std::string_view kNoImageFile = "没有这个图像文件!";
inline constexpr std::string_view kBackupDamaged = "Exif备份数据损坏!";
inline constexpr std::string_view kBackupDamagedTitle = "Error !";

}  // namespace tagloom::text
