// The items of the pickers that stand beside some edit fields.
#pragma once

#include <array>
#include <string_view>

namespace tagloom {

// Exposure program: the item index is the EXIF value.
inline constexpr std::array<std::string_view, 9> kExposureProgramItems = {"",
                                                                          "1. 手動模式",
                                                                          "2. 正常模式",
                                                                          "3. 光圈先決",
                                                                          "4. 快門先決",
                                                                          "5. 創意模式",
                                                                          "6. 運動模式",
                                                                          "7. 人像模式",
                                                                          "風景模式"};

// Metering mode: the item index is the EXIF value.
inline constexpr std::array<std::string_view, 7> kMeteringModeItems = {
    "",           "1. 平均測光", "2. 中央重點測光", "3. 點測光", "4. 多點式測光", "5. 矩陣測光",
    "6. 部份測光"};

// ISO: the item text is the value.
inline constexpr std::array<std::string_view, 10> kIsoItems = {"",    "25",  "50",  "66",  "100",
                                                               "160", "200", "400", "800", "1600"};

// Exposure bias: the item text is the value.
inline constexpr std::array<std::string_view, 18> kExposureBiasItems = {
    "",  "+2",   "+5/3", "+3/2", "+4/3", "+1",   "+2/3", "+1/2", "+1/3",
    "0", "-1/3", "-1/2", "-2/3", "-1",   "-4/3", "-3/2", "-5/3", "-2"};

// Flash: the option button's index is the value.
inline constexpr std::array<std::string_view, 2> kFlashItems = {"无", "有"};

}  // namespace tagloom
