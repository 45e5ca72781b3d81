#include "editor/photo_list.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "model/path_name.h"
#include "model/value_text.h"

namespace tagloom {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// -1, 0 or 1 as `a` comes before, with or after `b` in natural order.
int NaturalCompare(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      // Numbers: without their leading zeros, the longer is the larger.
      std::size_t endA = i, endB = j;
      while (endA < a.size() && IsDigit(a[endA])) ++endA;
      while (endB < b.size() && IsDigit(b[endB])) ++endB;
      std::string_view x = a.substr(i, endA - i), y = b.substr(j, endB - j);
      x.remove_prefix(std::min(x.find_first_not_of('0'), x.size()));
      y.remove_prefix(std::min(y.find_first_not_of('0'), y.size()));
      if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
      if (const int c = x.compare(y); c != 0) return c < 0 ? -1 : 1;
      i = endA;
      j = endB;
      continue;
    }
    if (AsciiLower(a[i]) != AsciiLower(b[j])) return AsciiLower(a[i]) < AsciiLower(b[j]) ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
  return 0;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The photographs directly inside a folder, in natural order of their names.
std::vector<std::string> PhotosIn(const std::string& folder) {
  std::vector<std::string> photos;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with('.') || !IsPhotoFile(name) || !entry.is_regular_file(error)) continue;
    photos.push_back(entry.path().string());
  }
  std::sort(photos.begin(), photos.end(), [](const std::string& a, const std::string& b) {
    return NaturalLess(FileNameOf(a), FileNameOf(b));
  });
  return photos;
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
  const int c = NaturalCompare(a, b);
  return c != 0 ? c < 0 : a < b;
}

std::vector<std::string> WithFoldersOpened(const std::vector<std::string>& paths) {
  std::vector<std::string> out;
  out.reserve(paths.size());
  for (const std::string& path : paths) {
    // A name that ends like a photograph's is taken as one without a look
    // (a list of thousands costs no system call each).
    if (IsPhotoFile(path) || !IsFolder(path)) {
      out.push_back(path);
      continue;
    }
    std::vector<std::string> inside = PhotosIn(path);
    out.insert(out.end(), std::make_move_iterator(inside.begin()),
               std::make_move_iterator(inside.end()));
  }
  return out;
}

}  // namespace tagloom
