// The photographs that a drop or a command line names: files as they are
// given, and for a folder the photographs directly inside it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tagloom {

// Each path in turn: a folder becomes the photographs directly inside it
// (not in its subfolders), sorted by name in natural order, hidden files
// left out; any other path stays as it is.
std::vector<std::string> WithFoldersOpened(const std::vector<std::string>& paths);

// Natural order of names: runs of digits compare as numbers (IMG_2 before
// IMG_10), letters without regard to case; names equal so are ordered by
// their bytes.
bool NaturalLess(std::string_view a, std::string_view b);

}  // namespace tagloom
