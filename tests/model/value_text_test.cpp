#include "model/value_text.h"

#include <gtest/gtest.h>

namespace tagloom {
namespace {

// Texts read from photographs: UTF-8 as it is, GB2312 of older Chinese cameras
// and software decoded, any other byte shown as the Latin-1 character.
TEST(BytesToText, ShowsUtf8Gb2312OrLatin1) {
  const std::pair<std::string, std::string> cases[] = {
      {"Canon", "Canon"},
      {"\xC2\xA9 \xE5\xBC\xA0", "\xC2\xA9 \xE5\xBC\xA0"},                        // UTF-8
      {"\xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0", "版权所有"},                         // GB2312
      {"(C) \xB0\xE6\xC8\xA8 2021", "(C) 版权 2021"},                           // mixed with ASCII
      {"(C)Hendrik W\xF6rdehoff", "(C)Hendrik W\xC3\xB6rdehoff"},              // Latin-1
      {"\xB0\xE6\xC8", "\xC2\xB0\xC3\xA6\xC3\x88"},                            // half a pair
      {"\xFE\xFE", "\xC3\xBE\xC3\xBE"},                                        // no such character
  };
  for (const auto& [bytes, shown] : cases) EXPECT_EQ(BytesToText(bytes), shown) << bytes;
}

}  // namespace
}  // namespace tagloom
